# Checks the layering of the source folders instead of trusting it. Each folder may
# include (`#include "folder/..."`) only itself and the folders to its right in
#
#   app > entry > maintenance > reports > attendance > frame > output > platform > tally > model
#
# tools/, bench/ and fuzz/ may include any of them, but never tests/. Includes
# without a folder ("TestEnv.h", "x.moc") and system headers are not looked at.
#
#   cmake -DROOT=<source folder> -P tools/check-layering.cmake
#       checks the tree; fails, naming every file and include that breaks the order.
#   cmake -DROOT=<source folder> -DSCRATCH=<empty folder> -DPROVE=ON -P tools/check-layering.cmake
#       first proves the check on a copy of the tree: each include planted in the
#       copy below must be caught (or, for a permitted one, let through), then checks
#       the tree itself. CTest runs it this way (test_layering).

cmake_minimum_required(VERSION 3.22)

set(LAYERS app entry maintenance reports attendance frame output platform tally model)
set(FREE_FOLDERS tools bench fuzz)
set(OUTSIDE_FOLDERS tools bench fuzz tests)

# Whether `folder` may include `target`: empty when it may, else why not.
function(include_refusal folder target out)
  set(${out} "" PARENT_SCOPE)
  list(FIND LAYERS "${folder}" from)
  list(FIND LAYERS "${target}" to)
  if(folder IN_LIST FREE_FOLDERS)
    if(target STREQUAL "tests")
      set(${out} "${folder}/ may not include tests/" PARENT_SCOPE)
    endif()
  elseif(to GREATER_EQUAL 0)
    if(to LESS from)
      set(${out} "${target}/ is above ${folder}/" PARENT_SCOPE)
    endif()
  elseif(target IN_LIST OUTSIDE_FOLDERS)
    set(${out} "${folder}/ may not include ${target}/" PARENT_SCOPE)
  endif()
endfunction()

# Every include of the tree under `root` that breaks the order, as
# "<file>: #include \"<path>\" (<why>)".
function(layering_violations root out)
  set(found)
  foreach(folder ${LAYERS} ${FREE_FOLDERS})
    file(GLOB_RECURSE sources RELATIVE "${root}" "${root}/${folder}/*.h" "${root}/${folder}/*.cpp")
    foreach(source ${sources})
      file(STRINGS "${root}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[A-Za-z0-9_]+/")
      foreach(line ${includes})
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" path "${line}")
        string(REGEX REPLACE "/.*$" "" target "${path}")
        include_refusal("${folder}" "${target}" why)
        if(why)
          list(APPEND found "${source}: #include \"${path}\" (${why})")
        endif()
      endforeach()
    endforeach()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

# Copies the checked folders of the tree into `scratch` and plants one include at a
# time in the copy: each upward include must be the one violation found, each
# permitted one must add none.
function(prove_on_copy root scratch)
  file(REMOVE_RECURSE "${scratch}")
  foreach(folder ${LAYERS} ${FREE_FOLDERS})
    file(GLOB_RECURSE sources RELATIVE "${root}" "${root}/${folder}/*.h" "${root}/${folder}/*.cpp")
    foreach(source ${sources})
      configure_file("${root}/${source}" "${scratch}/${source}" COPYONLY)
    endforeach()
  endforeach()
  layering_violations("${scratch}" clean)
  if(clean)
    message(FATAL_ERROR "the copy of the tree already breaks the layering:\n${clean}")
  endif()

  # file | planted include | caught?
  set(plants
    "model/ClassData.h|tally/Evaluation.h|YES"
    "tally/TestTally.cpp|platform/Ui.h|YES"
    "reports/TestTallyWindow.cpp|entry/ScoreEntryWindow.h|YES"
    "output/OutputFile.cpp|frame/ChildWindow.h|YES"
    "model/SafeFile.cpp|tools/ExportCommand.h|YES"
    "bench/bench_core.cpp|tests/support/TestEnv.h|YES"
    "app/MainWindow.cpp|model/ClassData.h|NO"
    "entry/ScoreEntryWindow.cpp|reports/TestTallyWindow.h|NO"
    "tools/ExportCommand.cpp|app/MainWindow.h|NO")
  foreach(plant ${plants})
    string(REPLACE "|" ";" parts "${plant}")
    list(GET parts 0 file)
    list(GET parts 1 include)
    list(GET parts 2 caught)
    if(NOT EXISTS "${scratch}/${file}")
      message(FATAL_ERROR "the file to plant an include in is missing: ${file}")
    endif()
    file(READ "${scratch}/${file}" original)
    file(APPEND "${scratch}/${file}" "#include \"${include}\"\n")
    layering_violations("${scratch}" found)
    file(WRITE "${scratch}/${file}" "${original}")
    list(LENGTH found count)
    if(caught)
      if(NOT count EQUAL 1 OR NOT found MATCHES "^${file}: #include \"${include}\"")
        message(FATAL_ERROR "an upward include planted in ${file} (${include}) was not caught as the one violation: ${found}")
      endif()
      message(STATUS "caught: ${found}")
    elseif(NOT count EQUAL 0)
      message(FATAL_ERROR "a permitted include planted in ${file} (${include}) was refused: ${found}")
    endif()
  endforeach()
  file(REMOVE_RECURSE "${scratch}")
endfunction()

if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source folder> [-DSCRATCH=<folder> -DPROVE=ON] -P check-layering.cmake")
endif()
if(PROVE)
  if(NOT SCRATCH)
    message(FATAL_ERROR "PROVE needs SCRATCH, a folder for the copy of the tree")
  endif()
  prove_on_copy("${ROOT}" "${SCRATCH}")
endif()
layering_violations("${ROOT}" violations)
if(violations)
  list(LENGTH violations count)
  string(REPLACE ";" "\n  " listed "${violations}")
  message(FATAL_ERROR "${count} include(s) break the layering:\n  ${listed}")
endif()
message(STATUS "layering: every include names its own folder or one below it")

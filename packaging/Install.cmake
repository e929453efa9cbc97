# What `cmake --install` puts where, and the Debian package made from it by CPack.
#
#   bin/kazane, bin/kazane-export
#   share/kazane/*.rpt                       the report layouts
#   share/kazane/phrases.json                the starter bank of phrases (文例) for 所見
#   share/kazane/help/                        the teacher's manual
#   share/applications/jp.mevra.kazane.desktop
#   share/metainfo/jp.mevra.kazane.metainfo.xml
#   share/icons/hicolor/<size>/apps/kazane.png, scalable/apps/kazane.svg
#   share/man/man1/kazane-export.1.gz, share/man/ja/man1/kazane-export.1.gz
#
# The program finds its layouts and help in ../share/kazane from bin/, so both
# folders stay fixed relative to each other (not moved by GNUInstallDirs).

set(KAZANE_APP_ID jp.mevra.kazane)

install(TARGETS kazane kazane-export RUNTIME DESTINATION bin)
install(FILES ${KAZANE_LAYOUTS} DESTINATION share/kazane)
install(FILES ${KAZANE_HELP} DESTINATION share/kazane/help)
install(FILES packaging/${KAZANE_APP_ID}.desktop DESTINATION share/applications)
install(FILES packaging/${KAZANE_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES packaging/icons/kazane.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES packaging/icons/${size}/kazane.png DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# Man pages go compressed, as Debian has them.
set(KAZANE_MAN_PAGES)
foreach(lang en ja)
  set(page ${CMAKE_BINARY_DIR}/man/${lang}/kazane-export.1.gz)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man/${lang}
    COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/man/${lang}/kazane-export.1 > ${page}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/man/${lang}/kazane-export.1
    VERBATIM)
  list(APPEND KAZANE_MAN_PAGES ${page})
endforeach()
add_custom_target(kazane_man_pages ALL DEPENDS ${KAZANE_MAN_PAGES})
install(FILES ${CMAKE_BINARY_DIR}/man/en/kazane-export.1.gz DESTINATION share/man/man1)
install(FILES ${CMAKE_BINARY_DIR}/man/ja/kazane-export.1.gz DESTINATION share/man/ja/man1)

# The Debian package: `cpack -G DEB` in the build folder gives kazane_1.0.0_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kazane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Mevra)
set(CPACK_PACKAGE_CONTACT "Mevra <kazane@mevra.jp>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "grade processing for elementary-school teachers (かざね)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "grade processing for elementary-school teachers (かざね)
 かざね (Kazane) keeps a Japanese elementary-school class's test scores,
 tallies them per test, per pupil and per subject with ranks and grades
 (3/2/1 and A/B/C), keeps the monthly attendance and prints every sheet.
 It includes the command kazane-export, which makes the end-of-term sheets
 as PDF or CSV files without opening a window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time rather than linked: the SQLite driver of the report stores,
# the Japanese fonts of screen and paper (Noto CJK for the characters IPAex lacks),
# the Japanese texts of Qt's own dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-ipaexfont, fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins")
set(CPACK_STRIP_FILES ON)
include(CPack)

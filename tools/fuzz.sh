#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang in ./build-fuzz and runs each for N
# seconds (default 60) on its seed corpus. Without clang it says so and succeeds,
# so that CI can call it on any machine.
#
#   tools/fuzz.sh [seconds] [target...]      e.g. tools/fuzz.sh 30 fuzz_score
#
# Inputs that fail are kept in build-fuzz/findings/<target>/; new coverage goes to
# build-fuzz/corpus/<target>/ (the seeds in fuzz/corpus/ are never changed).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_score fuzz_roster fuzz_attendance fuzz_cp932 fuzz_settings fuzz_layout fuzz_export_args)

clang=""
for candidate in clang++ clang++-14 clang++-15 clang++-16; do
  if command -v "$candidate" >/dev/null 2>&1; then clang="$candidate"; break; fi
done
if [ -z "$clang" ]; then
  echo "fuzz.sh: clang is not installed; no fuzzing done."
  exit 0
fi

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -DKAZANE_FUZZ=ON -DCMAKE_CXX_COMPILER="$clang" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build-fuzz --target "${targets[@]}" -j2

export QT_QPA_PLATFORM=offscreen
# Qt's own allocations at exit are not the readers' leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
failed=0
for target in "${targets[@]}"; do
  # Absolute paths: a target may change its current folder.
  corpus="$PWD/build-fuzz/corpus/$target"
  findings="$PWD/build-fuzz/findings/$target"
  mkdir -p "$corpus" "$findings"
  echo "== $target: ${seconds}s"
  options="$ASAN_OPTIONS"
  # The settings store allocates much for little input: shorter allocation
  # stacks keep the sanitizer's bookkeeping from slowing the run to a crawl.
  [ "$target" = fuzz_settings ] && options="$options:malloc_context_size=4"
  if ! ASAN_OPTIONS="$options" build-fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len=65536 \
      -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" "$PWD/fuzz/corpus/$target" 2>"build-fuzz/$target.log"; then
    echo "$target found a fault: see build-fuzz/$target.log and $findings/"
    tail -n 30 "build-fuzz/$target.log"
    failed=1
  else
    grep -E "stat::number_of_executed_units|cov:" "build-fuzz/$target.log" | tail -n 2
  fi
done
exit $failed

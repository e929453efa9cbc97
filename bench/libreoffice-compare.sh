#!/usr/bin/env bash
# The end-of-term pack against LibreOffice Calc converting the equivalent workbooks:
# the benchmark's full class (kazane-bench --make-class: 9 subjects x 45 pupils and
# a year of attendance) as kazane-export --term-pack makes it (416 PDFs), and the
# same 416 sheets with the same figures, written as CSV by kazane-export, turned
# into 416 PDFs by one headless LibreOffice. Prints the wall and CPU times (median,
# min, max of several runs) and the ratio of the medians.
# Runs only where LibreOffice is installed (it says so and ends with 0 otherwise);
# never part of the test suite.
#     bench/libreoffice-compare.sh [BUILD_FOLDER] [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-3}
office=$(command -v soffice || command -v libreoffice || true)
if [ -z "$office" ]; then
  echo "LibreOffice is not installed: nothing compared."
  exit 0
fi
for tool in "$build/kazane-export" "$build/bench/kazane-bench"; do
  [ -x "$tool" ] || { echo "libreoffice-compare: $tool not found (build first)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

settings=$("$build/bench/kazane-bench" --make-class "$work/class")
export_() { "$build/kazane-export" --settings "$settings" "$@" 2>/dev/null; }

# The workbooks: every sheet of the pack as a CSV, named as the pack names its PDF.
mkdir -p "$work/csv"
jobs=()
for subject in 1 2 3 4 5 6 7 8 9; do
  jobs+=("--subject $subject aryoiki --csv $work/csv/s${subject}_overall.csv")
  for pupil in $(seq 1 45); do
    jobs+=("--subject $subject kojin --pupil $pupil --csv $work/csv/s${subject}_pupil$(printf %02d "$pupil").csv")
  done
done
jobs+=("shuseki --term year --view detail --csv $work/csv/attendance_detail.csv")
jobs+=("shuseki --term year --view record --csv $work/csv/attendance_record.csv")
for job in "${jobs[@]}"; do
  # shellcheck disable=SC2086
  export_ $job || { echo "libreoffice-compare: kazane-export $job failed" >&2; exit 1; }
done
count=$(ls "$work/csv" | wc -l)

# Times one command: prints "wall cpu" in seconds (user + system, children included).
timed() {
  local start end before after
  before=$(awk '{print $14 + $15 + $16 + $17}' /proc/$$/stat)
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1 || { echo "libreoffice-compare: $1 failed" >&2; exit 1; }
  end=$(date +%s.%N)
  after=$(awk '{print $14 + $15 + $16 + $17}' /proc/$$/stat)
  echo "$(echo "$end - $start" | bc) $(echo "($after - $before) / $(getconf CLK_TCK)" | bc -l)"
}
pack() { "$build/kazane-export" --settings "$settings" --term-pack "$work/pack" --term year; }
office_() {
  rm -rf "$work/office"
  "$office" -env:UserInstallation="file://$work/profile" --headless --infilter="CSV:44,34,76,1" \
    --convert-to pdf --outdir "$work/office" "$work"/csv/*.csv
}
# Median, min and max of a column of numbers.
spread() { sort -g | awk '{v[NR] = $1} END {printf "median %.2f s (min %.2f, max %.2f)", v[int((NR + 1) / 2)], v[1], v[NR]}'; }

pack >/dev/null 2>&1; office_ >/dev/null 2>&1  # warm-up (fonts, LibreOffice's profile)
: > "$work/pack.times"; : > "$work/office.times"
for _ in $(seq "$runs"); do
  timed pack >> "$work/pack.times"
  timed office_ >> "$work/office.times"
done
pdfs=$(ls "$work/office"/*.pdf | wc -l)
[ "$pdfs" = "$count" ] || { echo "libreoffice-compare: LibreOffice made $pdfs of $count PDFs" >&2; exit 1; }
echo "$count sheets, $runs runs each"
echo "kazane-export --term-pack  wall $(cut -d' ' -f1 "$work/pack.times" | spread)  CPU $(cut -d' ' -f2 "$work/pack.times" | spread)"
echo "LibreOffice --convert-to   wall $(cut -d' ' -f1 "$work/office.times" | spread)  CPU $(cut -d' ' -f2 "$work/office.times" | spread)"
median() { sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
ratio=$(echo "$(cut -d' ' -f1 "$work/office.times" | median) / $(cut -d' ' -f1 "$work/pack.times" | median)" | bc -l)
printf "LibreOffice wall / kazane-export wall: %.1fx (target at least 5x)\n" "$ratio"

#!/usr/bin/env bash
# Takes the pictures of the teacher's manual again from the real windows (offscreen,
# on the sample class of the tests) into resources/help/, and shrinks them
# (optipng, when installed). Commit the PNGs that changed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
QT_QPA_PLATFORM=offscreen ./build/tests/kazane-help-screenshots resources/help 2>&1 | grep '\.png$' || true
if command -v optipng >/dev/null 2>&1; then
  optipng -quiet -o5 -strip all resources/help/shot-*.png
fi
du -ch resources/help/shot-*.png | tail -1

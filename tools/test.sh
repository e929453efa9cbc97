#!/usr/bin/env bash
# Installs what is needed, builds Kazane and runs every test (offscreen, no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"

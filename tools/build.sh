#!/usr/bin/env bash
# Configures and builds Kazane in ./build (through ccache when it is installed).
# KAZANE_WERROR=ON in the environment makes every compiler warning an error (CI does).
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAZANE_WERROR="${KAZANE_WERROR:-OFF}" "${launcher[@]}" >/dev/null
cmake --build build -j"$(nproc)"

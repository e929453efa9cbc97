#!/usr/bin/env bash
# Installs what is needed, builds Kazane and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh
exec ./build/kazane "$@"

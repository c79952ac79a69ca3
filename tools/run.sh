#!/usr/bin/env bash
# Builds the editor and starts it; one argument, a page, opens that page's folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
build=${VESKARON_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target veskaron
exec "$build/app/veskaron" "$@"

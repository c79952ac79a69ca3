#!/usr/bin/env bash
# Builds everything and runs every test; prints CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
build=${VESKARON_BUILD_DIR:-build}
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B "$build" -G Ninja -DVESKARON_WERROR=$werror ${VESKARON_CMAKE_ARGS:-}
cmake --build "$build" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd "$build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 600

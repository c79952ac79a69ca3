#!/usr/bin/env bash
# Builds everything and runs every test; prints CTest's summary, then checks
# what installs (tools/check_install.sh). Where clang
# is installed, the fuzz targets are then built in their own folder and run
# once over their seed corpora (a few seconds, not a fuzzing campaign).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
build=${VESKARON_BUILD_DIR:-build}
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B "$build" -G Ninja -DVESKARON_WERROR=$werror ${VESKARON_CMAKE_ARGS:-}
cmake --build "$build" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
(cd "$build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 600)
bash tools/check_install.sh "$build"

if command -v clang++ >/dev/null 2>&1; then
  fuzz=${VESKARON_FUZZ_BUILD_DIR:-build-fuzz}
  CC=clang CXX=clang++ cmake -S . -B "$fuzz" -G Ninja -DVESKARON_WERROR=$werror \
    -DVESKARON_GUI=OFF -DVESKARON_FUZZ=ON
  cmake --build "$fuzz" --parallel "$(nproc)" --target fuzz
  (cd "$fuzz" && ctest --output-on-failure -L fuzz --timeout 120)
else
  echo "clang++ not found: the fuzz targets are skipped"
fi

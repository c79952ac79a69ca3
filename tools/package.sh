#!/usr/bin/env bash
# Builds the programs in release mode and makes the Debian package
# build-package/veskaron_<version>_<arch>.deb with CPack.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
out=build-package
cmake -S . -B "$out/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  ${VESKARON_CMAKE_ARGS:-}
cmake --build "$out/build" --parallel "$(nproc)" --target veskaron veskaron-meta packaging_files
(cd "$out/build" && cpack -G DEB -B "$PWD/..")
rm -rf "$out/_CPack_Packages"
ls "$out"/*.deb

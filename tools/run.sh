#!/usr/bin/env bash
# Builds the programs and starts the editor; arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
build=${VESKARON_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --parallel "$(nproc)"
if [ -x "$build/app/veskaron" ]; then
  exec "$build/app/veskaron" "$@"
fi
# Until the window arrives, the command-line tool stands in.
exec "$build/cli/veskaron-meta" "${@:---help}"

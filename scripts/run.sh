#!/usr/bin/env bash
# Builds everything and starts the main program. Until the control panel
# exists this builds the libraries and tools and says what there is to run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"

if [ -x build/bin/KVDesk ]; then
  exec build/bin/KVDesk "$@"
fi
echo
echo "Built into build/bin:"
ls build/bin
echo
echo "The control panel (KVDesk) is not built yet; the libraries above are"
echo "exercised by the tests: bash scripts/test.sh"

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
echo "The control panel (KVDesk) is not built yet. To run the relay engine"
echo "itself in direct mode on 127.0.0.1:8080 (until its input ends):"
echo "  build/bin/kvrelay_bench_host 8080"
echo "then point a client at it, e.g.: curl -x http://127.0.0.1:8080 http://example.org/"
echo "Everything is exercised by the tests: bash scripts/test.sh"

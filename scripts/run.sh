#!/usr/bin/env bash
# Builds everything and starts the control panel, KVDesk (arguments go to
# it: -RegServer, -UnregServer, -Embedding). Its settings and files live
# below KAVELIN_ROOT (default ${XDG_DATA_HOME:-$HOME/.local/share}/kavelin).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"

exec build/bin/KVDesk "$@"

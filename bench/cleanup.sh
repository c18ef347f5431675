#!/usr/bin/env bash
# Cleanup benchmark (not a test): in a fresh per-user root of its own, the
# restore of a typed-address backup of MB megabytes (one registry write for
# the whole file) and the removal of ENTRIES URL cache entries by the cache
# walk (each index rewritten once). Prints one line per figure.
#
#   BUILD=build bench/cleanup.sh      (needs the kvsweep_bench target)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
BUILD=${BUILD:-$here/../build}
BENCH=$BUILD/bin/kvsweep_bench
MB=${MB:-3}
ENTRIES=${ENTRIES:-5000}

[ -x "$BENCH" ] || { echo "no $BENCH (build the kvsweep_bench target)" >&2; exit 2; }
"$BENCH" "$MB" "$ENTRIES"

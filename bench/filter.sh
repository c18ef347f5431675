#!/usr/bin/env bash
# Filtering benchmark (not a test): the engine's HTTP listener in direct mode,
# once with the filters off and once with the default preset, relaying one
# large text/html stream (scripts and pop-ups all through it, which the
# preset filters) and one large binary download (which it passes as it is)
# from the same local origin. Best of RUNS single-stream downloads through
# curl -x, the two hosts taken in turn so that a busy machine slows both
# alike; prints the ratios preset/off with their goals.
#
#   BUILD=build bench/filter.sh      (needs kvrelay_bench_host, curl, python3)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
BUILD=${BUILD:-$here/../build}
HOST=$BUILD/bin/kvrelay_bench_host
SIZE_MB=${SIZE_MB:-512}
RUNS=${RUNS:-3}

[ -x "$HOST" ] || { echo "no $HOST (build the kvrelay_bench_host target)" >&2; exit 2; }

work=$(mktemp -d)
pids=()
cleanup() {
    exec 3>&- 4>&- 2>/dev/null || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

wait_listening() {
    for _ in $(seq 100); do
        if python3 -c "import socket,sys; socket.create_connection(('127.0.0.1', $1), 1)" 2>/dev/null; then return 0; fi
        sleep 0.1
    done
    echo "nothing listens on $1" >&2
    exit 1
}

origin_port=$(free_port)
python3 "$here/relay_load.py" origin "$origin_port" "$SIZE_MB" &
pids+=($!)

start_host() {  # name port [filters]; the host serves while its fifo stays open
    mkdir -p "$work/$1"
    mkfifo "$work/$1.in"
    KAVELIN_ROOT="$work/$1" "$HOST" "$2" ${3:-} <"$work/$1.in" >"$work/$1.out" 2>&1 &
    pids+=($!)
}
off_port=$(free_port)
start_host off "$off_port"
exec 3>"$work/off.in"
preset_port=$(free_port)
start_host preset "$preset_port" filters
exec 4>"$work/preset.in"

wait_listening "$origin_port"
wait_listening "$off_port"
wait_listening "$preset_port"

speed() {  # proxy port, path -> MiB/s of one download
    curl -sS -o /dev/null -w '%{speed_download}' -x "127.0.0.1:$1" "http://127.0.0.1:$origin_port/$2" |
        python3 -c "import sys; print(float(sys.stdin.read()) / 1048576)"
}

best_pair() {  # path -> "best with the preset, best with filters off" (runs taken in turn)
    local preset=0 off=0
    for _ in $(seq "$RUNS"); do
        off=$(python3 -c "print(max($off, $(speed "$off_port" "$1")))")
        preset=$(python3 -c "print(max($preset, $(speed "$preset_port" "$1")))")
    done
    printf '%.0f %.0f' "$preset" "$off"
}

read -r page_preset page_off <<<"$(best_pair page)"
read -r big_preset big_off <<<"$(best_pair big)"

ratio() { python3 -c "print('%.2f' % ($1 / $2))"; }
printf '%-40s %12s %12s %7s %6s\n' "measure (${SIZE_MB} MiB, one stream, MiB/s)" "preset" "filters off" "ratio" "goal"
printf '%-40s %12s %12s %7s %6s\n' "text/html page, filtered" "$page_preset" "$page_off" "$(ratio "$page_preset" "$page_off")" "0.60"
printf '%-40s %12s %12s %7s %6s\n' "binary download" "$big_preset" "$big_off" "$(ratio "$big_preset" "$big_off")" "0.90"

#!/usr/bin/env bash
# Relay benchmark (not a test): the engine's HTTP listener in direct mode
# and tinyproxy side by side on loopback, each relaying to the same local
# origin. Measures one-stream throughput (a large download through
# curl -x, best of RUNS) and new proxied connections per second (CONNS
# requests, CLIENTS at a time), and prints the ratios relay/tinyproxy.
#
#   BUILD=build bench/relay.sh      (needs kvrelay_bench_host, tinyproxy, curl, python3)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
BUILD=${BUILD:-$here/../build}
HOST=$BUILD/bin/kvrelay_bench_host
SIZE_MB=${SIZE_MB:-1024}
RUNS=${RUNS:-3}
CONNS=${CONNS:-3000}
CLIENTS=${CLIENTS:-8}

[ -x "$HOST" ] || { echo "no $HOST (build the kvrelay_bench_host target)" >&2; exit 2; }
command -v tinyproxy >/dev/null || { echo "tinyproxy is missing" >&2; exit 2; }

work=$(mktemp -d)
pids=()
cleanup() {
    exec 3>&- 2>/dev/null || true
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

tiny_port=$(free_port)
cat > "$work/tinyproxy.conf" <<CONF
Port $tiny_port
Listen 127.0.0.1
Timeout 600
MaxClients 1000
Allow 127.0.0.1
LogLevel Critical
DisableViaHeader Yes
CONF
tinyproxy -d -c "$work/tinyproxy.conf" >"$work/tinyproxy.log" 2>&1 &
pids+=($!)

relay_port=$(free_port)
mkdir -p "$work/root"
mkfifo "$work/host-in"
KAVELIN_ROOT="$work/root" "$HOST" "$relay_port" <"$work/host-in" >"$work/host.out" 2>&1 &
pids+=($!)
exec 3>"$work/host-in"

wait_listening "$origin_port"
wait_listening "$tiny_port"
wait_listening "$relay_port"

throughput() {  # proxy port (empty: none) -> best MiB/s
    local best=0 speed proxy=()
    [ -n "$1" ] && proxy=(-x "127.0.0.1:$1")
    for _ in $(seq "$RUNS"); do
        speed=$(curl -sS -o /dev/null -w '%{speed_download}' "${proxy[@]}" "http://127.0.0.1:$origin_port/big")
        best=$(python3 -c "print(max($best, $speed / 1048576))")
    done
    printf '%.0f' "$best"
}

connections() {  # proxy port -> connections per second
    local result
    result=$(python3 "$here/relay_load.py" cps "$1" "$origin_port" "$CONNS" "$CLIENTS")
    set -- $result
    [ "$2" = 0 ] || echo "warning: $2 of $CONNS requests failed" >&2
    echo "$1"
}

direct_mbs=$(throughput "")
relay_mbs=$(throughput "$relay_port")
tiny_mbs=$(throughput "$tiny_port")
relay_cps=$(connections "$relay_port")
tiny_cps=$(connections "$tiny_port")

echo "origin without a proxy: $direct_mbs MiB/s"
printf '%-42s %10s %10s %7s\n' "measure" "relay" "tinyproxy" "ratio"
printf '%-42s %10s %10s %7s\n' "download ${SIZE_MB} MiB, one stream (MiB/s)" "$relay_mbs" "$tiny_mbs" \
    "$(python3 -c "print('%.2f' % ($relay_mbs / $tiny_mbs))")"
printf '%-42s %10s %10s %7s\n' "new connections/s ($CONNS, $CLIENTS at a time)" "$relay_cps" "$tiny_cps" \
    "$(python3 -c "print('%.2f' % ($relay_cps / $tiny_cps))")"

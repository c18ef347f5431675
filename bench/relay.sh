#!/usr/bin/env bash
# Relay benchmark (not a test): the engine in direct mode beside its peers on
# loopback, each relaying to the same local origin. Measures
# - one-stream throughput: a large download through curl -x, best of RUNS,
#   the HTTP listener against tinyproxy;
# - new proxied connections per second, one small response each, at 1, 8,
#   32 and 64 clients at a time (LEVELS): the HTTP listener against
#   tinyproxy and the SOCKS5 listener against microsocks. Each cell is
#   ROUNDS runs of SECONDS_EACH seconds per program, the four programs taking
#   turns, so that a change in the machine's load falls on all of them;
#   the median of each program's runs is shown;
# and prints the ratios relay/peer, with the machine's load before and after
# and the listen-queue overflows the kernel counted over each program's runs.
#
#   BUILD=build ROUNDS=3 SECONDS_EACH=3 bench/relay.sh
#   (needs kvrelay_bench_host, tinyproxy, microsocks, curl, python3; SIZE_MB=0 skips the download)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
BUILD=${BUILD:-$here/../build}
HOST=$BUILD/bin/kvrelay_bench_host
SIZE_MB=${SIZE_MB:-1024}
RUNS=${RUNS:-3}
ROUNDS=${ROUNDS:-3}
SECONDS_EACH=${SECONDS_EACH:-3}
LEVELS=${LEVELS:-"1 8 32 64"}

[ -x "$HOST" ] || { echo "no $HOST (build the kvrelay_bench_host target)" >&2; exit 2; }
for program in tinyproxy microsocks curl python3; do
    command -v "$program" >/dev/null || { echo "$program is missing" >&2; exit 2; }
done

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

# start_host PORT TYPE FD: the engine with one listener, kept alive by the fd
start_host() {
    mkdir -p "$work/root$2"
    mkfifo "$work/host$2-in"
    # The toolbar channel on a free port: other relays may run on this machine.
    KAVELIN_ROOT="$work/root$2" KAVELIN_TOOLBAR_PORT=0 "$HOST" "$1" "$2" <"$work/host$2-in" >"$work/host$2.out" 2>&1 &
    pids+=($!)
    eval "exec $3>\"$work/host$2-in\""
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

micro_port=$(free_port)
microsocks -i 127.0.0.1 -p "$micro_port" -b 127.0.0.1 >"$work/microsocks.log" 2>&1 &
pids+=($!)

http_port=$(free_port)
start_host "$http_port" 2 3
socks_port=$(free_port)
start_host "$socks_port" 5 4

for port in "$origin_port" "$tiny_port" "$micro_port" "$http_port" "$socks_port"; do wait_listening "$port"; done

ratio() { python3 -c "print('%.2f' % ($1 / $2 if $2 else float('nan')))"; }

throughput() {  # proxy port (empty: none) -> best MiB/s
    local best=0 speed proxy=()
    [ -n "$1" ] && proxy=(-x "127.0.0.1:$1")
    for _ in $(seq "$RUNS"); do
        speed=$(curl -sS -o /dev/null -w '%{speed_download}' "${proxy[@]}" "http://127.0.0.1:$origin_port/big")
        best=$(python3 -c "print(max($best, $speed / 1048576))")
    done
    printf '%.0f' "$best"
}

connections() {  # kind proxy-port clients -> "rate overflows" of one run (warns about failures)
    local rate failed overflows
    read -r rate failed overflows < <(python3 "$here/relay_load.py" cps "$1" "$2" "$origin_port" "$SECONDS_EACH" "$3")
    [ "$failed" = 0 ] || echo "warning: $failed $1 requests through port $2 failed ($3 clients)" >&2
    echo "$rate $overflows"
}

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print NR % 2 ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }

# cell CLIENTS -> "median overflows" for each of the four programs, in the
# table's order
cell() {
    local kinds=(http http socks5 socks5)
    local ports=("$http_port" "$tiny_port" "$socks_port" "$micro_port")
    local -A rates=() drops=()
    local i rate drop
    for _ in $(seq "$ROUNDS"); do
        for i in 0 1 2 3; do
            read -r rate drop < <(connections "${kinds[$i]}" "${ports[$i]}" "$1")
            rates[$i]+="$rate "
            drops[$i]=$(( ${drops[$i]:-0} + drop ))
        done
    done
    for i in 0 1 2 3; do
        # shellcheck disable=SC2086
        echo "$(median ${rates[$i]}) ${drops[$i]}"
    done
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores)"

if [ "$SIZE_MB" -gt 0 ]; then
    direct_mbs=$(throughput "")
    relay_mbs=$(throughput "$http_port")
    tiny_mbs=$(throughput "$tiny_port")
    echo "origin without a proxy: $direct_mbs MiB/s"
    printf '%-40s %10s %10s %7s\n' "download ${SIZE_MB} MiB, one stream (MiB/s)" "relay" "tinyproxy" "ratio"
    printf '%-40s %10s %10s %7s\n' "" "$relay_mbs" "$tiny_mbs" "$(ratio "$relay_mbs" "$tiny_mbs")"
    echo
fi

echo "new connections/s, one small response each: median of $ROUNDS runs of ${SECONDS_EACH}s, taking turns (listen-queue overflows in brackets)"
printf '%8s | %14s %14s %6s | %14s %14s %6s\n' clients "relay HTTP" tinyproxy ratio "relay SOCKS5" microsocks ratio
for clients in $LEVELS; do
    {
        read -r relay_http relay_http_drop
        read -r tiny tiny_drop
        read -r relay_socks relay_socks_drop
        read -r micro micro_drop
    } < <(cell "$clients")
    printf '%8s | %14s %14s %6s | %14s %14s %6s\n' "$clients" \
        "$relay_http [$relay_http_drop]" "$tiny [$tiny_drop]" "$(ratio "$relay_http" "$tiny")" \
        "$relay_socks [$relay_socks_drop]" "$micro [$micro_drop]" "$(ratio "$relay_socks" "$micro")"
done

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

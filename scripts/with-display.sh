#!/usr/bin/env bash
# with-display.sh [--bus] COMMAND...
# Runs COMMAND on a virtual display of its own (and, with --bus, on a private
# session bus of its own), then ends both. Listing test cases needs neither.
set -euo pipefail

bus=0
if [ "${1:-}" = "--bus" ]; then bus=1; shift; fi
for arg in "$@"; do
  if [ "$arg" = "--gtest_list_tests" ]; then exec "$@"; fi
done

work=$(mktemp -d)
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT

for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  if ! kill -0 "$xvfb" 2>/dev/null; then cat "$work/xvfb.log" >&2; exit 1; fi
  sleep 0.05
done
if [ ! -s "$work/display" ]; then echo "with-display: no display after 5 s" >&2; exit 1; fi
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY

status=0
if [ "$bus" -eq 1 ]; then
  dbus-run-session -- "$@" || status=$?
else
  "$@" || status=$?
fi
exit "$status"

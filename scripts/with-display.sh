#!/usr/bin/env bash
# with-display.sh COMMAND...
# Runs COMMAND on a virtual display and a private session bus of its own,
# then ends both. Every command gets the bus, so that the toolkit never
# autolaunches a desktop bus (and the accessibility bus with it) that
# would outlive it. Listing test cases needs neither.
set -euo pipefail

for arg in "$@"; do
  if [ "$arg" = "--gtest_list_tests" ]; then exec "$@"; fi
done

work=$(mktemp -d)
# Xvfb keeps none of the caller's output open: ctest waits for its pipe.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" >"$work/xvfb.log" 2>&1 </dev/null &
xvfb=$!
end_display() {
  kill "$xvfb" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$xvfb" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap end_display EXIT

for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  if ! kill -0 "$xvfb" 2>/dev/null; then cat "$work/xvfb.log" >&2; exit 1; fi
  sleep 0.05
done
if [ ! -s "$work/display" ]; then echo "with-display: no display after 5 s" >&2; exit 1; fi
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY
# The toolkit's accessibility bridge is not under test and keeps a bus of
# its own alive.
export NO_AT_BRIDGE=1

status=0
dbus-run-session -- "$@" || status=$?
exit "$status"

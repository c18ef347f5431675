#!/usr/bin/env bash
# display-leaves-nothing.sh GUI_TEST_PROGRAM CASE
# Runs one GUI case through with-display.sh and fails when it does not end
# within a minute, or when any process it started (the display, the bus, a
# daemon the toolkit launched) is still there a second after it ended: such
# a process can hold the test runner's output open.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
marker="kv-display-check-$$-$RANDOM"

started() {  # the processes that carry this run's marker
  grep -lsz "^KV_DISPLAY_CHECK=$marker\$" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 || true
}

KV_DISPLAY_CHECK=$marker timeout 60 "$here/../with-display.sh" "$1" --gtest_filter="$2" >/dev/null

for _ in $(seq 10); do
  left=$(started)
  [ -z "$left" ] && exit 0
  sleep 0.1
done
echo "still running after the case ended:" >&2
for pid in $left; do echo "  $pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)" >&2; done
kill $left 2>/dev/null || true
exit 1

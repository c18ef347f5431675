#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: first the normal
# build, then the AddressSanitizer + UndefinedBehaviorSanitizer build, then
# the threaded suites under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc)
# run_suite DIR [CMAKE ARGS]; $targets limits the build, $only the tests.
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs" ${targets:+--target $targets}
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 300 ${only:+-R "$only"}
}

run_suite build
LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-asan -DKV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug

# Messaging, sockets, the pool's and the logs' threads: the suites whose point is
# running on several threads at once.
targets="platform_msg_tests relay_socket_tests relay_pool_tests relay_logs_tests" \
only='^(MessagesTest|WaitTest|UiThreadTest|MessageBoxTest|SocketsTest|NetSocketsTest|NetSocketNotifyTest|NetAsyncSocketTest|PoolStressTest|PickOrderTest|WorkerThread[A-Za-z]*|FailedProxyTest|LogConcurrencyTest)\.' \
TSAN_OPTIONS=halt_on_error=1 \
  run_suite build-tsan -DKV_TSAN=ON -DCMAKE_BUILD_TYPE=Debug

#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the widget tests headless, the
# window tests (label "xwindow") on a virtual X server with a window manager, the
# database tests on SQLite and on a throw-away PostgreSQL server on 127.0.0.1; then the
# whole suite once more built with AddressSanitizer and UndefinedBehaviorSanitizer,
# where any report fails the test. The servers this script starts it also stops.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh
bash scripts/build.sh
bash scripts/build.sh sanitize

x_server=""
window_manager=""
x_dir=$(mktemp -d)
stop_servers() {
  [ -n "$window_manager" ] && kill "$window_manager" 2>/dev/null || true
  [ -n "$x_server" ] && kill "$x_server" 2>/dev/null || true
  rm -rf "$x_dir"
  bash "$root/scripts/test-postgres.sh" stop
  if [ -n "${MORVEL_TEST_PG_RESTART_PORT:-}" ]; then
    MORVEL_TEST_PG_PORT=$MORVEL_TEST_PG_RESTART_PORT bash "$root/scripts/test-postgres.sh" stop
  fi
}
trap stop_servers EXIT

MORVEL_TEST_PG_PORT=$(bash "$root/scripts/test-postgres.sh" start)
export MORVEL_TEST_PG_PORT
# A second server that one test stops and starts again; it starts it itself.
export MORVEL_TEST_PG_RESTART_PORT=${MORVEL_TEST_PG_RESTART_PORT:-$((MORVEL_TEST_PG_PORT + 10))}

# A virtual screen of 1024 x 768 on the first free display number, and a window manager
# on it, so that focus and activation are those of a desktop.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$x_dir/display" >"$x_dir/xvfb.log" 2>&1 &
x_server=$!
for _ in $(seq 100); do [ -s "$x_dir/display" ] && break; sleep 0.1; done
[ -s "$x_dir/display" ] || { echo "Xvfb did not start:"; cat "$x_dir/xvfb.log"; exit 1; }
display=":$(head -1 "$x_dir/display")"
DISPLAY=$display openbox >"$x_dir/openbox.log" 2>&1 &
window_manager=$!
for _ in $(seq 100); do
  DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.1
done

# Every report of the sanitizers counts; leaks inside the system's font and display
# libraries are theirs, not ours.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/leaks.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

status=0
for dir in build build-asan; do
  echo "== tests in $dir"
  (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" -LE xwindow) || status=1
  (cd "$dir" && DISPLAY=$display ctest --output-on-failure -L xwindow) || status=1
done
exit $status

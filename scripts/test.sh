#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (SQLite, and PostgreSQL on a
# throw-away server on 127.0.0.1 that this script starts and stops).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh
bash scripts/build.sh

MORVEL_TEST_PG_PORT=$(bash "$root/scripts/test-postgres.sh" start)
export MORVEL_TEST_PG_PORT
# A second server that one test stops and starts again; it starts it itself.
export MORVEL_TEST_PG_RESTART_PORT=${MORVEL_TEST_PG_RESTART_PORT:-$((MORVEL_TEST_PG_PORT + 10))}
trap 'bash "$root/scripts/test-postgres.sh" stop; MORVEL_TEST_PG_PORT=$MORVEL_TEST_PG_RESTART_PORT bash "$root/scripts/test-postgres.sh" stop' EXIT

cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"

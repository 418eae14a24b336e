#!/usr/bin/env bash
# Starts (start) or stops (stop) a throw-away PostgreSQL server on 127.0.0.1 for the
# tests, with one empty database per test suite. Prints the port on start. "restart"
# stops the running server and starts it again, its databases kept.
# The tests connect as the role morvel_clerk, which has the rights of a clerk: it may
# connect, and create tables in a schema of its own (first on its search path), but
# create nothing in the database or its public schema, not even temporary tables.
set -euo pipefail

port=${MORVEL_TEST_PG_PORT:-55432}
dir=/tmp/morvel-test-pg-$port
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
databases=(morvel_engine_test morvel_summary_test morvel_codeprep_test morvel_daily_test morvel_copies_test)

# The server's tools run from / : the caller's folder may be one the postgres user
# cannot read.
as_postgres() {
  if [ "$(id -u)" = 0 ]; then (cd / && runuser -u postgres -- "$@"); else "$@"; fi
}

start_server() {
  as_postgres "$bin/pg_ctl" -D "$dir" -l "$dir/server.log" -w \
    -o "-p $port -k /tmp -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null
}

case "${1:-start}" in
  start)
    if [ -f "$dir/postmaster.pid" ]; then as_postgres "$bin/pg_ctl" -D "$dir" -m fast stop >/dev/null 2>&1 || true; fi
    rm -rf "$dir"
    mkdir -p "$dir"
    [ "$(id -u)" = 0 ] && chown postgres:postgres "$dir"
    as_postgres "$bin/initdb" -D "$dir" -A trust -U postgres -E UTF8 --locale=C.UTF-8 >/dev/null
    start_server
    psql=("$bin/psql" -h 127.0.0.1 -p "$port" -U postgres -v ON_ERROR_STOP=1 -q)
    as_postgres "${psql[@]}" -d postgres -c "CREATE ROLE morvel_clerk LOGIN"
    for db in "${databases[@]}"; do
      as_postgres "$bin/createdb" -h 127.0.0.1 -p "$port" -U postgres "$db"
      as_postgres "${psql[@]}" -d "$db" -c "REVOKE ALL ON DATABASE $db FROM PUBLIC" \
        -c "REVOKE ALL ON SCHEMA public FROM PUBLIC" \
        -c "GRANT CONNECT ON DATABASE $db TO morvel_clerk" \
        -c "CREATE SCHEMA morvel_clerk AUTHORIZATION morvel_clerk"
    done
    echo "$port"
    ;;
  restart)
    as_postgres "$bin/pg_ctl" -D "$dir" -m fast -w stop >/dev/null
    start_server
    ;;
  stop)
    [ -d "$dir" ] && as_postgres "$bin/pg_ctl" -D "$dir" -m fast stop >/dev/null 2>&1 || true
    rm -rf "$dir"
    ;;
esac

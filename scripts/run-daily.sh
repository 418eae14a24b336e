#!/usr/bin/env bash
# Installs what is needed, builds, creates the embedded demo database when it is
# missing, and starts the daily account summary program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh

db_path="${XDG_DATA_HOME:-$HOME/.local/share}/morvel/account.db"
if [ ! -f "$db_path" ]; then
  echo "Creating the demo database at $db_path"
  build/db/morvel_demo_db "$db_path"
fi

if [ ! -x build/daily/DAY_MORVEL ]; then
  echo "The demo database is ready at $db_path; the daily program is not built yet."
  exit 0
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat <<'TEXT'
No display is set (DISPLAY and WAYLAND_DISPLAY are empty), so the program now runs on an
invisible virtual screen (xvfb-run): nobody can see or use its window there.
To use the program, run this script again from a desktop session.
Press Ctrl+C to stop it.
TEXT
  exec xvfb-run -a build/daily/DAY_MORVEL
fi
exec build/daily/DAY_MORVEL

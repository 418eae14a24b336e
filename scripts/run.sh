#!/usr/bin/env bash
# Installs what is needed, builds, creates the embedded demo database when it is
# missing, and starts one of the two programs: "daily" (the default) or "monthly".
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-daily}" in
  daily) program=build/daily/DAY_MORVEL ;;
  monthly) program=build/monthly/MONTH_MORVEL ;;
  *)
    echo "usage: $0 [daily|monthly]" >&2
    exit 2
    ;;
esac

bash scripts/install-deps.sh
# Only the two programs and the tool that writes the demo database: the tests and the
# benchmark are built by scripts/test.sh.
bash scripts/build.sh DAY_MORVEL MONTH_MORVEL morvel_demo_db

db_path="${XDG_DATA_HOME:-$HOME/.local/share}/morvel/account.db"
# The tool writes the database under a temporary name and moves it into place when it is
# complete, so an interrupted first start leaves none behind and the next start makes it.
if [ ! -f "$db_path" ]; then
  echo "Creating the demo database at $db_path"
  build/db/morvel_demo_db "$db_path"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat <<'TEXT'
No display is set (DISPLAY and WAYLAND_DISPLAY are empty), so the program now runs on an
invisible virtual screen (xvfb-run): nobody can see or use its window there.
To use the program, run this script again from a desktop session.
Press Ctrl+C to stop it.
TEXT
  exec xvfb-run -a "$program"
fi
exec "$program"

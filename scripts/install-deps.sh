#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need (only those missing).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libsqlite3-dev sqlite3
  libpq-dev postgresql
  libgtest-dev libbenchmark-dev
  fonts-baekmuk fonts-nanum fontconfig
  xvfb xauth poppler-utils
  openbox xdotool x11-utils
  locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests read and write figures under a locale whose decimal separator is a comma.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the locale de_DE.UTF-8"
  localedef -i de_DE -c -f UTF-8 de_DE.UTF-8
fi

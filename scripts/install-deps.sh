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

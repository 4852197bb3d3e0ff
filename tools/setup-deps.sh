#!/usr/bin/env bash
# Installs what building, running and testing Vantrel needs on Debian 12.
# Skips apt entirely when everything is already there, so repeated runs stay quick.
set -euo pipefail
pkgs=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
      libsqlite3-dev sqlite3 libgtest-dev libgmock-dev libbenchmark-dev
      fonts-arphic-uming xvfb xauth imagemagick clang-format xdg-utils)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

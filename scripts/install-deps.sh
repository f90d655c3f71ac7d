#!/usr/bin/env bash
# Installs what building, running, testing and packaging the programs need on Debian 12
# (dpkg-dev and file let CPack compute the package's dependencies; desktop-file-utils checks
# the desktop entries; libpng-dev writes the PNG pictures, libcli11-dev reads qivtool's command
# line; clang-tidy checks the sources). Given package names, installs those instead
# (scripts/fuzz.sh does).
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev libgmock-dev
  dpkg-dev file desktop-file-utils libpng-dev libcli11-dev clang-tidy gmt-gshhg-low libnetcdf-dev
  libgdal-dev)
if [ "$#" -gt 0 ]; then packages=("$@"); fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

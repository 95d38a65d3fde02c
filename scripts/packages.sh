#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, when any is missing;
# with arguments, those packages instead.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-multimedia-dev libgl-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2
  desktop-file-utils appstream dpkg-dev file
)
[ $# -eq 0 ] || packages=("$@")

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq "${missing[@]}"

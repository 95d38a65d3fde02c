#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, when any is missing;
# with arguments, those packages instead. `scripts/packages.sh --list build|run|test|bench`
# prints one group, as the README names them.
set -euo pipefail

# Building the game, the editor and the pack tool (cmake -DBUILD_TESTING=OFF).
build_packages=(g++ cmake make pkg-config qt6-base-dev qt6-multimedia-dev libgl-dev libxcb1-dev
  libfontconfig-dev)
# Running the game as it is drawn: its panels' texts are measured in Liberation Sans.
run_packages=(fonts-liberation2)
# The tests and benchmarks, the checks of the installed files and of the Debian package,
# and the build in a minimal Debian root (scripts/minimal-build.sh).
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  desktop-file-utils appstream dpkg-dev file lintian mandoc
  debootstrap
)
# The measurement of peak memory on a virtual screen (bench/peak_memory.sh), which installs
# them itself; no test needs them.
bench_packages=(xvfb xdotool)

if [ "${1:-}" = --list ]; then
  case "${2:-}" in
    build) echo "${build_packages[*]}" ;;
    run) echo "${run_packages[*]}" ;;
    test) echo "${test_packages[*]}" ;;
    bench) echo "${bench_packages[*]}" ;;
    *) echo "usage: scripts/packages.sh --list build|run|test|bench" >&2; exit 1 ;;
  esac
  exit 0
fi

packages=("${build_packages[@]}" "${run_packages[@]}" "${test_packages[@]}")
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

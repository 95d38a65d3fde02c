#!/usr/bin/env bash
# Builds and installs the game, the editor and the pack tool as a distribution would: in a
# fresh minimal Debian 12 root that holds only the packages the README names for building,
# with -DBUILD_TESTING=OFF, so that no test tool is needed, into other folders than the
# default ones. There the installed commands answer --help and --version with no display,
# and the command quarbel98 starts the game from the installed files. Needs root and
# Debian's mirror; CI runs it. Where the root cannot be made (not root, no mirror, no mounts
# allowed) it says so and exits with 77, which CI takes as skipped, not failed.
#
#   scripts/minimal-build.sh [MIRROR]
set -euo pipefail

cannot_run() {
  echo "minimal-build: skipped: $1" >&2
  exit 77
}

mirror=${1:-http://deb.debian.org/debian}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
[ "$(id -u)" -eq 0 ] || cannot_run "needs root to make the Debian root (debootstrap, chroot)"
"$source_dir/scripts/packages.sh" debootstrap

root=$(mktemp -d /var/tmp/quarbel-minimal.XXXXXX)
cleanup() {
  umount "$root/dev/pts" "$root/proc" 2>/dev/null || true
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

echo "== A minimal Debian 12 root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.log" 2>&1 ||
  { tail -20 "$root.log"; rm -f "$root.log"; cannot_run "debootstrap could not make the root"; }
rm -f "$root.log"
mount -t proc proc "$root/proc" || cannot_run "mounting /proc in the root is not allowed here"
mount -t devpts devpts "$root/dev/pts" || cannot_run "mounting /dev/pts in the root is not allowed here"

read -r -a build_packages <<<"$("$source_dir/scripts/packages.sh" --list build) $(
  "$source_dir/scripts/packages.sh" --list run)"
echo "== The build packages: ${build_packages[*]}"
in_root apt-get update -qq || cannot_run "the mirror's package lists could not be read"
in_root env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${build_packages[@]}" >/dev/null
read -r -a test_packages <<<"$("$source_dir/scripts/packages.sh" --list test)"
for package in "${test_packages[@]}"; do
  if in_root dpkg -s "$package" >/dev/null 2>&1; then
    echo "minimal-build: the root holds the test package $package" >&2
    exit 1
  fi
done

echo "== Configure, build and install with -DBUILD_TESTING=OFF"
programs=bin
files=share/quarbel98
mkdir "$root/src"
git -C "$source_dir" ls-files -z --cached --others --exclude-standard | tar -C "$source_dir" --null -T - -cf - | tar -C "$root/src" -xf -
in_root cmake -S /src -B /src/build -DBUILD_TESTING=OFF -DQUARBEL_WERROR=ON \
  -DQUARBEL_INSTALL_PROGRAMS_DIR=$programs -DQUARBEL_INSTALL_FILES_DIR=$files \
  -DQUARBEL_INSTALL_GAME_DIR=lib/quarbel98
in_root cmake --build /src/build -j"$(nproc)"
if [ -e "$root/src/build/tests" ] || [ -e "$root/src/build/bench" ]; then
  echo "minimal-build: tests or benchmarks were built" >&2
  exit 1
fi
in_root cmake --install /src/build --prefix /opt/quarbel98

echo "== Without dpkg-dev, cpack refuses to build a package that would name no dependency"
if in_root cpack --config /src/build/CPackConfig.cmake -G DEB -B /tmp/package >"$root/cpack.log" 2>&1 ||
  ! grep -q "install dpkg-dev" "$root/cpack.log" || ls "$root"/tmp/package/*.deb >/dev/null 2>&1; then
  cat "$root/cpack.log" >&2
  echo "minimal-build: cpack did not stop for the missing dpkg-dev" >&2
  exit 1
fi

echo "== The installed commands without a display"
for command in quarbel98 quarbel-editor quarbel-pack; do
  for option in --help --version; do
    output=$(in_root "/opt/quarbel98/$programs/$command" "$option")
    first_line=${output%%$'\n'*}
    echo "$command $option: $first_line"
    case "$option:$first_line" in
      --help:Usage:* | --help:usage:* | "--version:$command (QUARBEL 98) "*) ;;
      *) echo "minimal-build: unexpected answer of $command $option" >&2; exit 1 ;;
    esac
  done
done

echo "== The installed command plays from the installed files, started elsewhere"
mkdir -p "$root/home/player"
status=0
(timeout 10 chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin \
  HOME=/home/player QT_QPA_PLATFORM=offscreen "/opt/quarbel98/$programs/quarbel98") || status=$?
player=$root/home/player/.local/share/quarbel98
# Still running when stopped: the game had started.
if [ "$status" -ne 124 ] || [ ! -f "$player/lessons.dat" ] ||
  [ "$(readlink "$player/playal8n.bmp")" != "/opt/quarbel98/$files/playal8n.bmp" ]; then
  echo "minimal-build: the installed game did not start from its files (status $status)" >&2
  ls -l "$player" >&2 || true
  exit 1
fi
echo "minimal-build: built and installed without test tools; the game started"

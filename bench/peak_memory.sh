#!/usr/bin/env bash
# Peak memory (VmHWM) of the game against a bare Qt window and a bare window with a Qt sound
# effect, in one run on one virtual screen. The bare windows are measured once they are shown,
# the game once level 1 of the first pack is on the board (a key on the title screen, the
# first pack in the chooser).
#
#   bench/peak_memory.sh [BUILD_FOLDER [WIDTHxHEIGHT]]     (defaults: build 1920x1080)
#
# Needs Xvfb and xdotool, which it installs when they are missing (scripts/packages.sh).
set -euo pipefail
build=$(realpath "${1:-build}")
size=${2:-1920x1080}
packages=$(dirname "$0")/../scripts/packages.sh
"$packages" $("$packages" --list bench)

display=
for n in $(seq 90 140); do
  [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] || { display=:$n; break; }
done
[ -n "$display" ] || { echo "no free X display"; exit 1; }
Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
program=
trap 'kill $program $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X${display#:} ] && break; sleep 0.1; done

waitFor() {  # a shown window whose title matches
  for _ in $(seq 300); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "no window \"$1\" appeared" >&2
  exit 1
}

peakKb() { awk '/^VmHWM/ { print $2 }' /proc/$1/status; }

# Starts a program of the game's folder, runs the steps that bring it to the measured state,
# prints its peak memory in kB and ends it.
measure() {
  local steps=$1
  shift
  (cd "$build/game" && exec "$@") >/dev/null 2>&1 &
  program=$!
  $steps
  sleep 1
  peakKb $program
  kill $program
  wait $program 2>/dev/null || true
  program=
}

bareShown() { waitFor "^bare window$"; }
levelOnBoard() {
  waitFor "^QUARBEL 98$"
  xdotool key a
  waitFor "^Levelpack\?$"
  xdotool key Down Up Tab space
  waitFor "^QUARBEL 98 - "
}

bare=$(measure bareShown ../bench/bare_window)
sound=$(measure bareShown ../bench/bare_window_sound)
game=$(measure levelOnBoard ./quarbel98)
awk -v size="$size" -v bare="$bare" -v sound="$sound" -v game="$game" 'BEGIN {
  printf "peak memory (VmHWM) at %s\n", size
  printf "  bare Qt window               %6.1f MB\n", bare / 1024
  printf "  bare window, sound effect    %6.1f MB  %.2fx the bare window\n", sound / 1024, sound / bare
  printf "  game, level 1 on the board   %6.1f MB  %.2fx the bare window\n", game / 1024, game / bare
}'

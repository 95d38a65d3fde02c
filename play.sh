#!/usr/bin/env bash
# Builds QUARBEL 98 and starts it in its working folder with the shipped packs, pictures and sounds.
set -euo pipefail
cd "$(dirname "$0")"
scripts/packages.sh
cmake -S . -B build
cmake --build build -j"$(nproc)"
cd build/game
if [ ! -x ./quarbel98 ]; then
  echo "The game's window is not built yet: only the game core and its tests exist so far."
  exit 1
fi
exec ./quarbel98

#!/usr/bin/env bash
# Builds QUARBEL 98 with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/packages.sh
cmake -S . -B build -DQUARBEL_WERROR=ON
cmake --build build -j"$(nproc)"
ln -sfn build/compile_commands.json compile_commands.json
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"

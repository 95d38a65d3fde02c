#!/bin/sh
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (leaks included)
# into build-asan and runs the whole test suite; the first report fails the run.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/build-asan"
"$root/scripts/packages.sh"

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Debug \
  -DQUARBEL_WERROR=ON -DQUARBEL_SANITIZE=ON
cmake --build "$build" -j"$(nproc)"

ASAN_OPTIONS=detect_leaks=1
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS UBSAN_OPTIONS
ctest --test-dir "$build" -j2 --output-on-failure

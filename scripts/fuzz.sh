#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for SECONDS (default
# 60), starting from its seed corpus in fuzz/corpus/. New inputs go to a scratch folder, so
# the committed corpus never grows; a crash leaves its input in build-fuzz/findings/ and
# fails the script.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(pack_fuzz movie_fuzz leveltext_fuzz engine_fuzz)

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz

"$root/scripts/packages.sh" clang libclang-rt-14-dev cmake make

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DQUARBEL_FUZZ=ON -DQUARBEL_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice -n 10 cmake --build "$build" -j2 --target "${targets[@]}"

# The readers take file names; files in memory keep each run fast. A crash leaves its
# scratch file behind, so the folder goes at the end.
memory=/tmp
[ -w /dev/shm ] && memory=/dev/shm
TMPDIR=$(mktemp -d "$memory/quarbel-fuzz.XXXXXX")
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT

findings=$build/findings
mkdir -p "$findings"
failed=()
for target in "${targets[@]}"; do
  scratch=$build/corpus/$target
  mkdir -p "$scratch"
  echo "== $target for ${seconds}s"
  # The scratch folder comes first: libFuzzer writes new inputs to the first folder only.
  if ! nice -n 10 "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="$findings/$target-" -print_final_stats=1 \
      "$scratch" "$root/fuzz/corpus/$target" 2>"$build/$target.log"; then
    tail -n 40 "$build/$target.log"
    failed+=("$target")
  else
    grep -E '^stat::(number_of_executed_units|new_units_added)' "$build/$target.log" || true
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Failed: ${failed[*]} (inputs in $findings)"
  exit 1
fi
echo "No findings."

#!/usr/bin/env bash
# Builds the libFuzzer targets of the file readers with clang and runs each for
# a few seconds, seeded with tests/fixtures. Skipped where clang is missing.
set -euo pipefail
src=${OLLAN_SOURCE_DIR:?}
if ! command -v clang++ >/dev/null; then
  echo "clang++ not found: fuzz run skipped"
  exit 0
fi
build=$(dirname "$1")/fuzz
seconds=${OLLAN_FUZZ_SECONDS:-5}
cmake -S "$src/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$build" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in segment project png jpeg ora; do
  mkdir -p "$work/$target"
  case $target in
    segment) seeds=("$src"/tests/fixtures/*.bin "$src"/tests/fixtures/*.olp) ;;
    project) seeds=("$src"/tests/fixtures/*.olp) ;;
    png) seeds=("$src"/tests/fixtures/*.png) ;;
    jpeg) seeds=("$src"/tests/fixtures/*.jpg) ;;
    ora) seeds=("$src"/tests/fixtures/*.ora) ;;
  esac
  cp "${seeds[@]}" "$work/$target/"
  # A crash leaves its input in $work as crash-*; copy it to tests/fixtures as a regression case.
  "$build/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=16384 \
    -artifact_prefix="$work/" "$work/$target" 2>"$work/$target.log" || {
    tail -30 "$work/$target.log"
    ls "$work"/crash-* "$work"/oom-* "$work"/timeout-* 2>/dev/null || true
    echo "fuzz_$target failed"
    exit 1
  }
  echo "fuzz_$target: $(grep -o 'Done [0-9]* runs' "$work/$target.log")"
done

#!/usr/bin/env bash
# The suite's temporary folder (TMPDIR of every test): `setup DIR` makes it
# empty before the first test; `check DIR` after the last fails naming
# whatever a test left in it.
set -euo pipefail
case "$1" in
  setup)
    rm -rf "$2"
    mkdir -p "$2"
    ;;
  check)
    left=$(find "$2" -mindepth 1 -maxdepth 2 | sort)
    if [ -n "$left" ]; then
      echo "the tests left files in their temporary folder:"
      echo "$left"
      exit 1
    fi
    echo "temporary folder: empty"
    ;;
esac

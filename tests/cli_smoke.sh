#!/usr/bin/env bash
# The program answers --version and --help, refuses bad options, and runs its
# frame loop headless.
set -euo pipefail
ollan="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$ollan" --version | grep -q '^Ollan '
"$ollan" --help | grep -q -- '--headless'
if "$ollan" --size 0x0 --headless --frames 1 2>/dev/null; then
  echo "a zero canvas size was accepted"; exit 1
fi
if "$ollan" --no-such-option 2>/dev/null; then
  echo "an unknown option was accepted"; exit 1
fi
# no display and no --headless: a clear refusal, not an invisible window
if env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$ollan" --frames 1 2>"$dir/nodisplay.txt"; then
  echo "a window was opened with no display"; exit 1
fi
grep -q -- "--headless" "$dir/nodisplay.txt"
"$ollan" --headless --size 320x180 --frames 10
echo "cli smoke: 1 passed, 0 failed"

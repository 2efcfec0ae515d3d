#!/usr/bin/env bash
# A long session in short (tests/long_session.script): every brush key, undo
# toggles, layers added up to four and merged back, exports between. It must
# replay to its end with glibc's heap checks on, which stop the program at
# the first damaged heap block instead of frames later. Mesa reports every
# GL call it refuses (MESA_DEBUG): a misused GL object fails the test too.
set -euo pipefail
ollan="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "long session test: $*"; exit 1; }
src=${OLLAN_SOURCE_DIR:-$(dirname "$(realpath "$0")")/..}
sed "s|OUT/|$dir/|" "$src/tests/long_session.script" > "$dir/session.script"
debug=/usr/lib/x86_64-linux-gnu/libc_malloc_debug.so.0
preload=""
[ -e "$debug" ] && preload=$debug
status=0
MESA_DEBUG=1 LD_PRELOAD=$preload MALLOC_CHECK_=3 "$ollan" --headless --replay "$dir/session.script" --export "$dir/end.png" \
  2> "$dir/log.txt" || status=$?
[ "$status" -eq 0 ] || fail "the session stopped with status $status: $(tail -5 "$dir/log.txt")"
if grep -q "Mesa: User error" "$dir/log.txt"; then
  fail "GL refused calls: $(grep "Mesa: User error" "$dir/log.txt" | sort | uniq -c | head -5)"
fi
for n in 10 20 30; do
  file "$dir/session_$n.png" | grep -q 'PNG image data, 160 x 120' || fail "export after block $n is missing"
done
cmp -s "$dir/session_10.png" "$dir/session_30.png" && fail "the painting did not change over the session"
echo "long session test: passed"

#!/usr/bin/env bash
# The folders are levels: a file includes only headers of its own folder or of
# a folder on a lower level (platform/ and io/ stand side by side and include
# neither each other). Fails naming every include that points up or sideways.
set -euo pipefail
src=${OLLAN_SOURCE_DIR:-$(dirname "$(realpath "$0")")/..}
declare -A level=([base]=0 [platform]=1 [io]=1 [gpu]=2 [layers]=3 [brush]=4 [document]=5 [ui]=6 [app]=7)
bad=0 checked=0
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  text=${rest#*:}
  from=${file#"$src"/}
  from=${from%%/*}
  to=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^/"]*\)\/.*/\1/p' <<<"$text")
  [ -n "$to" ] || continue
  checked=$((checked + 1))
  [ "$to" = "$from" ] && continue
  if [ -z "${level[$to]:-}" ] || [ "${level[$to]}" -ge "${level[$from]}" ]; then
    echo "${file#"$src"/}:$line: $from/ (level ${level[$from]}) includes $to/ (level ${level[$to]:-none}): ${text#"${text%%[![:space:]]*}"}"
    bad=$((bad + 1))
  fi
done < <(grep -rn --include='*.cpp' --include='*.h' '#[[:space:]]*include[[:space:]]*"' \
  "$src"/base "$src"/platform "$src"/io "$src"/gpu "$src"/layers "$src"/brush "$src"/document "$src"/ui "$src"/app)
echo "include levels: $checked includes checked, $bad pointing up or sideways"
[ "$bad" = 0 ]

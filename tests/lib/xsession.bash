# Shared by the window tests, sourced inside their X session.

# start_ollan ARGS...: starts $OLLAN in the background (its pid in APP, output
# in out.txt and err.txt), waits up to 15 s for its window and reads the
# window's id (WID) and client position (X, Y).
start_ollan() {
  "$OLLAN" "$@" >out.txt 2>err.txt &
  APP=$!
  WID=""
  for _ in $(seq 150); do
    WID=$(xdotool search --name '^Ollan' 2>/dev/null | head -n1 || true)
    [ -n "$WID" ] && break
    sleep 0.1
  done
  if [ -z "$WID" ]; then
    echo "no window"
    cat err.txt
    kill "$APP" 2>/dev/null || true
    return 1
  fi
  eval "$(xdotool getwindowgeometry --shell "$WID")"
}

# settle BOX SHOT: takes root screenshots into SHOT every half second, up to
# 30 s, until two in a row agree and the BOX (WxH+X+Y) shows more than one
# colour; a loaded machine may take seconds to draw the first frames.
settle() {
  local box=$1 shot=$2 same shown
  import -window root "$shot"
  for _ in $(seq 60); do
    sleep 0.5
    import -window root again.png
    same=$(compare -metric AE "$shot" again.png null: 2>&1 | cut -d' ' -f1 || true)
    mv again.png "$shot"
    shown=$(convert "$shot" -crop "$box" -format '%[fx:standard_deviation > 0.01]' info:)
    [ "${same%.*}" = 0 ] && [ "$shown" = 1 ] && return 0
  done
  return 0
}

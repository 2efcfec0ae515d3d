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

# Sourced by the window tests. in_xvfb "WxHxD" CMD...: runs CMD with DISPLAY
# set to a fresh virtual X server. The server picks its own free display
# number (-displayfd), so tests running side by side never race for one as
# xvfb-run -a can.
in_xvfb() {
  local screen=$1 fifo pid display status
  shift
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fifo" 2>/dev/null &
  pid=$!
  display=""
  read -r -t 20 display <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$display" ]; then
    kill "$pid" 2>/dev/null || true
    echo "no X server started"
    return 1
  fi
  status=0
  DISPLAY=":$display" "$@" || status=$?
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  return "$status"
}

# The setting the end-to-end runs share, sourced by each: a work folder removed at the
# end (with the suite and every helper program the run started), the runtime and config
# folders inside it, a window manager and a tray, and the helpers below. The run sets
# `suite_pid` while a suite runs.
work=$(mktemp -d)
suite_pid=""
cleanup() {
  [[ -n "$suite_pid" ]] && kill "$suite_pid" 2>/dev/null || true
  pkill -P $$ 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config
mkdir -m 700 "$XDG_RUNTIME_DIR"
home=$work/home

# fail MESSAGE: the run fails, with the suite's output when there is some.
fail() {
  echo "FAIL: $*" >&2
  [[ -s "$work/suite.log" ]] && cat "$work/suite.log" >&2
  exit 1
}
# wait_for SECONDS COMMAND...: retries until the command succeeds.
wait_for() {
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}
# answer TITLE KEY: waits for a window with that title and presses the key in it.
answer() {
  wait_for 20 xdotool search --name "$1" || fail "no window \"$1\""
  local w
  w=$(xdotool search --name "$1" | head -n 1)
  xdotool windowactivate --sync "$w" >/dev/null 2>&1 || xdotool windowfocus --sync "$w"
  xdotool key "$2"
}

openbox >/dev/null 2>&1 &
trayer --edge top --align right --widthtype pixel --width 200 --height 24 >/dev/null 2>&1 &

#!/usr/bin/env bash
# Starts the suite from the build tree with the Linux backend. Its home is build/home
# unless PELORIN_HOME is set, so that trying the suite never touches the user's data.
# Without any display it starts a virtual X display (Xvfb) with a window manager and
# a tray, and says so.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
home=${PELORIN_HOME:-$build/home}
mkdir -p "$home"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  display=:77
  while [[ -e /tmp/.X11-unix/X${display#:} ]]; do display=":$(( ${display#:} + 1 ))"; done
  echo "No display found: starting the suite on a virtual X display (Xvfb $display, 1280x800)."
  Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  export DISPLAY=$display
  for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X${display#:} ]] && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  trayer --edge top --align right --widthtype pixel --width 200 --height 24 >/dev/null 2>&1 &
fi
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
  export XDG_RUNTIME_DIR=/tmp/pelorin-runtime-$(id -u)
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
fi
echo "Home: $home"
"$build/bin/pelorin" --home "$home" "$@"

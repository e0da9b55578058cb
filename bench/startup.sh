#!/usr/bin/env bash
# Start-up, memory and idle figures of the suite beside a minimal Qt 6 tray program,
# measured in the same run. Usage: bench/startup.sh [BUILD_DIR] [RUNS] [IDLE_SECONDS]
# Without a display it runs itself under a virtual X display with a tray host.
set -euo pipefail
build=${1:-build}
build=$(cd "$build" && pwd)
runs=${2:-10}
idle=${3:-60}
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build" "$runs" "$idle"
fi
work=$(mktemp -d)
trap 'pkill -P $$ 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config
mkdir -m 700 "$XDG_RUNTIME_DIR"
trayer --edge top --align right --widthtype pixel --width 200 --height 24 >/dev/null 2>&1 &
openbox >/dev/null 2>&1 &
sleep 1
home=$work/home
bin=$build/bin

# An installed home with the splash switched off.
"$bin/pelorin" --home "$home" --backend sim >/dev/null 2>&1 &
for _ in $(seq 100); do
  w=$(xdotool search --name "Brimwell  Pelorin  Ovelle" 2>/dev/null | head -n 1) && [[ -n "$w" ]] && break
  sleep 0.1
done
xdotool windowactivate --sync "$w" >/dev/null 2>&1; xdotool key Return
until [[ "$("$bin/pelorin" --home "$home" --sim state 2>/dev/null)" == active ]]; do sleep 0.1; done
"$bin/pelorin" --home "$home" --command 116
sleep 0.5; xdotool key Return
while "$bin/pelorin" --home "$home" --command 999 2>/dev/null; do sleep 0.1; done
"$bin/pelorinctl" hf set "$home/pelorin.hf" System SplashScreen 0

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
suite_ms=(); ref_ms=(); suite_rss=(); ref_rss=()
for _ in $(seq "$runs"); do
  suite_ms+=("$(/usr/bin/time -f '%M' -o "$work/rss" "$bin/pelorin" --home "$home" --backend sim --measure-startup 2>/dev/null | tail -n 1)")
  suite_rss+=("$(cat "$work/rss")")
  ref_ms+=("$(/usr/bin/time -f '%M' -o "$work/rss" "$build/bench/reference_minimal_tray" 2>/dev/null | tail -n 1)")
  ref_rss+=("$(cat "$work/rss")")
done
echo "start-up to profile loaded (ms), median of $runs: suite $(printf '%s\n' "${suite_ms[@]}" | median), minimal Qt tray program $(printf '%s\n' "${ref_ms[@]}" | median)"
echo "peak resident size (KB), median: suite $(printf '%s\n' "${suite_rss[@]}" | median), minimal Qt tray program $(printf '%s\n' "${ref_rss[@]}" | median)"

if ((idle > 0)); then
  "$bin/pelorin" --home "$home" --backend sim >/dev/null 2>&1 &
  pid=$!
  until [[ "$("$bin/pelorin" --home "$home" --sim state 2>/dev/null)" == active ]]; do sleep 0.1; done
  ticks=$(getconf CLK_TCK)
  cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
  switches() { awk '/voluntary_ctxt_switches/ {s += $2} END {print s}' "/proc/$pid/status"; }
  c0=$(cpu); s0=$(switches); sleep "$idle"; c1=$(cpu); s1=$(switches)
  awk -v c=$((c1 - c0)) -v t="$ticks" -v s="$idle" -v w=$((s1 - s0)) \
    'BEGIN {printf "idle over %d s: %.3f %% of one core, %.1f wake-ups per second\n", s, 100 * c / t / s, w / s}'
  kill "$pid"
fi

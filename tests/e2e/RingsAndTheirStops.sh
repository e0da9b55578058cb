#!/usr/bin/env bash
# End to end under a virtual X display: the real program with the simulated system
# services on a new home, its clock started just before 07:30 on a Monday. An alarm for
# 07:30 on Mondays rings (the simulated sound card says so on standard error) and a
# click on the tray icon stops it. Started again, the suite pops up an organizer message
# due at 07:31, which rings until its OK.
set -euo pipefail
bin=$1
faketime_library=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
source "$(dirname "$0")/Desktop.sh"
[[ -f "$faketime_library" ]] || fail "libfaketime is not installed"

# The wall clock starts at 07:29:45 and runs on (the alarm's minute is the margin for a
# slow start); the timers' monotonic clock is the real one.
LD_PRELOAD=$faketime_library FAKETIME="@2026-01-05 07:29:45" FAKETIME_DONT_FAKE_MONOTONIC=1 \
  "$bin/pelorin" --home "$home" --backend sim >"$work/suite.log" 2>&1 &
suite_pid=$!
answer "Brimwell  Pelorin  Ovelle" Return
state_is() { [[ "$("$bin/pelorin" --home "$home" --sim state)" == "$1" ]]; }
wait_for 20 state_is active || fail "the profile was not loaded"
[[ -f "$home/System/Snd/C_Remind2.wav" ]] || fail "the standard sounds are not in the new home"

# One alarm: 07:30 on Mondays, the standard sound; the due check reads the file afresh.
printf '[SYSTEM]\r\nCount=1\r\nUseSC=1\r\nUsePC=0\r\nEveryHour=0\r\n[0]\r\nCaption=Wake up\r\nHour=07\r\nMin=30\r\nEnabled=1\r\nDay1=1\r\nSndStd=1\r\n' \
  >"$home/Profiles/Master/reminder.hif"
rings() { grep -q 'pelorin (sim): sound ring play ".*C_Remind2.wav" loop$' "$work/suite.log"; }
wait_for 60 rings || fail "the alarm did not ring"
grep -q 'pelorin (sim): sound ring stop' "$work/suite.log" && fail "the ring stopped by itself"

# The tray icon: the suite's small window in the tray.
tray_icon() {
  local w
  for w in $(xdotool search --onlyvisible --class pelorin 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    if ((WIDTH <= 48 && HEIGHT <= 48)); then echo "$w"; return 0; fi
  done
  return 1
}
icon=$(tray_icon) || fail "no tray icon"
xdotool mousemove --window "$icon" 8 8 click 1
stopped() { grep -q 'pelorin (sim): sound ring stop' "$work/suite.log"; }
wait_for 10 stopped || fail "a click on the tray icon did not stop the ring"
# Within the same minute the alarm does not ring again.
sleep 4
[[ "$(grep -c 'sound ring play' "$work/suite.log")" == 1 ]] || fail "the alarm rang twice in its minute"

exit_suite() {
  "$bin/pelorin" --home "$home" --command 116 || fail "command 116 not received"
  answer "Close Pelorin?" Return
  wait_for 20 bash -c "! kill -0 $suite_pid" || fail "the suite did not end"
  suite_pid=""
}
exit_suite

# No alarm any more (its minute is not over); a message for 07:31 today that rings, in
# the organizer of the next start.
printf '[SYSTEM]\r\nCount=0\r\nEveryHour=0\r\n' >"$home/Profiles/Master/reminder.hif"
printf '[SYSTEM]\r\nCount=1\r\nSignal=1\r\nInterval=1000\r\n[0]\r\nTITLE=Call the bank\r\nMEMOCount=1\r\nMEMO0=About the card\r\nHourX=07\r\nMinuteX=31\r\nTime=1\r\nDayX=05\r\nMonthX=01\r\nDate=1\r\nEnabled=1\r\nSndStd=1\r\n' \
  >"$home/Profiles/Master/org.hif"
LD_PRELOAD=$faketime_library FAKETIME="@2026-01-05 07:30:45" FAKETIME_DONT_FAKE_MONOTONIC=1 \
  "$bin/pelorin" --home "$home" --backend sim >"$work/suite.log" 2>&1 &
suite_pid=$!
wait_for 20 state_is active || fail "the profile was not loaded again"
popup="Органайзер - Pelorin"
wait_for 60 xdotool search --onlyvisible --name "$popup" || fail "no organizer pop-up"
wait_for 10 rings || fail "the organizer message did not ring"
[[ "$(grep -c 'sound ring play' "$work/suite.log")" == 1 ]] || fail "more than the message rang"
answer "$popup" Return
wait_for 10 stopped || fail "OK did not stop the ring"
wait_for 10 bash -c "! xdotool search --onlyvisible --name '$popup'" || fail "the pop-up stayed"
exit_suite
echo "PASS"

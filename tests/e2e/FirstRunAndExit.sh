#!/usr/bin/env bash
# End to end under a virtual X display: the real program with the simulated system
# services on a new home. The first-run message is answered, commands are accepted,
# the strip is shown, the suite is locked (its question above the strip) and unlocked, the simulated computer sleeps and wakes, Exit
# (code 116) is confirmed, and the files of the first run and of an orderly shutdown
# are checked.
set -euo pipefail
bin=$1
source "$(dirname "$0")/Desktop.sh"

"$bin/pelorin" --home "$home" --backend sim >"$work/suite.log" 2>&1 &
suite_pid=$!

answer "Brimwell  Pelorin  Ovelle" Return
# The suite takes commands once it runs; 999 is no command at all.
wait_for 20 "$bin/pelorin" --home "$home" --command 999 || fail "the suite takes no commands"
profile_active() { [[ "$("$bin/pelorin" --home "$home" --sim state)" == active ]]; }
wait_for 20 profile_active || fail "the profile was not loaded"

# A second start from another environment finds the running suite and ends; commands
# reach the suite from there too.
timeout 10 env -u XDG_RUNTIME_DIR "$bin/pelorin" --home "$home" --backend sim 2>/dev/null \
  || fail "a second start without XDG_RUNTIME_DIR did not end at once"
[[ "$(env -u XDG_RUNTIME_DIR "$bin/pelorin" --home "$home" --sim state)" == active ]] \
  || fail "the suite is not reached without XDG_RUNTIME_DIR"

# Lock (the question answered Yes) and unlock (no general password: at once). The
# question comes while the strip is shown (i-Panel, code 113) and lies above it, also
# after another program took the focus (the suite then raises the strip again); it is
# a dialog of fixed size, which the window manager offers no maximising for.
state_is() { [[ "$("$bin/pelorin" --home "$home" --sim state)" == "$1" ]]; }
"$bin/pelorin" --home "$home" --command 113 || fail "command 113 not received"
wait_for 20 xdotool search --onlyvisible --name '^Pelorin$' || fail "the strip is not shown"
strip=$(xdotool search --onlyvisible --name '^Pelorin$' | head -n 1)
"$bin/pelorin" --home "$home" --command 115 || fail "command 115 not received"
wait_for 20 xdotool search --name "Security System" || fail "no lock question"
question=$(xdotool search --name "Security System" | head -n 1)
# stacked_above A B: A comes after B in the window manager's bottom-to-top list.
stacked_above() {
  local order
  order=$(xprop -root -notype _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/, /\n/g')
  local a b
  a=$(grep -n -i -x "$(printf '0x%x' "$1")" <<<"$order" | cut -d: -f1)
  b=$(grep -n -i -x "$(printf '0x%x' "$2")" <<<"$order" | cut -d: -f1)
  [[ -n "$a" && -n "$b" && "$a" -gt "$b" ]]
}
wait_for 5 stacked_above "$question" "$strip" || fail "the lock question lies beneath the strip"
xprop -id "$question" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DIALOG \
  || fail "the lock question is not a dialog"
xprop -id "$question" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE \
  && fail "the lock question can be maximised"
xmessage -name other -title other "another program" &
other_pid=$!
wait_for 20 xdotool search --name '^other$' || fail "no other window"
xdotool windowactivate --sync "$(xdotool search --name '^other$' | head -n 1)" >/dev/null 2>&1
wait_for 5 stacked_above "$question" "$strip" \
  || fail "the lock question went beneath the strip when the suite lost the focus"
kill "$other_pid"
answer "Security System" Return
wait_for 20 state_is locked || fail "the suite did not lock"
# Exit (116) while locked is not taken: no closing question comes, the suite keeps
# running and stays locked. The command runs from the suite's event loop just after its
# reply, so the question would show within moments.
"$bin/pelorin" --home "$home" --command 116 || fail "command 116 not received"
wait_for 3 xdotool search --name "Close Pelorin?" && fail "Exit was taken while locked"
kill -0 "$suite_pid" 2>/dev/null || fail "the suite ended on Exit while locked"
state_is locked || fail "the suite says $("$bin/pelorin" --home "$home" --sim state) after Exit while locked"
"$bin/pelorin" --home "$home" --command 115
wait_for 20 state_is active || fail "the suite did not unlock"

# The computer sleeps and wakes: the sleep window comes and goes with its OK.
"$bin/pelorin" --home "$home" --sim suspend >/dev/null || fail "suspend not taken"
wait_for 20 xdotool search --name "Sleep mode detected" || fail "no sleep window"
state_is sleeping || fail "the sleeping suite says $("$bin/pelorin" --home "$home" --sim state)"
"$bin/pelorin" --home "$home" --sim resume >/dev/null || fail "resume not taken"
answer "Sleep mode detected" Return
wait_for 20 bash -c "! xdotool search --onlyvisible --name 'Sleep mode detected'" \
  || fail "the sleep window stayed"
"$bin/pelorin" --home "$home" --command 116 || fail "command 116 not received"
answer "Close Pelorin?" Return

wait_for 20 bash -c "! kill -0 $suite_pid" || fail "the suite did not end"
suite_pid=""
"$bin/pelorin" --home "$home" --command 999 && fail "a suite still answers"
[[ ! -s "$home/.pelorin-instance" ]] || fail "the channel record stayed after the exit"

for f in pelorin.hf Custodo/pelorin.bk Custodo/custodo.sys \
         Profiles/Master/main.hf Profiles/Master/wimcdax2.hf Profiles/Master/wimpcax2.hf \
         Profiles/Master/run.hif Profiles/Master/reminder.hif Profiles/Master/mixerfly.hif \
         Profiles/Master/status.hif System/Snd/C_Remind0.wav System/Snd/C_Remind3.wav \
         System/Snd/C_EveryHour0.wav System/Snd/C_EveryHour3.wav; do
  [[ -f "$home/$f" ]] || fail "missing $f"
done
[[ -d "$home/Profiles/Master/Data" && -d "$home/Custodo/Master" ]] || fail "missing folders"
leftovers=$(find "$home" -maxdepth 3 \( -name 'pelorin*.hif' -o -name 'main.hif' \
            -o -name 'wimcdax2.hif' -o -name 'wimpcax2.hif' \))
[[ -z "$leftovers" ]] || fail "plain copies left: $leftovers"
temporaries=$(find "$home" -name '*.pelorin-tmp-*')
[[ -z "$temporaries" ]] || fail "temporary files left: $temporaries"
# The home and its folders are the owner's; the files holding passwords too.
for d in . Profiles Profiles/Master Profiles/Master/Data Custodo Custodo/Master; do
  [[ "$(stat -c %a "$home/$d")" == 700 ]] || fail "$d is not 0700"
done
for f in pelorin.hf Custodo/pelorin.bk Profiles/Master/main.hf Profiles/Master/wimcdax2.hf \
         Profiles/Master/wimpcax2.hf; do
  [[ "$(stat -c %a "$home/$f")" == 600 ]] || fail "$f is not 0600"
done
[[ "$("$bin/pelorinctl" hf cat "$home/pelorin.hf" | grep -c '^Installed=1')" == 1 ]] || fail "not installed"
echo "PASS"

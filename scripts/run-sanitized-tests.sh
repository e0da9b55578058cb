#!/usr/bin/env bash
# Builds the unit and scenario test programs and the platform tests with the address and
# undefined-behaviour sanitizers (the `debug` preset, in build-debug/) and runs each of
# them whole. Any sanitizer report ends the program with a failure; leaks of system
# libraries listed in lsan-suppressions.txt are not the suite's.
# Usage: run-sanitized-tests.sh [PROGRAM...]   (default: the programs listed below and
# the tests of every applet subsystem)
set -euo pipefail
cd "$(dirname "$0")/.."

programs=("$@")
if ((${#programs[@]} == 0)); then
  programs=(test_common test_storage test_core test_tools test_platform)
  # The applet subsystems' tests, each folder that exists.
  for subsystem in alarms organizer books agents multimedia launcher prefs; do
    [[ -d tests/$subsystem ]] && programs+=("test_$subsystem")
  done
fi
build_dir=build-debug
jobs=${PELORIN_JOBS:-2}

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake --preset debug "${launcher[@]}" >/dev/null
nice cmake --build "$build_dir" -j"$jobs" --target "${programs[@]}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for program in "${programs[@]}"; do
  echo "== $program (address and undefined-behaviour sanitizers)"
  # The tests run from the build folder, as under ctest.
  if ! (cd "$build_dir" && "tests/$program" --gtest_brief=1); then
    echo "FAILED under the sanitizers: $program" >&2
    status=1
  fi
done
exit "$status"

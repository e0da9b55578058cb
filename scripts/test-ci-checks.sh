#!/usr/bin/env bash
# Self-test of CI's own checks: a small tree that keeps the rules passes the include and
# format checks, and each planted violation is caught and named by its file and line; a
# test run's skips fail unless the allow-list gives their reason.
set -euo pipefail
scripts=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

tree=$work/tree
mkdir -p "$tree/src/core" "$tree/platform/ports" "$tree/platform/linux"
cp "$scripts/../.clang-format" "$tree/"
cat >"$tree/src/core/Clean.h" <<'CPP'
#pragma once

#include <linux/fs.h>
#include <sys/stat.h>

#include <string>

#include "common/Text.h"
#include "platform/ports/Clock.h"

int Clean();
CPP
cat >"$tree/platform/ports/Clock.h" <<'CPP'
#pragma once

#include <cstdint>

#include "ports/LocalTime.h"
CPP
cat >"$tree/platform/ports/LocalTime.h" <<'CPP'
#pragma once

#include <string>

#include "Clock.h"
CPP
git -C "$tree" init -q
git -C "$tree" add .

"$scripts/check-include-layers.py" "$tree" 2>"$work/out" || fail "a clean tree breaks the layers: $(cat "$work/out")"
"$scripts/check-format.sh" "$tree" 2>"$work/out" || fail "a clean tree is badly formatted: $(cat "$work/out")"

# expect_layer_violation FILE LINE TEXT: FILE gets TEXT as its line LINE (after filler),
# and the layer check must fail naming FILE:LINE.
expect_layer_violation() {
  local file=$1 line=$2 text=$3
  mkdir -p "$(dirname "$tree/$file")"
  { for ((i = 1; i < line; ++i)); do echo "// line $i"; done; echo "$text"; } >"$tree/$file"
  if "$scripts/check-include-layers.py" "$tree" 2>"$work/out"; then
    fail "not caught: $text in $file"
  elif ! grep -q "^$file:$line: " "$work/out"; then
    fail "$text in $file is not named as $file:$line: $(cat "$work/out")"
  fi
  rm "$tree/$file"
}
expect_layer_violation src/core/UsesQt.cpp 3 '#include <QTimer>'
expect_layer_violation src/core/UsesQtModule.h 1 '#include <QtCore/qstring.h>'
expect_layer_violation src/storage/UsesBackend.cpp 2 '#include "platform/linux/AlsaMixer.h"'
expect_layer_violation src/storage/UsesShortBackend.cpp 2 '#include "linux/AlsaMixer.h"'
expect_layer_violation src/core/UsesQtHeaderFile.h 2 '#include <qglobal.h>'
expect_layer_violation src/core/UsesSim.h 4 '  #  include "sim/SimClock.h"'
expect_layer_violation src/core/UsesWidgets.cpp 1 '#include "ui/TF_MainWidget.h"'
expect_layer_violation src/alarms/UsesX11.cpp 5 '#include <X11/Xlib.h>'
expect_layer_violation src/alarms/UsesXcb.cpp 2 '#include <xcb/xcb.h>'
expect_layer_violation src/multimedia/UsesAlsa.cpp 2 '#include <alsa/asoundlib.h>'
expect_layer_violation src/multimedia/UsesDbus.cpp 2 '#include <dbus/dbus.h>'
expect_layer_violation platform/ports/UsesPosix.h 2 '#include <unistd.h>'
expect_layer_violation platform/ports/UsesSuite.h 3 '#include "common/Text.h"'
expect_layer_violation platform/ports/UsesMissingPort.h 3 '#include "ports/NoSuchPort.h"'
expect_layer_violation platform/ports/UsesSim.h 2 '#include "../sim/SimClock.h"'

# A badly formatted tracked file is named with its line.
printf '#pragma once\n\nint  Badly( int x );\n' >"$tree/src/core/Badly.h"
git -C "$tree" add src/core/Badly.h
if "$scripts/check-format.sh" "$tree" 2>"$work/out"; then
  fail "a badly formatted file passes"
elif ! grep -q "src/core/Badly.h:3:" "$work/out"; then
  fail "the badly formatted file is not named with its line: $(cat "$work/out")"
fi

# Skips: one allowed with its reason, one not; a run without results is no pass.
cat >"$work/ctest.out" <<'OUT'
      Start  1: Mixer.ReadsTheCard
 1/3 Test  #1: Mixer.ReadsTheCard ...................***Skipped   0.02 sec
 2/3 Test  #2: Files.KeepTheirAttributes ............   Passed    0.01 sec
 3/3 Test  #3: Files.KeepTheirOwner .................***Skipped   0.01 sec
OUT
echo "Files.KeepTheirOwner the machine runs no second user" >"$work/allowed"
"$scripts/check-skips.py" "$work/ctest.out" "$work/allowed" >/dev/null 2>"$work/out" \
  && fail "a skip without a reason passes"
grep -q "Mixer.ReadsTheCard" "$work/out" || fail "the unexplained skip is not named: $(cat "$work/out")"
grep -q "KeepTheirOwner" "$work/out" && fail "the allowed skip is named as a failure"
echo "Mixer.ReadsTheCard no sound card" >>"$work/allowed"
"$scripts/check-skips.py" "$work/ctest.out" "$work/allowed" >/dev/null 2>&1 \
  || fail "skips that are all allowed fail"
echo "ninja: build stopped" >"$work/nothing.out"
"$scripts/check-skips.py" "$work/nothing.out" "$work/allowed" >/dev/null 2>&1 \
  && fail "a run without test results passes"

((failures == 0)) || exit 1
echo PASS

#!/usr/bin/env bash
# Checks that every tracked .cpp and .h file is formatted as .clang-format says. Each
# file that is not is named with the line and column of its first difference, and the
# exit status is 1. `make format` rewrites the files.
# Usage: check-format.sh [ROOT]   (ROOT defaults to the checkout holding this script)
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"
command -v clang-format >/dev/null || { echo "check-format: clang-format is not installed" >&2; exit 1; }
git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror --ferror-limit=1 || exit 1

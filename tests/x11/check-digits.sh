#!/usr/bin/env bash
# The real program in a real X11 window under Xvfb (1920x1080): the millimetre digits measured
# from screenshots at the window's own size, resized to twice that, full screen with all
# readouts and full screen with only millimetres. A layout that stops scaling, clips, or loses
# the remembered view shows here as digits too small.
#   tests/x11/check-digits.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
display=$((200 + $$ % 300))
"$here/../../scripts/bigshots" "$build" "$work/shot" "$display" | tee "$work/out"

# scene minimum-pixels: fails unless the scene's digits are at least that tall
fail=0
while read -r scene least; do
  got=$(sed -n "s/^$scene: .* digits \([0-9]*\) px$/\1/p" "$work/out")
  if [[ -z $got || $got -lt $least ]]; then
    echo "FAIL: $scene digits ${got:-missing} px, want at least $least" >&2
    fail=1
  fi
done <<'ROWS'
design 16
double 30
full 45
mm 90
ROWS
exit $fail

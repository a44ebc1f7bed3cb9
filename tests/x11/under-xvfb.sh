#!/usr/bin/env bash
# Runs a command with its own Xvfb (1280x1024) as the display and X11 as Qt's platform:
#   tests/x11/under-xvfb.sh COMMAND [ARGS...]
set -euo pipefail
display=$((200 + ($$ + 150) % 300))
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
# Xvfb takes a moment to answer, longer on a loaded machine.
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
"$@"

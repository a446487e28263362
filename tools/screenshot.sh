#!/usr/bin/env bash
# Starts a command under a private Xvfb display, waits, and saves a screenshot of the screen.
# usage: tools/screenshot.sh OUT.png COMMAND [ARG...]     (SHOT_WAIT=seconds, default 3)
# Needs Debian's xvfb and imagemagick.
set -u
out=$1
shift
disp=":$((90 + RANDOM % 400))"
Xvfb "$disp" -screen 0 1280x900x24 >/dev/null 2>&1 &
xpid=$!
sleep 1
DISPLAY=$disp "$@" >/dev/null 2>&1 &
apid=$!
sleep "${SHOT_WAIT:-3}"
DISPLAY=$disp import -window root "$out"
kill "$apid" 2>/dev/null
sleep 0.5
kill "$xpid" 2>/dev/null

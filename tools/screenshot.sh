#!/usr/bin/env bash
# Starts a command under a private Xvfb display, waits, and saves a screenshot of the screen.
# usage: tools/screenshot.sh OUT.png COMMAND [ARG...]     (SHOT_WAIT=seconds, default 3)
# Needs Debian's xvfb and imagemagick.
set -u
out=$1
shift
# Xvfb picks a free display itself and names it once it accepts clients: a guessed number may be
# another user's display on a shared machine, and a fixed pause may end before Xvfb is up.
ready=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x900x24 3>"$ready" >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 100); do
    [ -s "$ready" ] && break
    kill -0 "$xpid" 2>/dev/null || break
    sleep 0.1
done
number=$(head -n 1 "$ready")
rm -f "$ready"
if [ -z "$number" ]; then
    echo "screenshot.sh: Xvfb did not start" >&2
    kill "$xpid" 2>/dev/null
    exit 1
fi
disp=":$number"
DISPLAY=$disp "$@" >/dev/null 2>&1 &
apid=$!
sleep "${SHOT_WAIT:-3}"
DISPLAY=$disp import -window root "$out"
status=$?
kill "$apid" 2>/dev/null
sleep 0.5
kill "$xpid" 2>/dev/null
exit $status

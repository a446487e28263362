#!/usr/bin/env bash
# Draws the user manual's pictures from the program itself (tools/manual_pictures.cpp), in English
# and in Polish, into docs/images/en and docs/images/pl, where the manual and the installation take
# them from. Run it after a change that shows in the window, and commit the pictures with it.
# usage: tools/manual_pictures.sh [BUILD_DIR]      (default build-test, configured already)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build-test}
cmake --build "$build" --target manual_pictures
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for lang in en pl; do
    # In a scratch folder: a cancelled read leaves its partial file in the working folder.
    # The Pattern dialog names the user's script folder: a user's, not the one who draws them.
    (cd "$work" && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
        XDG_DATA_HOME=/home/user/.local/share \
        "$root/$build/manual_pictures" "$root/docs/images/$lang" "$lang")
done
echo "pictures in docs/images/en and docs/images/pl"

#!/usr/bin/env bash
# Installs what is missing, builds the programs (lm740, lm740ctl and make_upgrade_file, all in
# build/) and starts the window. Arguments go on to it, e.g. tools/run.sh --simulator
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLM740_BUILD_TESTS=OFF \
    -DLM740_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build --target lm740 lm740ctl make_upgrade_file
exec build/lm740 "$@"

#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it. Arguments go to the program,
# e.g. tools/run.sh --simulator
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLM740_BUILD_TESTS=OFF \
    -DLM740_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build --target lm740
exec build/lm740 "$@"

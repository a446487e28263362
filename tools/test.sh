#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, with every compiler warning an error, and runs every test (widget
# tests on the offscreen platform, so no display is needed).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --test
tools/format.sh --check
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLM740_SANITIZE=ON \
    -DLM740_BUILD_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-test -j"$(nproc)"
ctest --test-dir build-test --output-on-failure -j"$(nproc)" "$@"

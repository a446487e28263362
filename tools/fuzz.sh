#!/usr/bin/env bash
# Builds the fuzz targets of the file readers and of the controller link with clang (libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) in build-fuzz and runs each in turn for a
# bounded time.
#   tools/fuzz.sh [seconds per target, default 60] [target ...]
# Targets: numbers scene scenes chaser chasers program programs image upgrade controller pattern
# (all when none is named). The controller target has a bus answer from the fuzzer's bytes; the
# pattern target reads script property texts and what a script's rgbMap returns.
# The seeds in fuzz/corpus/<target> are read only; what a run finds grows build-fuzz/corpus/<target>.
# A crash leaves its input in build-fuzz/findings/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(numbers scene scenes chaser chasers program programs image upgrade controller pattern)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DLM740_BUILD_FUZZ=ON -DLM740_BUILD_TESTS=OFF -DLM740_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"

mkdir -p build-fuzz/findings
failed=0
for t in "${targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$t"
    max_len=()
    # A settings image is 131072 bytes; the seeds of the text readers set their own bound.
    [ "$t" = image ] && max_len=(-max_len=131073)
    # The JavaScript engine frees what an input made only when it collects garbage, later: a leak
    # check after each input would report that. The tests check the engine's runs for leaks.
    [ "$t" = pattern ] && max_len=(-detect_leaks=0)
    echo "== fuzz_$t for ${seconds}s"
    if ! "build-fuzz/fuzz/fuzz_$t" "build-fuzz/corpus/$t" "fuzz/corpus/$t" -max_total_time="$seconds" \
        "${max_len[@]}" -artifact_prefix="build-fuzz/findings/$t-" -print_final_stats=1 \
        2>"build-fuzz/fuzz_$t.log"; then
        failed=1
        echo "fuzz_$t found a fault; see build-fuzz/fuzz_$t.log and build-fuzz/findings/"
    fi
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^Done' "build-fuzz/fuzz_$t.log" || true
done
exit $failed

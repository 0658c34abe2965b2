#!/usr/bin/env bash
# Builds the fuzz targets into build-fuzz/ and runs each over its committed seed inputs
# (fuzz/corpus/<target>/) and then on new inputs for a fixed time (KORDI_FUZZ_SECONDS,
# 30 by default). New inputs go to a temporary folder, never into the source tree. A crash,
# a broken property, an input that takes over 5 s or a leak fails the run; the input that did
# it is kept in build-fuzz/findings/. The number of runs per target ends up in
# build-fuzz/runs.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
"$(pwd)/scripts/install-deps.sh"
if [ ! -f build-fuzz/CMakeCache.txt ]; then
    CXX=clang++ cmake -S fuzz -B build-fuzz -G Ninja
fi
cmake --build build-fuzz --parallel "$(nproc)"

seconds=${KORDI_FUZZ_SECONDS:-30}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p build-fuzz/findings
: >build-fuzz/runs.txt
failed=()
for source in fuzz/*Fuzz.cpp; do
    target=$(basename "$source" .cpp)
    mkdir -p "$scratch/$target"
    log=build-fuzz/$target.log
    if build-fuzz/"$target" -timeout=5 -rss_limit_mb=2048 -max_total_time="$seconds" \
        -print_final_stats=1 -artifact_prefix=build-fuzz/findings/"$target"- \
        "$scratch/$target" fuzz/corpus/"$target" >"$log" 2>&1; then
        status=passed
    else
        status=FAILED
        failed+=("$target")
        tail -n 40 "$log"
    fi
    runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
    echo "$target: ${runs:-?} runs, $status" | tee -a build-fuzz/runs.txt
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzzing found faults in: ${failed[*]} (inputs in build-fuzz/findings/)"
    exit 1
fi

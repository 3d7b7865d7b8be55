#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang in build-fuzz/ and runs each for the given number
# of seconds (default 60) on a fresh copy of its seed inputs from fuzz/corpus/, which are never
# written to. Fails when a target crashes, leaks, trips a sanitizer or one of its own checks;
# the log and the input that did it stay in build-fuzz/run/<target>/.
# Usage: scripts/fuzz.sh [seconds per target]
set -euo pipefail
seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 [seconds per target]" >&2
    exit 2
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
targets=(mapimage mapcache settings helpdom)

cmake -S "$root" -B "$build" -DSKYLOOM_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

# The targets' data folders: in memory where there is a tmpfs, as every settings save syncs
# its file to disk.
scratch="$(mktemp -d -p /dev/shm skyloom-fuzz.XXXXXX 2>/dev/null || mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch"

symbolizer="$(command -v llvm-symbolizer || command -v llvm-symbolizer-14 || true)"
if [ -n "$symbolizer" ]; then
    export ASAN_SYMBOLIZER_PATH="$symbolizer"
fi
# Leaks count as failures. Qt's one-time allocations stay reachable from its globals, so
# LeakSanitizer reports none of them and no suppressions are needed.
export ASAN_OPTIONS="detect_leaks=1 ${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1 halt_on_error=1 ${UBSAN_OPTIONS:-}"

failed=()
summary=()
for target in "${targets[@]}"; do
    run="$build/run/$target"
    rm -rf "$run"
    mkdir -p "$run/corpus" "$run/artifacts"
    cp "$root/fuzz/corpus/$target/"* "$run/corpus/"
    # The real help page is a seed of the page target, taken from where the program has it.
    if [ "$target" = helpdom ]; then
        cp "$root/resources/help/help.html" "$run/corpus/"
    fi
    seeds=$(find "$run/corpus" -type f | wc -l)
    log="$run/fuzz.log"
    echo "== fuzz_$target, $seconds s"
    start=$SECONDS
    status=0
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
        ${FUZZ_SEED:+-seed="$FUZZ_SEED"} \
        -artifact_prefix="$run/artifacts/" "$run/corpus" >"$log" 2>&1 || status=$?
    elapsed=$((SECONDS - start))
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    inputs=$(find "$run/corpus" -type f | wc -l)
    reports=$(grep -cE '^==[0-9]+==ERROR|^SUMMARY: |runtime error:|^FUZZ_CHECK failed' "$log" || true)
    if [ "$status" -ne 0 ] || [ "$reports" -ne 0 ]; then
        failed+=("$target")
        result="FAILED (exit $status)"
        tail -n 60 "$log"
        echo "Log: $log"
        ls "$run/artifacts/"* 2>/dev/null | sed 's/^/Input: /' || true
    else
        result="ok"
    fi
    summary+=("$(printf 'fuzz_%-9s %s: %s runs in %d s (%s/s), corpus %d -> %d inputs' \
        "$target" "$result" "${runs:-?}" "$elapsed" "${rate:-?}" "$seeds" "$inputs")")
done

echo
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzzing failed: ${failed[*]}"
    exit 1
fi

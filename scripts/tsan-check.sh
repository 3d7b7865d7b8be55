#!/usr/bin/env bash
# Builds every test program with ThreadSanitizer in build-tsan/ (no benchmarks) and runs the
# whole ctest suite under Xvfb, to check that nothing is shared unsafely between pool
# threads and the UI thread. A developer tool, not part of `make test`. Exits non-zero on
# any report or failed test.
# Usage: scripts/tsan-check.sh [ctest options, e.g. -R maps]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TSAN_BUILD_DIR:-$root/build-tsan}"
log="$build/tsan.log"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKYLOOM_TSAN=ON \
    -DSKYLOOM_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

# Qt is not built with ThreadSanitizer: its own loads and stores are invisible, so the
# memcpy, malloc and free it makes are left unchecked too (ignore_noninstrumented_modules).
# Our code stays fully checked, with no suppressions.
options="second_deadlock_stack=1 halt_on_error=0 ignore_noninstrumented_modules=1"
export TSAN_OPTIONS="$options ${TSAN_OPTIONS:-}"
export QT_QPA_PLATFORM=xcb
status=0
# Verbose, so the log holds every program's reports, not only those of failed tests.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" -V "$@" >"$log" 2>&1 ||
    status=$?
cat "$log"

reports=$(grep -c 'WARNING: ThreadSanitizer' "$log" || true)
echo
echo "ThreadSanitizer: $reports report(s); ctest exit status $status; log in $log"
if [ "$reports" -ne 0 ] || [ "$status" -ne 0 ]; then
    exit 1
fi

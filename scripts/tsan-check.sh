#!/usr/bin/env bash
# Builds tst_maps with ThreadSanitizer in build-tsan/ and runs it under Xvfb, to check that
# the map download code shares nothing unsafely between pool threads and the UI thread.
# A developer tool, not part of `make test`. Exits non-zero on any report or failed test.
# Usage: scripts/tsan-check.sh [TestClass] [QtTest options]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TSAN_BUILD_DIR:-$root/build-tsan}"
log="$build/tsan-maps.log"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKYLOOM_TSAN=ON >/dev/null
cmake --build "$build" -j1 --target tst_maps

# Qt is not built with ThreadSanitizer: its own loads and stores are invisible, so the
# memcpy, malloc and free it makes are left unchecked too (ignore_noninstrumented_modules).
# Our code stays fully checked, with no suppressions.
options="second_deadlock_stack=1 halt_on_error=0 ignore_noninstrumented_modules=1"
export TSAN_OPTIONS="$options ${TSAN_OPTIONS:-}"
export QT_QPA_PLATFORM=xcb
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tests/tst_maps" "$@" >"$log" 2>&1 || status=$?
cat "$log"

reports=$(grep -c '^WARNING: ThreadSanitizer' "$log" || true)
echo
grep '^Totals:' "$log" || true
echo "ThreadSanitizer: $reports report(s); tst_maps exit status $status; log in $log"
if [ "$reports" -ne 0 ] || [ "$status" -ne 0 ]; then
    exit 1
fi

#!/usr/bin/env bash
# Builds every test program with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ (no benchmarks) and runs the whole ctest suite under Xvfb. Part of `make test`.
# Exits non-zero on any sanitizer report or failed test.
# Usage: scripts/asan-check.sh [ctest options, e.g. -R globe]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ASAN_BUILD_DIR:-$root/build-asan}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKYLOOM_ASAN=ON \
    -DSKYLOOM_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

# Leaks are checked, with only the libraries below us excused: see lsan.supp.
options="detect_leaks=1"
# Mesa unloads its GL driver when Qt closes the X display, before LeakSanitizer looks at
# memory at exit: blocks the driver's own globals still held then look leaked, from a module
# that no longer has a name. Loaded up front, the driver stays to the end and they stay
# reachable. The programs start the ASan runtime themselves (preinit), so it still comes
# first; verify_asan_link_order only sees the preload listed ahead of it.
driver="/usr/lib/$(gcc -print-multiarch)/dri/swrast_dri.so"
if [ -f "$driver" ]; then
    export LD_PRELOAD="$driver${LD_PRELOAD:+:$LD_PRELOAD}"
    options="$options:verify_asan_link_order=0"
fi
export ASAN_OPTIONS="$options:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" --output-on-failure "$@"

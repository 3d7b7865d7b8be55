#!/usr/bin/env bash
# Starts the app under Xvfb, waits, and saves a screenshot of the whole screen.
# Usage: scripts/screenshot.sh OUT.png [SECONDS] [WIDTHxHEIGHT]
set -euo pipefail
out=${1:?output png}
wait=${2:-4}
size=${3:-1280x1024}
bin="$(cd "$(dirname "$0")/.." && pwd)/build/skyloom"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 ${size}x24" bash -c "
  '$bin' & pid=\$!
  sleep $wait
  import -window root '$out'
  kill \$pid; wait \$pid 2>/dev/null || true
"

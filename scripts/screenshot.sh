#!/usr/bin/env bash
# Starts the app under Xvfb, waits, and saves a screenshot of its window.
# Usage: scripts/screenshot.sh OUT.png [SECONDS] [WIDTHxHEIGHT]
# With SKYLOOM_DATA_HOME set, the app uses that folder as its shared data location
# (put Brightwell/Skyloom/ with an ini file and cached maps in it).
set -euo pipefail
out=${1:?output png}
wait=${2:-4}
size=${3:-640x480}
bin="$(cd "$(dirname "$0")/.." && pwd)/build/skyloom"
export QT_QPA_PLATFORM=xcb
[ -n "${SKYLOOM_DATA_HOME:-}" ] && export XDG_DATA_HOME="$SKYLOOM_DATA_HOME"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
  '$bin' & pid=\$!
  sleep $wait
  import -window root -crop ${size}+0+0 +repage '$out'
  kill \$pid; wait \$pid 2>/dev/null || true
"

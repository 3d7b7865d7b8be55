#!/usr/bin/env bash
# Makes the README pictures in docs/: each view of the app under Xvfb, showing the demo maps
# that scripts/make-demo-maps.py paints from Debian's libncarg-data fields, plus the settings
# window. Needs a built build/skyloom and scripts/install-demo-map-deps.sh.
#
# Usage: scripts/readme-screenshots.sh [WIDTHxHEIGHT]   (window size, default 900x600)
# SKYLOOM_SHOT_WAIT sets the seconds to wait for a view's map to show (default 6).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/skyloom"
docs="$root/docs"
size=${1:-900x600}
wait=${SKYLOOM_SHOT_WAIT:-6}
[ -x "$bin" ] || { echo "build/skyloom is missing: build it first" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "xdotool is missing: scripts/install-demo-map-deps.sh" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
data="$work/data"
# The cache files are dated now, so the app finds them fresh and asks the map server for
# nothing; the server named here is a local port that answers nothing all the same.
"${PYTHON:-/usr/bin/python3}" "$root/scripts/make-demo-maps.py" "$data" "$work/server"
server=https://127.0.0.1:9
# A second data folder with the same maps whose settings show wind in mph.
mph="$work/data-mph"
cp -a "$data" "$mph"
printf '[Skyloom]\nMPH=1\n' > "$mph/Skyloom.ini"

export QT_QPA_PLATFORM=xcb
export LIBGL_ALWAYS_SOFTWARE=1

# shot VIEW OUT [main|settings [DATA [KEYS]]]: starts the app at VIEW, presses KEYS (xdotool
# key names: the arrows turn the globe 5 degrees, + brings it nearer), waits, and captures its
# window (or, with "settings", the settings window opened with Ctrl+,) into OUT.
shot() {
    local view=$1 out=$2 what=${3:-main} folder=${4:-$data} keys=${5:-$zoom}
    xvfb-run -a -s "-screen 0 1280x800x24" bash -s "$bin" "$folder" "$server" "$view" "$out" \
        "$what" "$size" "$wait" "$keys" <<'INNER'
set -euo pipefail
bin=$1 data=$2 server=$3 view=$4 out=$5 what=$6 size=$7 wait=$8 keys=$9
"$bin" --data-dir "$data" --map-server "$server" --view "$view" &
pid=$!
win=$(xdotool search --sync --onlyvisible --pid "$pid" | head -n 1)
xdotool windowmove --sync "$win" 0 0 || true
xdotool windowsize --sync "$win" "${size%x*}" "${size#*x}" || true
sleep 2
if [ -n "$keys" ]; then
    xdotool windowfocus --sync "$win" || true
    # shellcheck disable=SC2086
    xdotool key --clearmodifiers --delay 80 $keys
fi
sleep "$wait"
if [ "$what" = settings ]; then
    xdotool windowfocus --sync "$win" || true
    xdotool key --clearmodifiers ctrl+comma
    sleep 2
    win=$(xdotool search --onlyvisible --pid "$pid" | grep -vx "$win" | tail -n 1 || true)
    [ -n "$win" ] || { echo "the settings window did not open" >&2; kill "$pid"; exit 1; }
fi
eval "$(xdotool getwindowgeometry --shell "$win")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
kill "$pid"
wait "$pid" 2>/dev/null || true
INNER
    # keep the picture small: at most 256 colours when the full-colour file is large
    if [ "$(stat -c %s "$out")" -gt 300000 ]; then
        convert "$out" -colors 256 "$out"
    fi
    echo "wrote $out ($(stat -c %s "$out") bytes)"
}

repeat() { local n=$1 key=$2 i; for ((i = 0; i < n; i++)); do printf '%s ' "$key"; done; }
zoom=$(repeat 5 plus)
# The globe starts facing about 60 degrees west; Left turns it to show places further east.
# Day/Night faces the evening terminator of the moment the script runs, where the sun sets
# (about 18 h local solar time).
terminator_keys() {
    local minutes delta
    minutes=$(( 10#$(date -u +%H) * 60 + 10#$(date -u +%M) ))
    delta=$(( ((18 * 60 - minutes) / 4 + 60 + 540) % 360 - 180 ))
    if [ "$delta" -ge 0 ]; then repeat $(( delta / 5 )) Left; else repeat $(( -delta / 5 )) Right; fi
}

mkdir -p "$docs"
shot temperature "$docs/screenshot.png"
shot rain "$docs/rain.png" main "$data" "$zoom $(repeat 6 Left)"
shot wind "$docs/wind-mph.png" main "$mph" "$zoom $(repeat 10 Left)"
shot change "$docs/change.png" main "$data" "$zoom $(repeat 22 Left)"
shot daynight "$docs/day-night.png" main "$data" "$zoom $(terminator_keys)"
shot temperature "$docs/settings.png" settings "$data" ""

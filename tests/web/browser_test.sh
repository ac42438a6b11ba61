#!/usr/bin/env bash
# The browser version against the native one. Builds build-web/ (scripts/web.sh), serves it on a
# free port of 127.0.0.1 and opens it in headless Chromium: a level replay must end with the same
# result line and the same state (the cave and the counters) as the native headless run of it,
# and its picture of frame 200 and the menu's picture must be the native ones pixel for pixel.
#   TUMBREL_WEB_REPLAY=FILE  the replay to play (default: level 1's shipped solution, when there is
#                            one, else tests/web/level01-walk.replay)
# Needs the native build in build/ (scripts/test.sh makes it first).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

WEB_DIR="$REPO_ROOT/build-web"
NATIVE="$REPO_ROOT/build/tumbrel"
REPLAY="${TUMBREL_WEB_REPLAY:-$REPO_ROOT/assets/levels/solutions/level01.replay}"
[ -f "$REPLAY" ] || REPLAY="$REPO_ROOT/tests/web/level01-walk.replay"
MENU_FRAME=16
CAVE_FRAME=200
PAGE_TIMEOUT=300

install_packages "${BROWSER_PACKAGES[@]}"
bash "$REPO_ROOT/scripts/web.sh"

WORK=$(mktemp -d)
SERVER_PID=""
cleanup() {
    [ -n "$SERVER_PID" ] && kill "$SERVER_PID" 2> /dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# Port 0: the system picks a free port, which the server names on its first line.
start_server() {
    python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$WEB_DIR" > "$WORK/server.log" 2>&1 &
    SERVER_PID=$!
    local tries
    for tries in $(seq 50); do
        PORT=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$WORK/server.log")
        [ -n "$PORT" ] && return 0
        sleep 0.1
    done
    echo "The web server did not start:" >&2
    cat "$WORK/server.log" >&2
    return 1
}

# open_page NAME QUERY: the page's DOM once the program has ended, in $WORK/NAME.html. The page
# runs as a player's would, paced by its clock; virtual time lets its waits pass at once. The
# network is closed here: nothing that would reach out is left on.
open_page() {
    local name="$1" query="$2"
    timeout "$PAGE_TIMEOUT" chromium --headless=new --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader \
        --no-first-run --disable-background-networking --disable-component-update --disable-sync --disable-quic \
        --user-data-dir="$WORK/profile-$name" --virtual-time-budget=600000 \
        --dump-dom "http://127.0.0.1:$PORT/index.html?$query" > "$WORK/$name.html" 2> "$WORK/$name.log" || {
        echo "Chromium failed on ?$query (see below)" >&2
        tail -20 "$WORK/$name.log" >&2
        return 1
    }
}

start_server
mkdir -p "$WEB_DIR/replays"
cp "$REPLAY" "$WEB_DIR/replays/test.replay"

"$NATIVE" --headless --replay "$REPLAY" --dump "$WORK/native.json" --screenshot "$CAVE_FRAME:$WORK/native-replay.png" \
    > "$WORK/native.out"
"$NATIVE" --headless --frames $((MENU_FRAME + 4)) --screenshot "$MENU_FRAME:$WORK/native-menu.png" > /dev/null
open_page replay "replay=replays/test.replay&dump=1&screenshot=$CAVE_FRAME"
open_page menu "frames=$((MENU_FRAME + 4))&screenshot=$MENU_FRAME"

python3 "$REPO_ROOT/tests/web/compare.py" "$WORK" "$(basename "$REPLAY")" "$CAVE_FRAME"

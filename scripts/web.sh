#!/usr/bin/env bash
# Builds the browser version into build-web/: index.html, tumbrel.js, tumbrel.wasm and tumbrel.data
# (the levels, Media.sbx, the start-up font and a new player's files). The data come from the
# native build in build/; zlib, libpng and LZO are compiled from Debian's source packages, fetched
# once into build-web/deps/.
#   bash scripts/web.sh            build
#   bash scripts/web.sh --serve    build, then serve build-web/ on http://127.0.0.1:8000/
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

WEB_DIR="$REPO_ROOT/build-web"
NATIVE_DIR="$REPO_ROOT/build"
SERVE_PORT=8000

# Debian's emcc wants Debian's own Python first on PATH and its JavaScript modules (acorn) on NODE_PATH.
emscripten_env() {
    env PATH=/usr/bin:/bin NODE_PATH=/usr/share/nodejs "$@"
}

# The machine's Debian sources, as source-package lines in a private apt configuration: the
# system's own lists and caches stay as they are.
write_source_lists() {
    local apt_dir="$1" file
    mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    : > "$apt_dir/sources.list"
    if [ -f /etc/apt/sources.list ]; then
        sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list >> "$apt_dir/sources.list"
    fi
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        sed 's/^Types:.*/Types: deb-src/' "$file" > "$apt_dir/sources.list.d/$(basename "$file")"
    done
}

# Fetches and unpacks zlib, libpng and LZO into build-web/deps/{zlib,libpng,lzo} (once).
fetch_library_sources() {
    local deps="$WEB_DIR/deps"
    [ -f "$deps/ready" ] && return 0
    rm -rf "$deps"
    mkdir -p "$deps/download"
    write_source_lists "$deps/apt"
    local apt_options=(-q -o "Dir::Etc::SourceList=$deps/apt/sources.list"
                       -o "Dir::Etc::SourceParts=$deps/apt/sources.list.d"
                       -o "Dir::State::Lists=$deps/apt/lists" -o "Dir::Cache=$deps/apt/cache")
    # The release's own versions: mirrors of the security suite may serve no sources.
    local release
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:+/$VERSION_CODENAME}")
    echo "Fetching the sources of zlib, libpng and LZO"
    apt-get "${apt_options[@]}" update > "$deps/apt/update.log"
    (cd "$deps/download" &&
        apt-get "${apt_options[@]}" source --download-only "zlib$release" "libpng1.6$release" "lzo2$release") \
        > "$deps/fetch.log" 2>&1 || { cat "$deps/fetch.log" >&2; return 1; }
    local name package
    for name in zlib:zlib libpng:libpng1.6 lzo:lzo2; do
        package="${name#*:}"
        dpkg-source --no-check -x "$deps/download/${package}"_*.dsc "$deps/${name%%:*}" > /dev/null
    done
    touch "$deps/ready"
}

# The read-only files the page preloads, laid out as beside the program: Media.sbx, smalfont.bmp
# and Maps/ with the levels and a new player's four files.
stage_data() {
    local data="$WEB_DIR/data"
    [ -f "$NATIVE_DIR/CMakeCache.txt" ] || cmake -S "$REPO_ROOT" -B "$NATIVE_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$NATIVE_DIR" -j"$JOBS" --target levels media levelc
    mkdir -p "$data/Maps"
    # Only changed files are copied: the package is rebuilt when one of them changes.
    cmake -E copy_if_different "$NATIVE_DIR"/Maps/Map*-1.bin "$data/Maps/"
    cmake -E copy_if_different "$NATIVE_DIR/Media.sbx" "$NATIVE_DIR/smalfont.bmp" "$data/"
    local fresh
    fresh=$(mktemp -d)
    "$NATIVE_DIR/levelc" init-data "$fresh" > /dev/null
    cmake -E copy_if_different "$fresh"/*.bin "$data/Maps/"
    rm -rf "$fresh"
}

build_web() {
    local configure=(cmake -S "$REPO_ROOT" -B "$WEB_DIR" -DCMAKE_BUILD_TYPE=Release
                     "-DTUMBREL_WEB_DEPS=$WEB_DIR/deps" "-DTUMBREL_WEB_DATA=$WEB_DIR/data")
    [ -f "$WEB_DIR/CMakeCache.txt" ] || emscripten_env emcmake "${configure[@]}"
    emscripten_env cmake --build "$WEB_DIR" -j"$JOBS" --target tumbrel
    local file
    for file in tumbrel.wasm tumbrel.data; do
        echo "build-web/$file: $(stat -c %s "$WEB_DIR/$file") bytes"
    done
}

main() {
    local serve=0
    case "${1:-}" in
        --serve) serve=1 ;;
        "") ;;
        *) echo "usage: bash scripts/web.sh [--serve]" >&2; exit 2 ;;
    esac
    install_packages
    install_packages "${WEB_PACKAGES[@]}"
    stage_data
    fetch_library_sources
    build_web
    if [ "$serve" = 1 ]; then
        echo "Serving the game on http://127.0.0.1:$SERVE_PORT/ (Ctrl+C ends)"
        exec python3 -m http.server "$SERVE_PORT" --bind 127.0.0.1 --directory "$WEB_DIR"
    fi
}

main "$@"

#!/usr/bin/env bash
# The installed game as a player meets it: install into a temporary prefix, then, as an ordinary
# user for whom the install folder is read-only, start it from another folder through a link to
# the launcher, play into a save (name "ab", then GOHOME) and find the save in the XDG folder and
# the install folder unchanged. Then uninstall.
# Usage: install_test.sh CMAKE BUILD_DIR UNINSTALL_SCRIPT. Exit 77 = skipped (no other user to be).
set -euo pipefail
cmake=$1 build=$2 uninstall=$3
fail() { echo "FAILED: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
prefix=$work/prefix home=$work/home data=$work/prefix/share/games/tumbrel
"$cmake" --install "$build" --prefix "$prefix" --component game > "$work/install.log"

for file in bin/tumbrel share/man/man6/tumbrel.6 share/games/tumbrel/{tumbrel,Media.sbx,smalfont.bmp} \
            share/games/tumbrel/Maps/{Map1-1.bin,Map50-1.bin,LevC.bin,Player.bin,Name.bin,Data.bin}; do
    [ -e "$prefix/$file" ] || fail "$file was not installed"
done
for size in 16 32 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/tumbrel.png
    width=$((16#$(od -An -tx1 -j16 -N4 "$icon" | tr -d ' \n')))
    [ "$width" -eq "$size" ] || fail "the $size x $size icon is $width pixels wide"
done
if command -v appstreamcli > /dev/null; then appstreamcli validate --no-net "$prefix"/share/metainfo/*.xml; fi
grep -q '^Exec=tumbrel$' "$prefix"/share/applications/*.desktop || fail "no desktop entry starting tumbrel"

mkdir -p "$home/elsewhere"
ln -s "$prefix/bin/tumbrel" "$home/my-tumbrel"
# Down to PLAYER, Return, type "ab", Space, down twice to GOHOME, Return.
printf '%s\n' 'tumbrel-replay 1' 'seed 1' 'start menu' 'frame 0 keys 208' 'frame 1 keys' 'frame 10 keys 28' \
    'frame 11 keys' 'frame 20 keys 30' 'frame 21 keys' 'frame 24 keys 48' 'frame 25 keys' 'frame 28 keys 57' \
    'frame 29 keys' 'frame 40 keys 208' 'frame 41 keys' 'frame 50 keys 208' 'frame 51 keys' 'frame 60 keys 28' \
    'end 200' > "$home/gohome.txt"
player=()
if [ "$(id -u)" -eq 0 ]; then
    # Root writes anywhere: only another user sees the install folder as it is meant to be seen.
    setpriv --reuid=65534 --regid=65534 --clear-groups true 2> /dev/null || { echo "skipped: setpriv cannot make uid 65534"; exit 77; }
    player=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    chown -R 65534:65534 "$home"
else
    chmod -R a-w "$data"
fi
before=$(cd "$data" && find . -exec ls -ld --time-style=full-iso {} + | sort)

play() {
    (cd "$home/elsewhere" && "${player[@]}" env -u XDG_DATA_HOME HOME="$home" TMPDIR="$home" LSAN_OPTIONS= \
        ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$@")
}
play ../my-tumbrel --headless --save --replay ../gohome.txt > "$work/out.txt" 2>&1 || { cat "$work/out.txt"; fail "the game did not end well"; }
saves=$home/.local/share/tumbrel
printf 'ab\0\0\0\0\0\0' | cmp - "$saves/Player.bin" || fail "the name was not saved in $saves"
for name in LevC.bin Name.bin Data.bin; do cmp "$data/Maps/$name" "$saves/$name" || fail "$name was not copied"; done
[ "$(ls -A "$saves" | wc -l)" -eq 4 ] || fail "more than the four save files in $saves: $(ls -A "$saves")"
[ "$before" = "$(cd "$data" && find . -exec ls -ld --time-style=full-iso {} + | sort)" ] || fail "the install folder changed"

touch "$home/a-file"
if play env XDG_DATA_HOME="$home/a-file/data" ../my-tumbrel --headless --save --level 1 --frames 2 > "$work/out.txt" 2>&1; then
    fail "a save folder that cannot be made was not an error"
fi
grep -q "runtime error 3: cannot create the save folder $home/a-file/data/tumbrel" "$work/out.txt" || { cat "$work/out.txt"; fail "no clear message"; }

chmod -R u+w "$data"
"$cmake" -DMANIFEST="$build/install_manifest_game.txt" -P "$uninstall" > /dev/null
left=$(find "$prefix" -type f -o -type l)
[ -z "$left" ] || fail "uninstalling left $left"
[ ! -e "$data" ] || fail "uninstalling left the data folder"
echo "installed, played as $(id -un 65534 2> /dev/null || echo 65534) and uninstalled"

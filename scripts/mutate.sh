#!/usr/bin/env bash
# The mutation check: how many small planted faults does the test suite find?
# Applies each mutation of a fixed list (scripts/mutations.txt) to a checkout, one at a time,
# rebuilds, runs every CTest test, puts the source back and reports killed and surviving faults.
# Run by hand (it takes tens of minutes), never in CI:
#
#   nice -n 10 bash scripts/mutate.sh [--source DIR] [--build DIR] [--list FILE] [--only REGEX]
#                                     [--timeout SECONDS] [--jobs N] [--check]
#
# --source: the checkout to mutate (default: the one holding this script); --build: its build
# directory (default: SOURCE/build, configured without benchmarks when missing); --only: run the
# mutations whose name matches; --timeout: per test (a hang counts as killed); --check: only
# verify that every mutation still applies. Logs go to BUILD/mutate-logs/.
set -uo pipefail

SCRIPT_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
SOURCE="$(cd "$SCRIPT_DIR/.." && pwd)"
BUILD=""
LIST="$SCRIPT_DIR/mutations.txt"
ONLY=""
TEST_TIMEOUT=60
JOBS=2
CHECK_ONLY=0

die() { echo "mutate: $*" >&2; exit 2; }

while [ $# -gt 0 ]; do
    case "$1" in
        --source) SOURCE="$(cd "$2" && pwd)" || die "no directory $2"; shift 2 ;;
        --build) BUILD="$2"; shift 2 ;;
        --list) LIST="$2"; shift 2 ;;
        --only) ONLY="$2"; shift 2 ;;
        --timeout) TEST_TIMEOUT="$2"; shift 2 ;;
        --jobs) JOBS="$2"; shift 2 ;;
        --check) CHECK_ONLY=1; shift ;;
        -h|--help) sed -n '2,13p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) die "unknown option $1 (see --help)" ;;
    esac
done
BUILD="${BUILD:-$SOURCE/build}"
[ -f "$LIST" ] || die "no mutation list $LIST"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

# ---- The list ---------------------------------------------------------------------------------

NAMES=() ABOUT=() FILES=() ORIGINALS=() REPLACEMENTS=()

read_list() {
    local line n=-1
    while IFS= read -r line || [ -n "$line" ]; do
        case "$line" in
            "@ "*)
                n=$((n + 1))
                line="${line#@ }"
                NAMES[n]="${line%%[[:space:]]*}"
                ABOUT[n]="$(echo "${line#"${NAMES[n]}"}" | sed 's/^[[:space:]]*//')"
                FILES[n]="" ORIGINALS[n]="" REPLACEMENTS[n]="" ;;
            "file "*) FILES[n]="${line#file }" ;;
            # Consecutive "-" (or "+") lines make one text of several lines.
            "- "*) ORIGINALS[n]="${ORIGINALS[n]:+${ORIGINALS[n]}$'\n'}${line#- }" ;;
            "+ "*) REPLACEMENTS[n]="${REPLACEMENTS[n]:+${REPLACEMENTS[n]}$'\n'}${line#+ }" ;;
            "+") ;;
            ""|"#"*) ;;
            *) die "$LIST: cannot read the line: $line" ;;
        esac
    done < "$LIST"
    local i
    for i in "${!NAMES[@]}"; do
        [ -n "${FILES[i]}" ] && [ -n "${ORIGINALS[i]}" ] || die "$LIST: ${NAMES[i]} lacks its file or its text"
    done
}

# count_in TEXT PATTERN: how often PATTERN occurs in TEXT (0, 1 or 2 meaning "more than one").
count_in() {
    local text="$1" pattern="$2"
    case "$text" in *"$pattern"*) ;; *) echo 0; return ;; esac
    local rest="${text#*"$pattern"}"
    case "$rest" in *"$pattern"*) echo 2 ;; *) echo 1 ;; esac
}

# ---- Applying and restoring -----------------------------------------------------------------

BACKUP_DIR="$(mktemp -d)"
MUTATED=""  # the file that now holds a mutation, relative to SOURCE

restore() {
    if [ -n "$MUTATED" ]; then
        # A fresh time stamp, so the next build compiles the original again.
        cat "$BACKUP_DIR/original" > "$SOURCE/$MUTATED"
        MUTATED=""
    fi
}
cleanup() {
    restore
    rm -rf "$BACKUP_DIR"
}
trap cleanup EXIT
trap 'echo; echo "mutate: interrupted; the source is restored." >&2; exit 130' INT TERM

# apply N: puts mutation N into its file; fails with the reason in WHY when it does not apply.
WHY=""
apply() {
    local i="$1" path="$SOURCE/${FILES[$1]}" text=""
    [ -f "$path" ] || { WHY="file ${FILES[i]} is gone"; return 1; }
    IFS= read -r -d '' text < "$path"
    case "$(count_in "$text" "${ORIGINALS[i]}")" in
        0) WHY="text not found in ${FILES[i]}"; return 1 ;;
        2) WHY="text found more than once in ${FILES[i]}"; return 1 ;;
    esac
    cp "$path" "$BACKUP_DIR/original"
    MUTATED="${FILES[i]}"
    printf '%s' "${text/"${ORIGINALS[i]}"/"${REPLACEMENTS[i]}"}" > "$path"
}

build() { timeout 1800 cmake --build "$BUILD" -j"$JOBS" > "$1" 2>&1; }

# run_suite LOG: every CTest test, stopping at the first failure; fails when a test fails or hangs.
run_suite() {
    timeout 1800 ctest --test-dir "$BUILD" -j"$JOBS" --timeout "$TEST_TIMEOUT" --stop-on-failure \
        --output-on-failure > "$1" 2>&1
}

# The first failing test named in a CTest log.
first_failure() { grep -m1 -E '^[[:space:]]*[0-9]+ - [^ ]+ \(' "$1" | sed -E 's/^[[:space:]]*[0-9]+ - ([^ ]+) \((.*)\)$/\1 (\2)/'; }

# ---- Main -------------------------------------------------------------------------------------

read_list
SELECTED=()
for i in "${!NAMES[@]}"; do
    if [ -z "$ONLY" ] || [[ "${NAMES[i]}" =~ $ONLY ]]; then SELECTED+=("$i"); fi
done
[ ${#SELECTED[@]} -gt 0 ] || die "no mutation matches \"$ONLY\""

if [ "$CHECK_ONLY" = 1 ]; then
    status=0
    for i in "${SELECTED[@]}"; do
        if apply "$i"; then restore; else echo "not applicable: ${NAMES[i]}: $WHY"; status=1; fi
    done
    echo "${#SELECTED[@]} mutations checked."
    exit $status
fi

LOGS="$BUILD/mutate-logs"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    echo "== Configuring $BUILD"
    cmake -S "$SOURCE" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUMBREL_BENCH=OFF > /dev/null ||
        die "cannot configure $BUILD"
fi
mkdir -p "$LOGS"
started=$SECONDS
echo "== The unmutated suite ($SOURCE, $BUILD)"
build "$LOGS/baseline-build.log" || die "the unmutated tree does not build (see $LOGS/baseline-build.log)"
run_suite "$LOGS/baseline-test.log" || die "the unmutated suite fails (see $LOGS/baseline-test.log)"

killed=0 survived=0 inapplicable=0 total=${#SELECTED[@]} k=0
SURVIVORS=() INAPPLICABLE=()
for i in "${SELECTED[@]}"; do
    k=$((k + 1))
    name="${NAMES[i]}" t0=$SECONDS
    printf '[%2d/%d] %-36s ' "$k" "$total" "$name"
    if ! apply "$i"; then
        echo "NOT APPLICABLE ($WHY)"
        inapplicable=$((inapplicable + 1)) INAPPLICABLE+=("$name: $WHY")
        continue
    fi
    if ! build "$LOGS/$name-build.log"; then
        verdict="killed (build: see $LOGS/$name-build.log)"
        killed=$((killed + 1))
    elif ! run_suite "$LOGS/$name-test.log"; then
        verdict="killed by $(first_failure "$LOGS/$name-test.log")"
        killed=$((killed + 1))
    else
        verdict="SURVIVED"
        survived=$((survived + 1)) SURVIVORS+=("$name (${FILES[i]}): ${ABOUT[i]}")
    fi
    restore
    echo "$verdict [$((SECONDS - t0)) s]"
done

echo "== Rebuilding the unmutated tree"
build "$LOGS/final-build.log" || echo "mutate: the final rebuild failed (see $LOGS/final-build.log)" >&2

applied=$((killed + survived))
echo
echo "== Mutation check: $killed killed, $survived survived, $inapplicable not applicable of $total"
if [ "$applied" -gt 0 ]; then
    echo "Kill rate: $((100 * killed / applied)).$(( (1000 * killed / applied) % 10 )) % ($killed of $applied)"
fi
echo "Run time: $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s"
if [ ${#SURVIVORS[@]} -gt 0 ]; then
    echo "Surviving mutations:"
    printf '  %s\n' "${SURVIVORS[@]}"
fi
if [ ${#INAPPLICABLE[@]} -gt 0 ]; then
    echo "Not applicable (update the list):"
    printf '  %s\n' "${INAPPLICABLE[@]}"
fi

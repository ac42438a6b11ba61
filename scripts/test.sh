#!/usr/bin/env bash
# Builds everything into build/ and runs every test, then builds build-asan/ with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs every test there too.
# Fails when any build or any test fails. Set TUMBREL_SKIP_SANITIZERS=1 to skip the second pass.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# Tests never need a display or a sound card.
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

# run_ctest BUILD_DIR [CTEST_OPTIONS...]: prints CTest's summary; fails when a test fails.
run_ctest() {
    local build_dir="$1"
    shift
    (cd "$build_dir" && ctest -j"$JOBS" --timeout 600 --output-on-failure "$@")
}

install_packages

echo "== Build and test (build/)"
configure_and_build "$REPO_ROOT/build"
status=0
run_ctest "$REPO_ROOT/build" || status=1

if [ "${TUMBREL_SKIP_SANITIZERS:-0}" != "1" ]; then
    echo "== Build and test with ASan + UBSan (build-asan/)"
    configure_and_build "$REPO_ROOT/build-asan" -DTUMBREL_SANITIZE=ON -DTUMBREL_BENCH=OFF
    # Leaks are checked in every test process except those that open a GL context: Mesa and
    # LLVM keep allocations to the end of the process from libraries unloaded before the check,
    # so no suppression can name them. Programs the tests start (build/tumbrel) run without leak
    # checks for the same reason (tests/support/run_program.cpp).
    GL_CONTEXT_TESTS='^(Gl[A-Za-z]*Test|SdlWindowTest)\.'
    export LSAN_OPTIONS="suppressions=$REPO_ROOT/scripts/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    sanitizer_options="abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
    ASAN_OPTIONS="$sanitizer_options:detect_leaks=1" run_ctest "$REPO_ROOT/build-asan" -E "$GL_CONTEXT_TESTS" || status=1
    echo "== GL context tests with ASan + UBSan, without leak checks"
    ASAN_OPTIONS="$sanitizer_options:detect_leaks=0" run_ctest "$REPO_ROOT/build-asan" -R "$GL_CONTEXT_TESTS" || status=1
fi

if [ "$status" -ne 0 ]; then
    echo "FAILED: some tests failed (see above)." >&2
else
    echo "All tests passed."
fi
exit "$status"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The checked runs after the test suite: the suite again built with AddressSanitizer and
# UndefinedBehaviorSanitizer, a bounded fuzzing run from the corpus in tests/fuzz/corpus, and
# the unit tests under valgrind memcheck, and the Debian package built twice, which must come out
# the same. Run by test.sh; each step prints how long it took.
source "$(dirname "$0")/setup.sh"
install_missing "${KORIMO_CHECK_PACKAGES[@]}"

CHECKED_BUILD="$KORIMO_ROOT/build-asan"
FUZZ_SECONDS="${KORIMO_FUZZ_SECONDS:-60}"
export UBSAN_OPTIONS="print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$KORIMO_ROOT/tests/sanitizers/lsan.supp"

timed() {
    local start=$SECONDS
    "$@"
    echo "== $1: $((SECONDS - start)) s"
}

sanitized_suite() {
    KORIMO_BUILD="$CHECKED_BUILD" build_korimo -DCMAKE_CXX_COMPILER=clang++-14 -DKORIMO_SANITIZE=ON -DKORIMO_FUZZ=ON
    ctest --test-dir "$CHECKED_BUILD" --output-on-failure
}

# New inputs go to a scratch corpus; the kept one is only read. Leak checks after every input
# would slow the fuzzer tenfold; the sanitized suite and memcheck look for leaks instead.
fuzzing() {
    local work="$CHECKED_BUILD/fuzz"
    rm -rf "$work"
    mkdir -p "$work/corpus"
    if ! "$CHECKED_BUILD/tests/fuzz/fuzz_events" -max_total_time="$FUZZ_SECONDS" -timeout=10 -detect_leaks=0 \
        -print_final_stats=1 -artifact_prefix="$work/" "$work/corpus" "$KORIMO_ROOT/tests/fuzz/corpus" >"$work/log" 2>&1; then
        tail -n 80 "$work/log"
        return 1
    fi
    grep -E '^(Done|stat::)' "$work/log"
}

# The unit tests on the plain build, with a shorter random run: valgrind is some fifty times slower.
# The command-line, install-tree and package checks are scripts, and the screen reader's status
# runs inside a session bus's launcher: valgrind would check the shell, cmake or the launcher.
memcheck() {
    # Valgrind cannot follow the regular expressions' JIT code, which reads past a string's end
    # by design; interpreted, the same matching is checked.
    QT_ENABLE_REGEXP_JIT=0 \
    KORIMO_RANDOM_EVENTS=20000 ctest --test-dir "$KORIMO_BUILD" -L unit -E '^(command_line|install_tree|deb_package|setup_script|desktop_entry_valid|metainfo_valid|tst_screenreaderstatus)$' -T memcheck \
        --overwrite MemoryCheckCommand="$(command -v valgrind)" \
        --overwrite "MemoryCheckCommandOptions=--error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite --show-leak-kinds=definite --num-callers=30" \
        || { cat "$KORIMO_BUILD"/Testing/Temporary/MemoryChecker.*.log; return 1; }
}

reproducible_package() {
    "$KORIMO_ROOT/scripts/check_reproducible.sh"
}

timed sanitized_suite
timed fuzzing
timed memcheck
timed reproducible_package

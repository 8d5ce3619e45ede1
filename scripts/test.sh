#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every check of Ondalyx, stage by stage.
# Stops at the first stage that fails and exits non-zero.
#   scripts/test.sh               all stages
#   scripts/test.sh unit_tests    only the named stages (deps always runs first)
# ONDALYX_TEST_BUILD_DIR chooses another build directory (default: build-test/ in the source tree).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ONDALYX_TEST_BUILD_DIR:-$root/build-test}"
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

# --- Stages: one function each -------------------------------------------------------------

deps() {
    "$root/scripts/deps.sh"
}

# Every C++ file under src/, tests/, bench/ and fuzz/ laid out as .clang-format says, by Debian
# 12's clang-format (14; other versions lay some lines out differently). Names every file that
# differs; `clang-format -i FILE` lays it out.
format() {
    command -v clang-format >/dev/null || {
        echo "format: clang-format is missing (scripts/deps.sh installs it)" >&2
        return 1
    }
    local file differ=()
    while IFS= read -r -d '' file; do
        clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || differ+=("${file#"$root"/}")
    done < <(find "$root/src" "$root/tests" "$root/bench" "$root/fuzz" -type f \
        \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
    if ((${#differ[@]} > 0)); then
        echo "format: $(clang-format --version) lays these files out differently:" >&2
        printf '  %s\n' "${differ[@]}" >&2
        return 1
    fi
}

# Configure and build every target, then run the whole CTest suite. A suite that finds no test
# at all fails too: that means the test programs went missing from the build.
unit_tests() {
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" -j"$jobs"
    ctest --test-dir "$build" --output-on-failure --no-tests=error
}

# The Debian package, made by CPack from the unit_tests build: its fields, its Depends, its files
# (the same as `cmake --install`), and its program, unpacked into a scratch folder (never installed
# on this machine), writing the report of the diesel sample.
package() {
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" -j"$jobs"
    "$root/tests/check_package.sh" "$build" "$root/examples/diesel.csv"
}

# The sanitizer builds use -O1 with line tables only: half the compile time of -O2 -g, and stack
# traces that still name every function and line.
lean_flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG")

# The whole test suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer in a build
# directory of its own: any memory fault, leak or undefined behaviour fails the test that hit it.
# Its core is the portable one (ONDALYX_PORTABLE: plain heap memory, no Linux huge pages), as on a
# system other than Linux, so the plain C++ path is built and tested too; the huge-page path is
# the one the unit tests run.
sanitizers() {
    local dir="${ONDALYX_SANITIZE_BUILD_DIR:-$build-sanitize}"
    cmake -S "$root" -B "$dir" "${lean_flags[@]}" -DONDALYX_SANITIZE=ON -DONDALYX_PORTABLE=ON \
        -DONDALYX_BENCH=OFF
    cmake --build "$dir" -j"$jobs"
    ASAN_OPTIONS=detect_leaks=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir "$dir" --output-on-failure --no-tests=error
}

# The fuzzer (clang's libFuzzer, with ASan and UBSan) built in its own directory and run for a
# minute on the seed corpus. New inputs go to a scratch folder; a crash, hang or leak fails the
# stage and leaves the input that caused it in the build directory.
fuzz() {
    local dir="${ONDALYX_FUZZ_BUILD_DIR:-$build-fuzz}"
    CC=clang CXX=clang++ cmake -S "$root" -B "$dir" "${lean_flags[@]}" -DONDALYX_FUZZ=ON \
        -DONDALYX_SANITIZE=ON -DONDALYX_BENCH=OFF -DBUILD_TESTING=OFF
    cmake --build "$dir" -j"$jobs" --target ondalyx_fuzz
    local corpus="$dir/corpus-run"
    rm -rf "$corpus"
    mkdir -p "$corpus" "$dir/findings"
    # libFuzzer reports every new input: the log is kept whole in the build directory and only
    # its end is shown.
    if ! "$dir/fuzz/ondalyx_fuzz" -max_total_time="${ONDALYX_FUZZ_SECONDS:-60}" -timeout=10 \
        -rss_limit_mb=4096 -max_len=2048 -dict="$root/fuzz/ondalyx.dict" -print_final_stats=1 \
        -artifact_prefix="$dir/findings/" "$corpus" "$root/fuzz/corpus" >"$dir/fuzz.log" 2>&1; then
        tail -n 80 "$dir/fuzz.log"
        echo "fuzz: the failing input is in $dir/findings/" >&2
        return 1
    fi
    grep -E '^(Done|stat::)' "$dir/fuzz.log"
}

# The real program in a real X window (Xvfb): opens the diesel sample, checks its caption and a
# screenshot, closes it as a window manager would and expects exit status 0.
smoke() {
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" -j"$jobs" --target ondalyx
    "$root/tests/smoke.sh" "$build/src/ondalyx" "$root/examples/diesel.csv" "$build/smoke"
}

# --- Driver ---------------------------------------------------------------------------------

current=""
passed=()
report() {
    local status=$?
    if ((status != 0)); then
        echo "==== FAILED: ${current:-setup} (exit $status)" >&2
    else
        echo "==== all stages passed: ${passed[*]}"
    fi
}
trap report EXIT

stage() {
    current="$1"
    if ! declare -F "$1" >/dev/null; then
        echo "no such stage: $1" >&2
        return 2
    fi
    local started=$SECONDS
    echo "==== $1"
    "$1"
    echo "==== $1 passed ($((SECONDS - started)) s)"
    passed+=("$1")
    current=""
}

stage deps
if (($# > 0)); then
    for name in "$@"; do
        stage "$name"
    done
    exit 0
fi

# Every stage, in order: a new stage is a function above and one line here.
stage format
stage unit_tests
stage package
stage smoke
stage sanitizers
stage fuzz

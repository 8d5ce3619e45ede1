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

# Configure and build every target, then run the whole CTest suite. A suite that finds no test
# at all fails too: that means the test programs went missing from the build.
unit_tests() {
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" -j"$jobs"
    ctest --test-dir "$build" --output-on-failure --no-tests=error
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
stage unit_tests

#!/usr/bin/env bash
# Installs what is missing, builds Ondalyx (Release) and starts it on the diesel sample log.
# Arguments, when given, replace the sample log: scripts/run.sh /path/to/log.csv
# ONDALYX_BUILD_DIR chooses another build directory (default: build/ in the source tree).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ONDALYX_BUILD_DIR:-$root/build}"

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j"$(nproc)" --target ondalyx

if (($# == 0)); then
    set -- "$root/examples/diesel.csv"
fi
exec "$build/src/ondalyx" "$@"

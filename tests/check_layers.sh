#!/usr/bin/env bash
# Includes go one way only: gui -> program -> core. A file of src/core includes only core headers,
# one of src/program core and program headers; neither includes a Qt Widgets, Print Support or
# QCustomPlot header (those belong to the windows).
#   check_layers.sh SRC_DIR WIDGET_HEADER_DIR...   checks the tree, lists every wrong include
#   check_layers.sh --plant SRC_DIR WIDGET_HEADER_DIR...   checks that a wrong include planted in
#                                                          a copy of the tree is caught, also in
#                                                          a folder nested in a layer
set -uo pipefail

check() {
    local src="${1%/}"
    shift
    local found=0 file line header
    while IFS= read -r file; do
        # The layer is the first folder under src/, however deep the file lies in it.
        local layer allowed
        layer="${file#"$src"/}"
        layer="${layer%%/*}"
        case "$layer" in
            core) allowed='core' ;;
            program) allowed='core|program' ;;
            *) continue ;;
        esac
        while IFS= read -r line; do
            if [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
                header="${BASH_REMATCH[1]}"
                if ! [[ "$header" =~ ^($allowed)/ ]]; then
                    echo "$file: $layer includes \"$header\""
                    found=1
                fi
            elif [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]+)\> ]]; then
                header="${BASH_REMATCH[1]}"
                local widget=0 dir
                [[ "$header" =~ ^(QtWidgets|QtPrintSupport|QtOpenGLWidgets)/ ||
                   "$header" == qcustomplot.h ]] && widget=1
                for dir in "$@"; do
                    [[ -e "$dir/$header" ]] && widget=1
                done
                if ((widget)); then
                    echo "$file: $layer includes the window header <$header>"
                    found=1
                fi
            fi
        done <"$file"
    done < <(find "$src/core" "$src/program" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
    return $found
}

if [[ "${1:-}" == --plant ]]; then
    shift
    src="$1"
    shift
    scratch="$(mktemp -d)"
    trap 'rm -rf "$scratch"' EXIT
    failed=0
    for plant in 'core:#include "program/AppState.h"' 'core:#include "gui/Form1.h"' \
        'program:#include "gui/ChartView.h"' 'core:#include <QWidget>' \
        'program:#include <qcustomplot.h>' 'core/parsers:#include "gui/Form1.h"'; do
        rm -rf "$scratch/src"
        cp -r "$src" "$scratch/src"
        mkdir -p "$scratch/src/${plant%%:*}"
        echo "${plant#*:}" >>"$scratch/src/${plant%%:*}/planted.h"
        if check "$scratch/src" "$@" >/dev/null; then
            echo "not caught: ${plant%%:*} with ${plant#*:}"
            failed=1
        fi
    done
    exit $failed
fi

src="$1"
shift
check "$src" "$@" && echo "includes go one way: gui -> program -> core"

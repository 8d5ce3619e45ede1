#!/usr/bin/env bash
# Checks an installed Ondalyx: exactly the files it should have, a desktop entry and a metainfo
# file that their validators accept and that point at each other, the icon at every size, a manual
# page that formats without a warning, and a program that writes the report of LOG.
#   check_install.sh PREFIX LOG             checks the files under PREFIX (bin/, share/)
#   check_install.sh --install BUILD LOG    installs BUILD (cmake --install) into a scratch
#                                           prefix, then checks it
#   check_install.sh --list                 prints the files an install holds, one a line
set -euo pipefail

icon_sizes=(16 32 48 64 128 256)
metainfo_id=org.ondalyx.ondalyx

expected_files() {
    {
        echo bin/ondalyx
        echo share/applications/ondalyx.desktop
        for size in "${icon_sizes[@]}"; do
            echo "share/icons/hicolor/${size}x${size}/apps/ondalyx.png"
        done
        echo "share/metainfo/$metainfo_id.metainfo.xml"
        echo share/man/man1/ondalyx.1
    } | LC_ALL=C sort
}

fail() {
    echo "check_install: FAILED: $*" >&2
    exit 1
}

if [[ "${1:-}" == --list ]]; then
    expected_files
    exit 0
fi

scratch=""
trap '[[ -z "$scratch" ]] || rm -rf "$scratch"' EXIT
if [[ "${1:-}" == --install ]]; then
    (($# == 3)) || fail "usage: check_install.sh --install BUILD LOG"
    scratch="$(mktemp -d)"
    cmake --install "$2" --prefix "$scratch/prefix" >"$scratch/install.log" ||
        fail "cmake --install $2: $(cat "$scratch/install.log")"
    prefix="$scratch/prefix"
    log="$3"
else
    (($# == 2)) || fail "usage: check_install.sh PREFIX LOG"
    prefix="$1"
    log="$2"
fi
[[ -d "$prefix" ]] || fail "no folder $prefix"

# Exactly these files, nothing more.
found="$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)"
if [[ "$found" != "$(expected_files)" ]]; then
    diff <(expected_files) <(echo "$found") >&2 || true
    fail "the files under $prefix are not the expected ones (< expected, > found)"
fi
[[ -x "$prefix/bin/ondalyx" ]] || fail "bin/ondalyx is not executable"

# The desktop entry: valid, and starting the installed program with its icon.
desktop="$prefix/share/applications/ondalyx.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
key() { sed -n "s/^$1=//p" "$desktop"; }
[[ "$(key Exec)" == "ondalyx %f" ]] || fail "Exec is \"$(key Exec)\""
[[ "$(key Icon)" == ondalyx ]] || fail "Icon is \"$(key Icon)\""
[[ "$(key MimeType)" == "text/csv;" ]] || fail "MimeType is \"$(key MimeType)\""

# The metainfo: valid offline, its component launched by that desktop entry and providing the
# program.
metainfo="$prefix/share/metainfo/$metainfo_id.metainfo.xml"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli rejects $metainfo"
grep -q "<id>$metainfo_id</id>" "$metainfo" || fail "the metainfo's id is not $metainfo_id"
grep -q '<launchable type="desktop-id">ondalyx.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch ondalyx.desktop"
grep -q '<binary>ondalyx</binary>' "$metainfo" || fail "the metainfo does not provide bin/ondalyx"

# The icon: a PNG of its folder's size at each size.
for size in "${icon_sizes[@]}"; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/ondalyx.png"
    got="$(identify -format '%m %wx%h' "$icon")" || fail "cannot read $icon"
    [[ "$got" == "PNG ${size}x${size}" ]] || fail "$icon is $got, expected PNG ${size}x${size}"
done

# The manual page: formats without a single warning.
man="$prefix/share/man/man1/ondalyx.1"
warnings="$(groff -k -man -Tutf8 -ww -z "$man" 2>&1)" || fail "groff fails on $man: $warnings"
[[ -z "$warnings" ]] || fail "groff warns about $man: $warnings"
grep -q '^\.SH NOMBRE' "$man" && grep -q '^ondalyx \\- ' "$man" ||
    fail "$man has no name line for the manual's index"

# The installed program itself.
out="$("$prefix/bin/ondalyx" --report "$log")" || fail "bin/ondalyx --report $log failed"
[[ "$out" == *'"engine":"Diesel"'* ]] || fail "the report of $log does not say \"engine\":\"Diesel\""

echo "check_install: $(expected_files | wc -l) files under $prefix as expected, all checks passed"

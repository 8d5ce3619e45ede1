#!/usr/bin/env bash
# Makes the Debian package from a build folder with CPack and checks it without installing it:
# its name and fields, its Depends (the libraries dpkg-shlibdeps found, plus the two data packages
# named by hand), a stripped program, the same files as `cmake --install`, and the unpacked
# package checked as an install (tests/check_install.sh) down to its program's report of LOG.
#   check_package.sh BUILD LOG
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(realpath "$1")"
log="$(realpath "$2")"

fail() {
    echo "check_package: FAILED: $*" >&2
    exit 1
}

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

out="$build/package"
rm -rf "$out"
(cd "$build" && cpack -G DEB -B "$out" >"$scratch/cpack.log" 2>&1) ||
    fail "cpack: $(cat "$scratch/cpack.log")"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
architecture="$(dpkg --print-architecture)"
deb="$out/ondalyx_${version}_${architecture}.deb"
[[ -f "$deb" ]] || fail "no $deb; cpack wrote: $(ls "$out")"
echo "check_package: $deb ($(du -k "$deb" | cut -f1) KiB)"

# The fields.
field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == ondalyx ]] || fail "Package is \"$(field Package)\""
[[ "$(field Version)" == "$version" ]] || fail "Version is \"$(field Version)\""
[[ "$(field Architecture)" == "$architecture" ]] || fail "Architecture is \"$(field Architecture)\""
[[ "$(field Section)" == science ]] || fail "Section is \"$(field Section)\""
[[ -n "$(field Maintainer)" && -n "$(field Description)" ]] || fail "no Maintainer or Description"

# Depends: every library the program links, by its package, and the two data packages.
depends="$(field Depends)"
echo "check_package: Depends: $depends"
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqcustomplot2.1-qt6 \
    qt6-qpa-plugins qt6-translations-l10n; do
    [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
        fail "Depends lacks $package"
done

# The same files as `cmake --install`, under /usr.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | sed 's|^\./usr/||' | LC_ALL=C sort \
    >"$scratch/package.list"
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
(cd "$scratch/prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) >"$scratch/install.list"
diff "$scratch/install.list" "$scratch/package.list" >&2 ||
    fail "the package's files differ from cmake --install's (< install, > package)"
diff <("$here/check_install.sh" --list) "$scratch/package.list" >&2 ||
    fail "the package's files are not the expected ones (< expected, > package)"

# Unpacked into the scratch folder, never onto this machine.
dpkg-deb -x "$deb" "$scratch/root"
if readelf -S "$scratch/root/usr/bin/ondalyx" | grep -q '\.debug_'; then
    fail "the packaged program is not stripped"
fi
"$here/check_install.sh" "$scratch/root/usr" "$log"
echo "check_package: the package holds $(wc -l <"$scratch/package.list") files, all checks passed"

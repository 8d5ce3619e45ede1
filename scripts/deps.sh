#!/usr/bin/env bash
# Installs the Debian 12 packages that Ondalyx needs to build, test and run, when any is missing.
# Runs as root, or as a user with sudo.
set -euo pipefail

packages=(
    build-essential cmake                         # compiler and build: cc, readelf, cmake, cpack
    qt6-base-dev qt6-qpa-plugins libqcustomplot-dev # Qt 6 widgets and the chart widget
    xvfb xauth x11-apps x11-utils imagemagick     # headless X server (Xvfb), window look-up
                                                  # (xwininfo, xprop), screenshots and pictures
                                                  # (import, convert, identify)
    libx11-dev                                    # the smoke test's window-closing tool
    clang libclang-rt-14-dev                      # fuzzer and sanitizer builds
    clang-format                                  # the format stage: Debian 12 has version 14
    qt6-translations-l10n                         # Qt's Spanish texts for the standard dialogs
    dpkg-dev file                                 # the Debian package: dpkg-shlibdeps, and file,
                                                  # by which CPack finds the programs it looks at
    desktop-file-utils appstream groff-base       # checks of the desktop entry, metainfo, manual
)

missing=()
for package in "${packages[@]}"; do
    status="$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)"
    [[ "$status" == installed ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    echo "deps: all ${#packages[@]} packages present"
    exit 0
fi

as_root=()
if [[ "$(id -u)" -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
        echo "deps: missing ${missing[*]}; run this as root or install sudo" >&2
        exit 1
    fi
    as_root=(sudo)
fi

echo "deps: installing ${missing[*]}"
# sudo drops most of the environment, so the setting goes through env.
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=300)
"${apt[@]}" update
"${apt[@]}" install -y "${missing[@]}"

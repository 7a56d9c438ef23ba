#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing BVIBAN need,
# but only those that are missing, so that a second run costs a few milliseconds.
# Usage: scripts/install-deps.sh [windows]
#   windows: also what the Windows build needs (cross-compiling, Wine, NSIS), which
#   `make test` does not.
set -euo pipefail

packages=(
    build-essential cmake make
    qt6-base-dev qt6-translations-l10n libxkbcommon-dev libgl-dev libfontconfig-dev
    fonts-liberation fonts-dejavu-core fonts-wine
    xvfb xauth x11-utils xdotool xclip imagemagick
    clang
    openbox at-spi2-core dbus-daemon python3-pyatspi
    lintian desktop-file-utils appstream help2man locales man-db dpkg-dev file
    pkg-config libzip-dev zlib1g-dev python3-openpyxl
)
case "${1:-}" in
    '') ;;
    windows)
        packages+=(
            g++-mingw-w64-x86-64-posix libz-mingw-w64-dev ninja-build xz-utils wine wine64 nsis
        ) ;;
    *) echo "usage: $0 [windows]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    # A package whose triggers have yet to run (man-db, desktop-file-utils after an install)
    # is installed all the same.
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null |
        grep -Eq 'install ok (installed|triggers-pending|triggers-awaited)'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
echo "BVIBAN: installing missing Debian packages: ${missing[*]}"
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"

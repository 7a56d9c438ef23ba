#!/usr/bin/env bash
# Checks the Debian package as a user meets it: lintian has no error and no warning that is not
# overridden; apt-get installs it; the installed programs work from PATH and from the menu entry
# (test_installed.py against /usr); a purge leaves nothing of it under /usr.
# Usage: check-package.sh bviban_<version>_<architecture>.deb   (as root, or with sudo)
set -euo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "usage: $0 PACKAGE.deb" >&2
    exit 2
fi
deb=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive

echo "check-package: lintian"
lintian --display-info --show-overrides --fail-on error,warning "$deb"

echo "check-package: the design faces come with the dependencies"
depends=$(dpkg-deb --field "$deb" Depends)
for face in /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf \
    /usr/share/wine/fonts/tahoma.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf; do
    owner=$(dpkg-query -S "$face" | cut -d: -f1)
    if ! grep -Eq "(^|, )$owner( |,|$)" <<<"$depends"; then
        echo "check-package: $face comes from $owner, which is no dependency: $depends" >&2
        exit 1
    fi
done

if dpkg-query -W -f='${Status}' bviban 2>/dev/null | grep -q 'install ok installed'; then
    echo "check-package: bviban is already installed; remove it first" >&2
    exit 1
fi

purge() { "${sudo[@]}" apt-get purge -y -q bviban >/dev/null; }
trap purge EXIT

echo "check-package: apt-get install"
# The recommended translations and xdg-utils are left out: the dependencies alone must run the
# program.
"${sudo[@]}" apt-get install -y -q --no-install-recommends "$deb" >/dev/null

echo "check-package: the installed programs"
(cd "$here" && BVIBAN_PREFIX=/usr BVIBAN_VERSION="$(dpkg-deb --field "$deb" Version)" \
    PYTHONPATH="$here/../e2e" PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 -m unittest test_installed)

echo "check-package: purge"
mapfile -t owned < <(dpkg-query -L bviban)
trap - EXIT
purge
left=()
for path in "${owned[@]}"; do
    [ "$path" = /. ] && continue
    if [ -d "$path" ] && [ ! -L "$path" ]; then
        # Folders that other packages own too (/usr/share/man/man1...) stay; the package's own go.
        dpkg-query -S "$path" >/dev/null 2>&1 || left+=("$path")
    elif [ -e "$path" ] || [ -L "$path" ]; then
        left+=("$path")
    fi
done
# Anything else of the program's name, such as files its scripts or triggers could have made
# (/usr/local is the administrator's, not the package's).
mapfile -t -O "${#left[@]}" left < <(find /usr -path /usr/local -prune -o -name '*bviban*' -print)
if [ ${#left[@]} -ne 0 ]; then
    printf 'check-package: left behind after the purge: %s\n' "${left[@]}" >&2
    exit 1
fi
echo "check-package: passed"

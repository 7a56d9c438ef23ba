#!/usr/bin/env bash
# Runs a command on a private X display (Xvfb under openbox) with a private, freshly booted Wine
# prefix, and ends both afterwards. The command gets DISPLAY, WINEPREFIX, WINEDEBUG,
# WINEDLLOVERRIDES and WINEPATH in its environment.
# Usage: tests/windows/wine-session.sh COMMAND [ARGUMENTS...]
set -euo pipefail

boot_timeout=${WINE_BOOT_TIMEOUT:-300}
cache=$("$(dirname "$0")/../../scripts/build-windows-deps.sh" --print-cache)
session=$(mktemp -d "${TMPDIR:-/tmp}/bviban-wine.XXXXXX")
say() { echo "wine-session: $*" >&2; }

xvfb= openbox=
finish() {
    WINEPREFIX=$session/prefix wineserver -k 2>/dev/null || true
    [ -n "$openbox" ] && kill "$openbox" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null || true
    rm -rf "$session"
}
trap finish EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display and writes its number when it is ready.
exec 3>"$session/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$session/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$session/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$session/xvfb.log" >&2; say "Xvfb did not start"; exit 1; }
    sleep 0.1
done
[ -s "$session/display" ] || { say "Xvfb gave no display within 10 s"; exit 1; }
export DISPLAY=:$(cat "$session/display")
openbox --sm-disable >"$session/openbox.log" 2>&1 &
openbox=$!

export WINEPREFIX=$session/prefix WINEARCH=win64 WINEDEBUG=-all
# Qt's messages and QTest's results go to the standard streams, not to the debugger, although
# the programs have no console window.
export QT_FORCE_STDERR_LOGGING=1
# No offer to download Mono or Gecko, which the programs do not use; no Start-menu entry copied
# into this machine's own menus, which would outlive the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
# The test programs of the build tree find Qt's DLLs and the MinGW-w64 runtime there.
windows_name() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
WINEPATH=$(windows_name "$cache/qt/bin")
for dll in libstdc++-6.dll libwinpthread-1.dll; do
    WINEPATH+=";$(windows_name "$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)")")"
done
export WINEPATH

# A new prefix's first start takes a while: wait for it, but not forever.
say "booting a new Wine prefix in $WINEPREFIX (at most $boot_timeout s)"
started=$SECONDS
if ! timeout "$boot_timeout" sh -c 'wine wineboot --init && wineserver --wait' \
    >"$session/wineboot.log" 2>&1; then
    cat "$session/wineboot.log" >&2
    say "Wine's first start (wineboot) did not end within $boot_timeout s; is wine installed" \
        "(scripts/install-deps.sh windows)?"
    exit 1
fi
say "Wine ready in $((SECONDS - started)) s"
# One server for the whole command, rather than one per program, and Wine's own services
# started now: started by the command's first program, they would hold its output open.
wineserver --persistent
wine cmd /c exit </dev/null >/dev/null 2>&1
"$@"

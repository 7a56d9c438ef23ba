#!/usr/bin/env bash
# Builds the Windows libraries that `make windows` links, with Debian's MinGW-w64 (POSIX
# threads) from Debian's own sources, into a cache outside the source tree:
#   $BVIBAN_WINDOWS_CACHE (default ~/.cache/bviban-windows)
#     qt/    Qt 6 (Core, Gui, Widgets, Network, Test and the Windows plug-ins) as DLLs, so that
#            users may replace them as the LGPLv3 asks
#     libs/  libzip as a static library (zlib is Debian's libz-mingw-w64-dev)
# Each folder is rebuilt when its recipe (the function below that builds it, and the toolchain)
# changes, and counts as built only when its completion stamp holds that recipe's hash: a failed
# or interrupted build leaves no folder that a later run takes as complete.
# Usage: scripts/build-windows-deps.sh [--print-cache | qt | libs]
#   --print-cache names the cache; qt or libs builds that part alone.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
cache=${BVIBAN_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/bviban-windows}
jobs=${JOBS:-$(nproc)}
toolchain_source=$source_dir/cmake/mingw-w64.cmake

if [ "${1:-}" = --print-cache ]; then
    echo "$cache"
    exit 0
fi

say() { echo "windows-deps: $*"; }

# --- Sources through apt, with a private list of deb-src entries --------------------------------
# The machine's apt configuration is left alone: its Debian entries are copied as deb-src
# entries into a private sources file, with private package lists, so that `apt-get source` finds
# the very versions the machine installs.
apt_dir=$cache/apt
apt_options=(
    -o "Dir::Etc::SourceList=$apt_dir/debian-sources.sources"
    -o "Dir::Etc::SourceParts=$apt_dir/no-parts"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir/cache"
    -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache="
    -o "APT::Sandbox::User=root"
)

write_deb_src_entries() {
    local list=/etc/apt/sources.list
    {
        # deb822 entries (Debian 12's default): every Debian paragraph, with deb-src types.
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -f "$f" ] || continue
            awk 'BEGIN { RS = ""; ORS = "\n\n" }
                 /URIs:[^\n]*debian/ && /Types:[^\n]*deb/ {
                     sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f"
        done
        # One-line entries of the older format, as deb822 paragraphs.
        if [ -f "$list" ]; then
            awk '$1 == "deb" && $2 ~ /debian/ {
                     uri = $2; suite = $3; $1 = $2 = $3 = ""; sub(/^ +/, "")
                     printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n\n", uri, suite, $0 }' \
                "$list" | sed 's/\[[^]]*\] *//'
        fi
    } >"$apt_dir/debian-sources.sources.new"
    if ! grep -q '^Types: deb-src' "$apt_dir/debian-sources.sources.new"; then
        say "no Debian entry found in the apt sources of this machine" >&2
        exit 1
    fi
    mv "$apt_dir/debian-sources.sources.new" "$apt_dir/debian-sources.sources"
}

apt_ready=
apt_prepare() {
    [ -n "$apt_ready" ] && return
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/no-parts"
    write_deb_src_entries
    apt-get "${apt_options[@]}" -q update >"$cache/logs/apt.log" 2>&1 ||
        { tail -n 20 "$cache/logs/apt.log"; exit 1; }
    apt_ready=1
}

# unpack_source PACKAGE FOLDER: Debian's source package, with Debian's patches applied.
unpack_source() {
    local package=$1 folder=$2 downloads=$cache/sources/$1
    if ! ls "$downloads"/*.dsc >/dev/null 2>&1; then
        apt_prepare
        # The newest version first; an older one when a mirror lacks the newest's files.
        local version
        for version in $(apt-cache "${apt_options[@]}" showsrc "$package" |
            sed -n 's/^Version: //p' | sort -u | sort -r -V); do
            rm -rf "$downloads.partial" && mkdir -p "$downloads.partial"
            if (cd "$downloads.partial" &&
                apt-get "${apt_options[@]}" -q source --download-only "$package=$version") \
                >>"$cache/logs/apt.log" 2>&1; then
                rm -rf "$downloads" && mv "$downloads.partial" "$downloads"
                break
            fi
        done
        if ! ls "$downloads"/*.dsc >/dev/null 2>&1; then
            tail -n 20 "$cache/logs/apt.log"
            say "apt-get could not download the source of $package" >&2
            exit 1
        fi
    fi
    rm -rf "$folder"
    dpkg-source --no-check -x "$downloads"/*.dsc "$folder" >/dev/null
}

# --- Recipes ------------------------------------------------------------------------------------
# Each builds into $prefix from sources unpacked under $work. Changing one rebuilds its folder.

recipe_qt() {
    unpack_source qt6-base "$work/qtbase"
    # Qt's own flag handling would compile Core and Gui at -O3; plain -O2 everywhere builds
    # sooner and the program does not need more. The host tools (moc, rcc, uic) are Debian's.
    # Off: what the programs do not use. Tablet support needs wintab.h, which Debian's source
    # lacks; Qt 6.4.2's Windows plug-in needs the DirectWrite 3 font database whenever
    # directwrite3 is on, which Gui builds only with Direct2D.
    cmake -S "$work/qtbase" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$cache/toolchain.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -dumpmachine)/cmake" \
        -DCMAKE_BUILD_TYPE=Release -DQT_USE_DEFAULT_CMAKE_OPTIMIZATION_FLAGS=ON \
        -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DBUILD_SHARED_LIBS=ON -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DFEATURE_ltcg=OFF \
        -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF \
        -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF \
        -DFEATURE_style_windowsvista=OFF -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF \
        -DFEATURE_freetype=OFF -DFEATURE_jpeg=OFF -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF \
        -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF \
        -DFEATURE_zstd=OFF -DFEATURE_brotli=OFF -DFEATURE_gssapi=OFF -DFEATURE_dtls=OFF \
        -DFEATURE_ocsp=OFF -DINPUT_openssl=no \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_png=OFF -DFEATURE_system_doubleconversion=OFF
    cmake --build "$work/build" --parallel "$jobs"
    cmake --install "$work/build"
    # The licence texts travel with the DLLs.
    mkdir -p "$prefix/licenses"
    cp "$work"/qtbase/LICENSES/*.txt "$work/qtbase/debian/copyright" "$prefix/licenses/"
}

# cmake_library SOURCE BUILD [OPTIONS...]: a static Release library into $prefix.
cmake_library() {
    local source=$1 build=$2
    shift 2
    cmake -S "$source" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$cache/toolchain.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
        -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_INSTALL_LIBDIR=lib "$@"
    cmake --build "$build" --parallel "$jobs"
    cmake --install "$build"
}

recipe_libs() {
    local zlib=(-DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include
        -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a)
    unpack_source libzip "$work/libzip"
    cmake_library "$work/libzip" "$work/build-libzip" "${zlib[@]}" \
        -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF \
        -DENABLE_WINDOWS_CRYPTO=OFF -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF \
        -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF

    # A static-only prefix: the pkg-config file names all that linking needs, and tells the
    # headers not to expect a DLL.
    sed -i -e '/^Libs.private:/d' -e 's/^Libs: .*/& -lz -ladvapi32/' \
        -e 's/^Cflags: .*/& -DZIP_STATIC/' "$prefix/lib/pkgconfig/libzip.pc"
    grep -q '^Libs: .*-lz ' "$prefix/lib/pkgconfig/libzip.pc"
}

# --- Driver -------------------------------------------------------------------------------------

# build_folder NAME: runs recipe_NAME into $cache/NAME unless its stamp holds the recipe's hash.
build_folder() {
    local name=$1 hash
    hash=$( { declare -f "recipe_$name"; cat "$toolchain_source"; } | sha256sum | cut -c1-16)
    prefix=$cache/$name
    work=$cache/work/$name
    if [ "$(cat "$prefix/.complete" 2>/dev/null)" = "$hash" ]; then
        say "$name ready in $prefix"
        return
    fi
    say "building $name into $prefix (log: $cache/logs/$name.log)"
    rm -rf "$prefix" "$work"
    mkdir -p "$prefix" "$work"
    local started=$SECONDS status
    # A subshell of its own, so that the recipe stops at its first failing command.
    set +e
    (
        set -e
        "recipe_$name"
    ) >"$cache/logs/$name.log" 2>&1
    status=$?
    set -e
    if [ $status -ne 0 ]; then
        tail -n 40 "$cache/logs/$name.log"
        say "building $name failed; the whole log is $cache/logs/$name.log" >&2
        exit 1
    fi
    rm -rf "$work"
    echo "$hash" >"$prefix/.complete.new" && mv "$prefix/.complete.new" "$prefix/.complete"
    say "$name built in $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"
}

mkdir -p "$cache/logs"
# One build at a time per cache.
exec 9>"$cache/.lock"
if ! flock -n 9; then
    say "waiting for another build of $cache to finish"
    flock 9
fi
cp "$toolchain_source" "$cache/toolchain.cmake"
case "${1:-}" in
    qt | libs) build_folder "$1" ;;
    '') build_folder qt && build_folder libs ;;
    *) echo "usage: $0 [--print-cache | qt | libs]" >&2; exit 2 ;;
esac

# Cross-compiling for Windows: Qt and the converter's libraries come from the cache that
# scripts/build-windows-deps.sh fills (BVIBAN_WINDOWS_CACHE), Qt's host tools (moc, rcc, uic)
# from Debian's Qt of the build machine.
set(BVIBAN_WINDOWS_CACHE "" CACHE PATH "The Windows libraries built by scripts/build-windows-deps.sh")
foreach(folder qt libs)
    if(NOT EXISTS ${BVIBAN_WINDOWS_CACHE}/${folder}/.complete)
        message(FATAL_ERROR "No complete Windows libraries in BVIBAN_WINDOWS_CACHE "
            "(${BVIBAN_WINDOWS_CACHE}): run scripts/build-windows-deps.sh first.")
    endif()
endforeach()
list(APPEND CMAKE_FIND_ROOT_PATH ${BVIBAN_WINDOWS_CACHE}/qt ${BVIBAN_WINDOWS_CACHE}/libs)
set(QT_HOST_PATH /usr)
execute_process(COMMAND gcc -dumpmachine OUTPUT_VARIABLE host_triplet
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${host_triplet}/cmake)
# Every library but Qt is linked in: static archives only, never a DLL's import library.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
# pkg-config sees only the Windows libraries, never the build machine's.
set(ENV{PKG_CONFIG_LIBDIR}
    "${BVIBAN_WINDOWS_CACHE}/libs/lib/pkgconfig:/usr/x86_64-w64-mingw32/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

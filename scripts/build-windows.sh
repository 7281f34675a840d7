#!/usr/bin/env bash
# Cross-builds the Windows program and its Windows tests with MinGW-w64 against the Qt 6 for
# Windows kept in <repo>/../shared/toolchains, and stages a self-contained copy of the program:
#
#   build-windows/remedor.exe, the test programs, and
#   build-windows/bundle/            remedor.exe, the Qt and MinGW run-time DLLs,
#                                    platforms/qwindows.dll, styles/qwindowsvistastyle.dll
#                                    (the native look) and the chosen translation
#   build-windows/remedor-bundle.zip that folder, zipped
#
# Usage: scripts/build-windows.sh          (as root: installs missing packages with apt-get)
# Environment: REMEDOR_LANGUAGE=deu (etc.) sets the translation staged beside the program;
#              when unset, the choice of the last configure run stays.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
shared=$(cd "$repo/../shared" 2>/dev/null && pwd) || {
    echo "build-windows: no shared folder beside the repository ($repo/../shared)" >&2
    exit 1
}
toolchain=$shared/toolchains
build=$repo/build-windows
qt=/opt/qt6-mingw
mingw_gcc=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
mingw_lib=/usr/x86_64-w64-mingw32/lib

say() { echo "build-windows: $*"; }

# --- packages -----------------------------------------------------------------------------
"$repo/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
    binutils-mingw-w64-x86-64 cmake ninja-build xz-utils qt6-base-dev qt6-base-dev-tools \
    qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools

# --- Qt for Windows -----------------------------------------------------------------------
if [[ ! -f $qt/lib/cmake/Qt6/Qt6Config.cmake || ! -f $qt/bin/Qt6Core.dll ]]; then
    say "unpacking $toolchain/qt6-mingw64.tar.xz to $qt"
    tar -C "$(dirname "$qt")" -xJf "$toolchain/qt6-mingw64.tar.xz"
fi

# --- configure and build ------------------------------------------------------------------
configure=(
    -S "$repo" -B "$build" -G Ninja
    -DCMAKE_TOOLCHAIN_FILE="$toolchain/mingw64.cmake"
    -DCMAKE_PREFIX_PATH="$qt"
    -DCMAKE_BUILD_TYPE=Release
    -DREMEDOR_WERROR=ON
)
if [[ -v REMEDOR_LANGUAGE ]]; then
    configure+=(-DREMEDOR_LANGUAGE="$REMEDOR_LANGUAGE")
fi
say "configuring $build"
mkdir -p "$build"
cmake "${configure[@]}" >"$build/configure.log" 2>&1 || {
    cat "$build/configure.log" >&2
    exit 1
}

say "building"
if ! cmake --build "$build" >"$build/build.log" 2>&1; then
    grep -E -B2 -A12 'error|FAILED' "$build/build.log" | head -80 >&2
    echo "build-windows: the build failed; the whole log is $build/build.log" >&2
    exit 1
fi

# --- bundle -------------------------------------------------------------------------------
language=$(sed -n 's/^REMEDOR_LANGUAGE:STRING=//p' "$build/CMakeCache.txt")
bundle=$build/bundle
rm -rf "$bundle" "$build/remedor-bundle.zip"
mkdir -p "$bundle/platforms" "$bundle/styles"
cp "$build/remedor.exe" "$bundle/"
cp "$qt/bin/Qt6Core.dll" "$qt/bin/Qt6Gui.dll" "$qt/bin/Qt6Widgets.dll" "$bundle/"
cp "$qt/plugins/platforms/qwindows.dll" "$bundle/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$bundle/styles/"
cp "$mingw_gcc/libstdc++-6.dll" "$mingw_gcc/libgcc_s_seh-1.dll" "$mingw_lib/libwinpthread-1.dll" "$bundle/"
# Debian ships the MinGW run time with its debugging information (20 MB of libstdc++ alone).
x86_64-w64-mingw32-strip --strip-debug "$bundle/libstdc++-6.dll" "$bundle/libgcc_s_seh-1.dll" \
    "$bundle/libwinpthread-1.dll"
if [[ -n $language ]]; then
    cp "$build/translations/remedor_$language.qm" "$bundle/"
fi
(cd "$build" && cmake -E tar cf remedor-bundle.zip --format=zip bundle)

say "done: $build/remedor.exe, $bundle/ ($(cd "$bundle" && find . -type f | sort | tr '\n' ' ')) and $build/remedor-bundle.zip"

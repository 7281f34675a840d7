#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all, printing every figure with its goal:
#
#   1. start-up, process start to first page on screen: Remedor against a bare QWizard and
#      against the bare QWizard showing the same two images (hyperfine, and instructions
#      counted by callgrind), on the offscreen platform and on xcb under Xvfb;
#   2. peak resident memory of the same two programs (/usr/bin/time -v);
#   3. the registry work of one edition on the registry file stand-in (Google Benchmark),
#      on the sample machine and on generated exports of about 1, 5, 20 and 50 MiB;
#   4. the same registry work on the real registry under Wine, against the registry API
#      itself in the same run, when the Windows build
#      (scripts/build-windows.sh) is there;
#   5. remedor-cli remove --all on the sample machine with the stand-in installer acting at
#      once: the command's wall time against the sum of its installers' times in each run;
#   6. remedor-cli.exe remove --all under Wine with one edition and the suite installed from
#      the test packages, against the two bare msiexec /X calls it needs and the sixteen that
#      one call per package makes, timed in alternating rounds of the same run; its time beyond
#      the two calls against two floors timed in the same rounds: a bare console program's start
#      and exit, and a bare static Qt Core program's.
#   7. start-up to the first page under Wine: the wizard linked statically, as released,
#      against the same wizard linked to the Qt and MinGW DLLs, when MinGW and Wine are there.
#   8. remedor-cli remove --all --all-users on the stand-in with 100, 300 and 1,000 profiles that
#      are not signed in, each hive holding two editions' settings, the products' leftovers only
#      (no installer runs): the time per profile beyond the same run without profiles, and the
#      dry run against the real run.
#   9. under Wine, 20 profiles whose hives were saved with RegSaveKeyW: the hive loads of one
#      remedor-cli.exe remove --all-users run (Wine's own trace of RegLoadKeyW), and the run's
#      pass over them against 20 bare RegLoadKeyW/RegUnLoadKeyW cycles in the same rounds.
#
# Every figure is a ratio or a per-size cost measured side by side in this one run; the
# absolute times depend on the machine. See docs/performance.md.
#
# Environment:
#   BUILD_DIR               build folder (default: build-bench)
#   REMEDOR_BENCH_RUNS      hyperfine runs per program and round (default 50)
#   REMEDOR_BENCH_ROUNDS    hyperfine rounds per platform, in alternating order (default 4)
#   REMEDOR_BENCH_MEM_RUNS  runs per program for peak memory (default 21)
#   REMEDOR_BENCH_SIZES     sizes of the generated exports in MiB (default "1 5 20 50")
#   REMEDOR_BENCH_WIN_ITERATIONS  iterations of the Windows registry benchmark (default 300)
#   REMEDOR_BENCH_CLI_RUNS  runs of remedor-cli remove --all per working folder (default 30)
#   REMEDOR_BENCH_WINE_CLI_ROUNDS  rounds of section 6 (default 20)
#   REMEDOR_BENCH_QT_WINDOWS       the Qt for Windows section 6 builds with (default /opt/qt6-mingw)
#   REMEDOR_BENCH_WINE_RUNS hyperfine runs per program and round under Wine, section 7 (default 20)
#   REMEDOR_BENCH_PROFILES  profile counts of section 8 (default "100 300 1000")
#   REMEDOR_BENCH_PROFILE_ROUNDS  rounds of section 8 (default 5)
#   REMEDOR_BENCH_WINE_PROFILE_ROUNDS  rounds of section 9 (default 20)
#   REMEDOR_BENCH_SKIP      words among "startup memory registry windows cli skip winestartup
#                           profiles wineprofiles" to leave out
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/scripts/xvfb.sh"
build=${BUILD_DIR:-$repo/build-bench}
runs=${REMEDOR_BENCH_RUNS:-50}
rounds=${REMEDOR_BENCH_ROUNDS:-4}
mem_runs=${REMEDOR_BENCH_MEM_RUNS:-21}
sizes=${REMEDOR_BENCH_SIZES:-1 5 20 50}
win_iterations=${REMEDOR_BENCH_WIN_ITERATIONS:-300}
cli_runs=${REMEDOR_BENCH_CLI_RUNS:-30}
wine_cli_rounds=${REMEDOR_BENCH_WINE_CLI_ROUNDS:-20}
wine_runs=${REMEDOR_BENCH_WINE_RUNS:-20}
skip=" ${REMEDOR_BENCH_SKIP:-} "
summarize=(python3 "$repo/bench/summarize.py")
stage() { printf '\n==== %s ====\n' "$*"; }
wanted() { [[ $skip != *" $1 "* ]]; }

"$repo/scripts/install-deps.sh"
"$repo/scripts/install-deps.sh" hyperfine libbenchmark-dev time xvfb python3 valgrind

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

stage "Machine"
echo "  $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
     "$(free -h | awk '/^Mem:/ { print $2 }') memory"
echo "  Qt $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo '?'), $(hyperfine --version)," \
     "Google Benchmark $(dpkg-query -W -f='${Version}' libbenchmark-dev 2>/dev/null || echo '?')"

stage "Build (Release)"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DREMEDOR_WERROR=ON \
    -DREMEDOR_BENCHMARKS=ON -DBUILD_TESTING=OFF >"$work/configure.log" || {
    cat "$work/configure.log" >&2
    exit 1
}
cmake --build "$build" --target remedor_startup remedor_startup_bare remedor_startup_bare_images \
    remedor_make_hive \
    remedor_registry_bench remedor-cli remedor_bench_msiexec | tail -n 1
bench=$build/bench

# The first window exposed on the given platform; prints nothing unless a program fails.
check_starts() {
    local program
    for program in remedor_startup remedor_startup_bare remedor_startup_bare_images; do
        local status=0
        "$bench/$program" || status=$?
        [ "$status" = 0 ] || { echo "$program did not show its window (exit $status)" >&2; exit 1; }
    done
}

# Several rounds, every other one in reverse order, so that drift over the run (other work on
# the machine, frequency changes) favours no program.
startup_rounds() {
    local platform=$1 round files=()
    for ((round = 1; round <= rounds; round++)); do
        local order=(-n remedor "$bench/remedor_startup" -n bare "$bench/remedor_startup_bare"
                     -n images "$bench/remedor_startup_bare_images")
        ((round % 2 == 0)) && order=(-n images "$bench/remedor_startup_bare_images"
                                     -n bare "$bench/remedor_startup_bare" -n remedor "$bench/remedor_startup")
        hyperfine -N --style none --warmup 10 --runs "$runs" \
            --export-json "$work/startup-$platform-$round.json" "${order[@]}" >/dev/null
        files+=("$work/startup-$platform-$round.json")
    done
    "${summarize[@]}" startup bare=1.10,images=1.05 "${files[@]}"
}

# Instructions executed from start to the first page, counted by callgrind: slow, but free of
# the timing noise of a shared machine, and so a check on the timed ratio.
instruction_counts() {
    local program count counts=()
    for program in remedor_startup remedor_startup_bare remedor_startup_bare_images; do
        valgrind --tool=callgrind --callgrind-out-file="$work/callgrind-$program.out" \
            "$bench/$program" >/dev/null 2>"$work/callgrind-$program.log"
        count=$(sed -n 's/^summary: //p' "$work/callgrind-$program.out")
        counts+=("$count")
    done
    awk -v r="${counts[0]}" -v b="${counts[1]}" -v i="${counts[2]}" 'BEGIN {
        printf "  instructions: remedor %.1f M, bare %.1f M: ratio %.3f\n", r / 1e6, b / 1e6, r / b
        printf "  instructions: remedor %.1f M, bare with images %.1f M: ratio %.3f\n", r / 1e6, i / 1e6, r / i }'
}

peak_memory() {
    local platform=$1 i program
    : >"$work/rss-$platform-remedor.txt"
    : >"$work/rss-$platform-bare.txt"
    for ((i = 0; i < mem_runs; i++)); do
        for program in remedor bare; do
            local binary=$bench/remedor_startup
            [ "$program" = bare ] && binary=$bench/remedor_startup_bare
            /usr/bin/time -v "$binary" 2>&1 >/dev/null \
                | sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' \
                >>"$work/rss-$platform-$program.txt"
        done
    done
    "${summarize[@]}" memory 1.10 "$work/rss-$platform-remedor.txt" "$work/rss-$platform-bare.txt"
}

start_bench_xvfb() {
    start_xvfb "$work" || exit 1
    xvfb_pid=$XVFB_PID
}

if wanted startup || wanted memory; then
    for platform in offscreen xcb; do
        export QT_QPA_PLATFORM=$platform
        [ "$platform" = xcb ] && start_bench_xvfb
        check_starts
        if wanted startup; then
            stage "1. Start-up to the first page, $platform (goals: Remedor <= 1.10 x bare, <= 1.05 x bare with images)"
            startup_rounds "$platform"
            [ "$platform" = offscreen ] && instruction_counts
        fi
        if wanted memory; then
            stage "2. Peak resident memory, $platform (goal: Remedor <= 1.10 x bare)"
            peak_memory "$platform"
        fi
    done
    unset QT_QPA_PLATFORM
fi

if wanted registry; then
    stage "3. Registry work of one edition on the registry file stand-in (goal: <= 5 ms on the sample machine)"
    hives=$build/hives
    mkdir -p "$hives"
    arguments=("sample=$repo/scripts/sample-machine.reg")
    for size in $sizes; do
        file=$hives/hive-${size}MiB.reg
        if [ ! -s "$file" ] || [ "$bench/remedor_make_hive" -nt "$file" ] \
            || [ "$repo/scripts/sample-machine.reg" -nt "$file" ]; then
            "$bench/remedor_make_hive" "$size" "$file"
        fi
        arguments+=("${size}MiB=$file")
    done
    ls -l "$hives" | awk 'NR > 1 { printf "  %s %d bytes\n", $9, $5 }'
    # Each deletion writes the file back and syncs it to disk: on a tmpfs folder that costs
    # nothing, so the code's own cost shows; on the build folder's disk, the sync's cost adds.
    fast=/dev/shm
    [ -d "$fast" ] && [ -w "$fast" ] || fast=${TMPDIR:-/tmp}
    disk=$build
    fs() { df --output=fstype "$1" | tail -1; }
    echo "  Working copy in $fast ($(fs "$fast")): every hive"
    REMEDOR_BENCH_WORKDIR=$fast QT_QPA_PLATFORM=offscreen "$bench/remedor_registry_bench" "${arguments[@]}" \
        --benchmark_out="$work/registry.json" --benchmark_out_format=json >"$work/registry.txt" 2>&1 || {
        cat "$work/registry.txt" >&2
        exit 1
    }
    "${summarize[@]}" registry 5 "$work/registry.json"
    echo
    echo "  Working copy in $disk ($(fs "$disk")), synced to disk: the sample machine"
    REMEDOR_BENCH_WORKDIR=$disk QT_QPA_PLATFORM=offscreen "$bench/remedor_registry_bench" \
        "sample=$repo/scripts/sample-machine.reg" --benchmark_min_time=2 \
        --benchmark_out="$work/registry-disk.json" --benchmark_out_format=json >"$work/registry-disk.txt" 2>&1 || {
        cat "$work/registry-disk.txt" >&2
        exit 1
    }
    "${summarize[@]}" registry 5 "$work/registry-disk.json"
fi

# The Qt builds for Windows in ../shared/toolchains, unpacked where their toolchain files look.
toolchains=$repo/../shared/toolchains
unpack_qt() {
    local folder=$1 tarball=$2
    [ -f "$folder/lib/cmake/Qt6/Qt6Config.cmake" ] || [ ! -f "$toolchains/$tarball" ] \
        || tar -C "$(dirname "$folder")" -xJf "$toolchains/$tarball"
}
have_windows_tools() {
    command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null
}

# configure_windows BUILD TOOLCHAIN_FILE QT_FOLDER [CMAKE OPTION...]: a Release cross build of
# the benchmarks.
configure_windows() {
    local folder=$1 toolchain_file=$2 qt_folder=$3
    shift 3
    cmake -S "$repo" -B "$folder" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchains/$toolchain_file" \
        -DCMAKE_PREFIX_PATH="$qt_folder" -DCMAKE_BUILD_TYPE=Release -DREMEDOR_WERROR=ON \
        -DBUILD_TESTING=OFF "$@" >"$work/configure-$(basename "$folder").log" 2>&1 || {
        cat "$work/configure-$(basename "$folder").log" >&2
        exit 1
    }
}

if wanted windows; then
    stage "4. Registry work of one edition on the Windows registry under Wine (goal: <= 1.5 x the registry API floor)"
    # The cross build of its own (Release), with the toolchain and the Qt for Windows that
    # scripts/build-windows.sh installs and unpacks.
    qt_windows=/opt/qt6-mingw
    mingw_gcc=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
    mingw_lib=/usr/x86_64-w64-mingw32/lib
    unpack_qt "$qt_windows" qt6-mingw64.tar.xz
    if [ ! -f "$qt_windows/lib/cmake/Qt6/Qt6Config.cmake" ] || ! have_windows_tools; then
        echo "  skipped: no Windows cross build here (run scripts/build-windows.sh once: it installs"
        echo "  MinGW) or no Wine"
    else
        windows_build=${WINDOWS_BUILD_DIR:-$repo/build-bench-windows}
        configure_windows "$windows_build" mingw64.cmake "$qt_windows"
        cmake --build "$windows_build" --target remedor_registry_bench_win | tail -n 1
        program=$work/windows-program
        mkdir -p "$program/platforms"
        cp "$windows_build/bench/remedor_registry_bench_win.exe" "$program/"
        cp "$qt_windows/bin/Qt6Core.dll" "$qt_windows/bin/Qt6Gui.dll" "$qt_windows/bin/Qt6Widgets.dll" "$program/"
        # Qt's own Windows platform: its offscreen one does not come up under Wine here.
        cp "$qt_windows/plugins/platforms/qwindows.dll" "$program/platforms/"
        cp "$mingw_gcc/libstdc++-6.dll" "$mingw_gcc/libgcc_s_seh-1.dll" "$mingw_lib/libwinpthread-1.dll" "$program/"

        # Wine's windows (Qt's event dispatcher makes one even for a program that shows none)
        # want an X display.
        [ -n "$xvfb_pid" ] || start_bench_xvfb
        # A throwaway prefix with the German edition's keys, written as an administrator would.
        export WINEPREFIX=$work/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        timeout 300 wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 1; }
        timeout 120 wineserver -w || { echo "the Wine prefix did not settle" >&2; exit 1; }
        reg_add() {
            wine reg add "$@" /f >>"$work/reg.log" 2>&1 || { echo "wine reg add $* failed" >&2; exit 1; }
        }
        uninstall='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
        settings='SOFTWARE\DAWLIX\PELDA\2015\de-DE'
        reg_add "$uninstall\\{3F1A92C4-7B5E-4D08-9C61-2A8E5B07D3F9}" /v PeldaLanguage /d de-DE /reg:32
        reg_add "$uninstall\\{6B41C7D2-B002-1031-B102-7E93A0C5D814}" /v DisplayName /d "PELDA+ 2015 DEU" /reg:32
        reg_add "HKLM\\$settings" /v ResourceDll /d peldadeu.dll /reg:32
        reg_add "HKLM\\$settings\\Dictionaries" /v Default /d de-DE-1996 /reg:32
        reg_add "HKCU\\$settings" /v LastFile /d 'C:\Users\sample\Plan.pel' /reg:32
        reg_add "HKCU\\$settings\\Recent" /v File1 /d 'C:\Users\sample\Documents\Plan.pel' /reg:32
        reg_add 'HKCR\Installer\Products\2D7C14B6200B13011B20E7390A5C8D41' /v ProductName /d "PELDA+ 2015 DEU" /reg:64

        status=0
        (cd "$program" && unset QT_QPA_PLATFORM && timeout 600 wine ./remedor_registry_bench_win.exe "$win_iterations") \
            >"$work/windows.txt" 2>"$work/windows.err" || status=$?
        wineserver -k 2>/dev/null || true
        tr -d '\r' <"$work/windows.txt" | sed 's/^/  /'
        if [ "$status" != 0 ]; then
            tr -d '\r' <"$work/windows.err" >&2
            echo "the Windows registry benchmark failed (exit $status)" >&2
            exit 1
        fi
        tr -d '\r' <"$work/windows.txt" | awk '$1 == "edition" { edition = $2 }
            $1 == "edition_registry_api" { floor = $2 }
            END { ratio = edition / floor
                  printf "  one edition under Wine: %.3f ms (median), the registry API %.3f ms: %.2f x  goal <= 1.5 x: %s\n",
                         edition, floor, ratio, (ratio <= 1.5 ? "met" : "NOT met") }'
    fi
fi

if wanted cli; then
    stage "5. remedor-cli remove --all, the sample machine, an instant stand-in installer (goal: <= 50 ms beyond the installers)"
    # The installers' times are the command's own figures (printed to the millisecond, each
    # rounded); the wall time is taken by the shell around the command, without a fork.
    cli_round() {
        local folder=$1 i start end outputs=()
        local machine=$folder/remedor-cli-bench
        mkdir -p "$machine"
        : >"$work/cli-wall.txt"
        for ((i = 0; i < cli_runs; i++)); do
            cp "$repo/scripts/sample-machine.reg" "$machine/registry.reg"
            start=$EPOCHREALTIME
            REMEDOR_REGISTRY=$machine/registry.reg PATH="$bench/fake-msiexec:$PATH" \
                "$build/remedor-cli" remove --all >"$work/cli-$i.txt" 2>&1 || true
            end=$EPOCHREALTIME
            echo $((${end//[.,]/} - ${start//[.,]/})) >>"$work/cli-wall.txt"
            outputs+=("$work/cli-$i.txt")
        done
        rm -rf "$machine"
        "${summarize[@]}" cli 50 "$work/cli-wall.txt" "${outputs[@]}"
    }
    fast=/dev/shm
    [ -d "$fast" ] && [ -w "$fast" ] || fast=${TMPDIR:-/tmp}
    echo "  Working copy in $fast ($(df --output=fstype "$fast" | tail -1)):"
    cli_round "$fast"
    echo "  Working copy in $build ($(df --output=fstype "$build" | tail -1)), each removal synced to disk:"
    cli_round "$build"
fi

if wanted skip; then
    stage "6. remedor-cli remove --all under Wine, one edition and the suite installed (goals: <= 1.10 x the two installer calls it needs; its own time <= 1.2 x a bare static Qt Core program's start)"
    # The Windows command line in Release, against the Qt for Windows that scripts/build-windows.sh
    # unpacks, or against a static one (no Qt6Core.dll, e.g. REMEDOR_BENCH_QT_WINDOWS=
    # /opt/qt6-mingw-static): the program then carries Qt and the MinGW run time in itself.
    qt_windows=${REMEDOR_BENCH_QT_WINDOWS:-/opt/qt6-mingw}
    toolchain=$repo/../shared/toolchains/mingw64.cmake
    static_link=()
    windows_build=${WINDOWS_BUILD_DIR:-$repo/build-bench-windows}
    if [ ! -f "$qt_windows/bin/Qt6Core.dll" ]; then
        toolchain=$repo/../shared/toolchains/mingw64-static.cmake
        static_link=(-DCMAKE_EXE_LINKER_FLAGS=-static)
        windows_build=${WINDOWS_BUILD_DIR:-$repo/build-bench-windows-static}
    fi
    mingw_gcc=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
    mingw_lib=/usr/x86_64-w64-mingw32/lib
    if [ ! -f "$qt_windows/lib/cmake/Qt6/Qt6Config.cmake" ] || [ ! -f "$toolchain" ] \
        || ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || ! command -v wine >/dev/null; then
        echo "  skipped: no Windows cross build here (run scripts/build-windows.sh once: it installs"
        echo "  MinGW and unpacks the Qt for Windows) or no Wine"
    else
        "$repo/scripts/install-deps.sh" msitools wixl
        # shellcheck source=../tests/windows/editions.sh
        source "$repo/tests/windows/editions.sh"
        cmake -S "$repo" -B "$windows_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            -DCMAKE_PREFIX_PATH="$qt_windows" -DCMAKE_BUILD_TYPE=Release -DREMEDOR_WERROR=ON \
            -DBUILD_TESTING=OFF -DREMEDOR_BENCHMARKS=ON "${static_link[@]}" >"$work/configure-windows.log" 2>&1 || {
            cat "$work/configure-windows.log" >&2
            exit 1
        }
        cmake --build "$windows_build" --target remedor-cli remedor_floor_bare remedor_floor_qtcore | tail -n 1
        skip_work=$work/skip
        program=$skip_work/program
        packages=$skip_work/packages
        mkdir -p "$program"
        # Without debugging sections, as the bundle ships the MinGW DLLs (Debian's libstdc++
        # carries 19 MB of them) and the static program: Wine maps them too.
        x86_64-w64-mingw32-strip --strip-debug -o "$program/remedor-cli.exe" "$windows_build/remedor-cli.exe"
        for floor in remedor_floor_bare remedor_floor_qtcore; do
            x86_64-w64-mingw32-strip --strip-debug -o "$program/$floor.exe" "$windows_build/bench/$floor.exe"
        done
        if [ -f "$qt_windows/bin/Qt6Core.dll" ]; then
            cp "$qt_windows/bin/Qt6Core.dll" "$program/"
            for dll in "$mingw_gcc/libstdc++-6.dll" "$mingw_gcc/libgcc_s_seh-1.dll" "$mingw_lib/libwinpthread-1.dll"; do
                x86_64-w64-mingw32-strip --strip-debug -o "$program/${dll##*/}" "$dll"
            done
        fi
        "$repo/tests/windows/make-test-packages.sh" "$packages" >"$skip_work/packages.log" 2>&1 || {
            cat "$skip_work/packages.log" >&2
            exit 1
        }

        # A throwaway prefix whose Wine server stays up between the timed commands, as Windows
        # does between the programs it runs; under an X display, as on a desktop.
        [ -n "$xvfb_pid" ] || start_bench_xvfb
        export WINEPREFIX=$skip_work/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        timeout 300 wineboot -i >"$skip_work/wineboot.log" 2>&1 || { cat "$skip_work/wineboot.log" >&2; exit 1; }
        timeout 120 wineserver -w || { echo "the Wine prefix did not settle" >&2; exit 1; }
        wineserver -p60
        # Windows always has a desktop; Wine starts one (explorer.exe, about a quarter of a second)
        # for the first program that makes a window, Qt's message window and msiexec's alike,
        # and ends it a second after the last such program. A program holding a window for the
        # whole section keeps it up, so that no timed command pays for starting it.
        wine notepad >"$skip_work/desktop.log" 2>&1 &
        desktop_pid=$!
        # Whichever way the script ends, nothing of the prefix keeps running.
        trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT
        skip_fail() {
            echo "section 6: $*; Wine said:" >&2
            tail -n 20 "$skip_work/wine.txt" 2>/dev/null | sed 's/^/  /' >&2
            wineserver -k 2>/dev/null || true
            wait "$desktop_pid" 2>/dev/null || true
            exit 1
        }
        windows_path() { echo "Z:${1//\//\\}"; }

        # Each timed command is one batch file run by cmd.exe, as a deployment runs a command
        # line; each batch file leaves the exit codes of its programs in NAME.codes.
        write_batch() { # write_batch NAME COMMAND...
            local name=$1 command
            shift
            {
                printf '@echo off\r\n'
                for command in "$@"; do
                    printf '%s\r\necho %%ERRORLEVEL%%>>"%s"\r\n' "$command" "$(windows_path "$skip_work/$name.codes")"
                done
            } >"$skip_work/$name.bat"
        }
        # The system's msiexec.exe by its path, as remedor-cli starts it.
        uninstall_command() {
            echo "%SystemRoot%\\system32\\msiexec.exe /X$(product_code "$1") /quiet /passive /norestart KEEPUSERDATA=yes"
        }
        cli_command() { echo "\"$(windows_path "$program/remedor-cli.exe")\" $* >\"$(windows_path "$skip_work/cli.out")\" 2>&1"; }
        all_packages=()
        for entry in "${REMEDOR_EDITIONS[@]}"; do all_packages+=("${entry%% *}"); done
        all_packages+=(suite)
        write_batch empty
        write_batch version "$(cli_command --version)"
        # The floors of remedor-cli's own time: a bare console program, a bare Qt Core one.
        write_batch c-floor "\"$(windows_path "$program/remedor_floor_bare.exe")\""
        write_batch qt-floor "\"$(windows_path "$program/remedor_floor_qtcore.exe")\""
        write_batch dry-run "$(cli_command remove --all --dry-run)"
        write_batch remove-all "$(cli_command remove --all)"
        write_batch needed "$(uninstall_command DEU)" "$(uninstall_command suite)"
        sixteen=()
        for package in "${all_packages[@]}"; do sixteen+=("$(uninstall_command "$package")"); done
        write_batch sixteen "${sixteen[@]}"

        # timed ROUND NAME: runs NAME.bat, appends "ROUND NAME MICROSECONDS" to the times (the
        # clock is the shell's, read without starting a process) and checks the exit codes.
        # Fails (status 1) when cmd.exe could not start one of the programs (9009): Wine's
        # cmd.exe does so now and then, mostly on the last line of the sixteen calls.
        timed() {
            local start end codes
            rm -f "$skip_work/$2.codes" "$skip_work/cli.out"
            start=$EPOCHREALTIME
            timeout 600 wine cmd /c "$(windows_path "$skip_work/$2.bat")" >>"$skip_work/wine.txt" 2>&1 || true
            end=$EPOCHREALTIME
            codes=$(tr -d '\r' 2>/dev/null <"$skip_work/$2.codes" | paste -sd ' ' || true)
            if [[ " $codes " == *" 9009 "* ]]; then
                echo "  round $1, $2: cmd.exe could not start a program (9009); measured again"
                return 1
            fi
            [ "$codes" = "${expected_codes[$2]}" ] \
                || skip_fail "round $1, $2: exit codes '$codes', expected '${expected_codes[$2]}'"
            echo "$1 $2 $((${end//[.,]/} - ${start//[.,]/}))" >>"$skip_work/times.txt"
            [ ! -f "$skip_work/cli.out" ] || tr -d '\r' <"$skip_work/cli.out" >"$skip_work/$2-$1.out"
        }
        declare -A expected_codes=([empty]="" [version]=0 [c-floor]=0 [qt-floor]=0 [dry-run]=0
                                   [remove-all]=0 [needed]="0 0")
        for package in "${all_packages[@]}"; do
            case $package in
                DEU | suite) expected_codes[sixteen]+=" 0" ;;
                *) expected_codes[sixteen]+=" 1605" ;;
            esac
        done
        expected_codes[sixteen]=${expected_codes[sixteen]# }

        # The machine: DEU and the suite installed from their packages, the bootstrapper's entry
        # recording de-DE, DEU's settings per machine and per user.
        hklm32='HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node'
        bootstrapper="$hklm32\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$REMEDOR_BOOTSTRAPPER_CODE"
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n"DisplayName"="%s"\r\n"PeldaLanguage"="de-DE"\r\n\r\n[%s]\r\n"ResourceDll"="peldadeu.dll"\r\n\r\n[%s]\r\n"LastFile"="C:\\\\Users\\\\sample\\\\Plan.pel"\r\n' \
            "$bootstrapper" "$REMEDOR_SUITE_NAME" "$hklm32\\DAWLIX\\PELDA\\2015\\de-DE" \
            'HKEY_CURRENT_USER\SOFTWARE\DAWLIX\PELDA\2015\de-DE' >"$skip_work/machine.reg"
        declare -A package_of_packed=()
        for package in "${all_packages[@]}"; do
            package_of_packed[$(packed_code "$(product_code "$package")")]=$package
        done
        # The packages Windows Installer has registered, and whose files are there.
        installed_packages() {
            local key folder found=()
            while IFS= read -r key; do
                [ -z "${package_of_packed[$key]:-}" ] || found+=("${package_of_packed[$key]}")
            done < <(wine reg query 'HKEY_CLASSES_ROOT\Installer\Products' 2>/dev/null | tr -d '\r' \
                | sed -n 's/^HKEY_CLASSES_ROOT\\Installer\\Products\\//p')
            for folder in "$WINEPREFIX/drive_c/Program Files (x86)/PELDA+ 2015"/*/; do
                [ ! -f "$folder/readme.txt" ] || found+=("file:$(basename "$folder")")
            done
            printf '%s\n' "${found[@]}" | LC_ALL=C sort | paste -sd ' '
        }
        prepare_machine() {
            local package state
            for package in DEU suite; do
                wine msiexec /i "$(windows_path "$packages/$package.msi")" /qn >>"$skip_work/msiexec.txt" 2>&1 \
                    || skip_fail "msiexec /i $package.msi failed"
            done
            wine reg import "$(windows_path "$skip_work/machine.reg")" >>"$skip_work/reg.txt" 2>&1 \
                || skip_fail "reg import of the machine's keys failed"
            state=$(installed_packages)
            [ "$state" = "DEU file:DEU file:Suite suite" ] || skip_fail "installed before a removal: '$state'"
        }
        check_removed() { # check_removed ROUND NAME
            local state
            state=$(installed_packages)
            [ -z "$state" ] || skip_fail "round $1, $2: still installed afterwards: $state"
        }

        # The packages a cut-short measurement left installed go before it is taken again.
        clear_machine() {
            local package
            for package in DEU suite; do
                wine msiexec /x "$(product_code "$package")" /qn >>"$skip_work/msiexec.txt" 2>&1 || true
            done
        }
        measure() { # measure ROUND NAME
            local tries
            for tries in 1 2 3; do
                prepare_machine
                if [ "$2" = remove-all ]; then
                    # What a run costs besides its installers, on the same machine state.
                    timed "$1" empty && timed "$1" version && timed "$1" c-floor && timed "$1" qt-floor \
                        && timed "$1" dry-run && timed "$1" "$2" && break
                else
                    timed "$1" "$2" && break
                fi
                [ "$tries" -lt 3 ] || skip_fail "round $1, $2: cmd.exe failed three times"
                sed -i "/^$1 \(empty\|version\|c-floor\|qt-floor\|dry-run\) /d" "$skip_work/times.txt"
                clear_machine
            done
            check_removed "$1" "$2"
            if [ "$2" = remove-all ]; then
                wine reg query "$bootstrapper" >/dev/null 2>&1 \
                    && skip_fail "round $1: the bootstrapper's entry is still there"
            fi
            return 0
        }

        echo "  load before: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores); $wine_cli_rounds rounds after one warm-up round"
        # Started from an empty folder: Wine would take a cmd.bat or msiexec.exe found in the
        # current folder for the programs of those names.
        mkdir "$skip_work/launch"
        cd "$skip_work/launch"
        for name in remove-all needed sixteen; do measure 0 "$name"; done
        : >"$skip_work/times.txt"
        outputs=()
        for ((round = 1; round <= wine_cli_rounds; round++)); do
            order=(remove-all needed sixteen)
            ((round % 2 == 0)) && order=(sixteen needed remove-all)
            for name in "${order[@]}"; do measure "$round" "$name"; done
            outputs+=("$skip_work/remove-all-$round.out" "$skip_work/dry-run-$round.out")
        done
        cd "$repo"
        echo "  load after: $(cut -d' ' -f1-3 /proc/loadavg)"
        wineserver -k 2>/dev/null || true
        wait "$desktop_pid" 2>/dev/null || true
        trap cleanup EXIT
        "${summarize[@]}" wine-cli 1.10:1.20 "$skip_work/times.txt" "${outputs[@]}"
    fi
fi

if wanted winestartup; then
    stage "7. Start-up to the first page under Wine: static build against shared (goal: <= 1.10 x)"
    unpack_qt /opt/qt6-mingw qt6-mingw64.tar.xz
    unpack_qt /opt/qt6-mingw-static qt6-mingw64-static.tar.xz
    if [ ! -f /opt/qt6-mingw/bin/Qt6Core.dll ] || [ ! -f /opt/qt6-mingw-static/lib/libQt6Core.a ] \
        || ! have_windows_tools; then
        echo "  skipped: no MinGW (run scripts/build-windows.sh once), no Wine, or a Qt for Windows missing"
    else
        # The same start-up program twice, each in a folder laid out as it would be shipped: one
        # stripped file, or the program beside the Qt and MinGW DLLs and plug-ins (the MinGW ones
        # without their debugging information, as the shared bundle had them).
        shared_build=${WINDOWS_BUILD_DIR:-$repo/build-bench-windows}
        static_build=$repo/build-bench-windows-static
        configure_windows "$shared_build" mingw64.cmake /opt/qt6-mingw
        configure_windows "$static_build" mingw64-static.cmake /opt/qt6-mingw-static \
            -DCMAKE_EXE_LINKER_FLAGS="-static -s"
        cmake --build "$shared_build" --target remedor_startup | tail -n 1
        cmake --build "$static_build" --target remedor_startup | tail -n 1
        static=$work/wine-startup/static
        shared=$work/wine-startup/shared
        mkdir -p "$static" "$shared/platforms" "$shared/styles"
        cp "$static_build/remedor_startup.exe" "$static/"
        cp "$shared_build/remedor_startup.exe" /opt/qt6-mingw/bin/Qt6{Core,Gui,Widgets}.dll "$shared/"
        cp /opt/qt6-mingw/plugins/platforms/qwindows.dll "$shared/platforms/"
        cp /opt/qt6-mingw/plugins/styles/qwindowsvistastyle.dll "$shared/styles/"
        for dll in /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++-6.dll \
            /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc_s_seh-1.dll \
            /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll; do
            x86_64-w64-mingw32-strip --strip-debug -o "$shared/${dll##*/}" "$dll"
        done
        echo "  sizes: static $(du -b "$static/remedor_startup.exe" | cut -f1) bytes;" \
             "shared $(du -cb "$shared"/*.exe "$shared"/*.dll "$shared"/*/*.dll | tail -1 | cut -f1) bytes in" \
             "$(find "$shared" -type f | wc -l) files"

        [ -n "$xvfb_pid" ] || start_bench_xvfb
        export WINEPREFIX=$work/wineprefix-startup WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        # A server kept up between runs, so that no run pays for starting it.
        mkdir -p "$WINEPREFIX"
        wineserver -p
        timeout 300 wineboot -i >"$work/wineboot-startup.log" 2>&1 || { cat "$work/wineboot-startup.log" >&2; exit 1; }
        for program in static shared; do
            (cd "$work/wine-startup/$program" && unset QT_QPA_PLATFORM && timeout 60 wine ./remedor_startup.exe) \
                || { echo "the $program build did not show its window under Wine" >&2; exit 1; }
        done
        files=()
        for ((round = 1; round <= rounds; round++)); do
            order=(-n static "wine $static/remedor_startup.exe" -n shared "wine $shared/remedor_startup.exe")
            ((round % 2 == 0)) && order=(-n shared "wine $shared/remedor_startup.exe" -n static "wine $static/remedor_startup.exe")
            env -u QT_QPA_PLATFORM hyperfine -N --style none --warmup 3 --runs "$wine_runs" \
                --export-json "$work/wine-startup-$round.json" "${order[@]}" >/dev/null
            files+=("$work/wine-startup-$round.json")
        done
        wineserver -k 2>/dev/null || true
        "${summarize[@]}" startup-wine 1.10 "${files[@]}"
    fi
fi

if wanted profiles; then
    stage "8. remedor-cli remove --all --all-users, profiles not signed in, stand-in (goals: per profile, 1,000 at most 1.3 x 100; dry run well under the real run)"
    profile_counts=${REMEDOR_BENCH_PROFILES:-100 300 1000}
    profile_rounds=${REMEDOR_BENCH_PROFILE_ROUNDS:-5}
    fast=/dev/shm
    [ -d "$fast" ] && [ -w "$fast" ] || fast=${TMPDIR:-/tmp}
    profiles_work=$(mktemp -d "$fast/remedor-profiles.XXXXXX")
    # Each profile's hive: two editions' settings among keys of its own.
    hive=$profiles_work/NTUSER.DAT
    {
        printf 'Windows Registry Editor Version 5.00\r\n'
        for key in 'SOFTWARE\DAWLIX\PELDA\2015\de-DE' 'SOFTWARE\DAWLIX\PELDA\2015\de-DE\Recent' \
            'SOFTWARE\DAWLIX\PELDA\2015\fr-FR' 'SOFTWARE\DAWLIX\PELDA\2015\Common' \
            'Control Panel\Desktop' 'Control Panel\International' 'Environment' \
            'Keyboard Layout\Preload' 'SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer' \
            'SOFTWARE\Microsoft\Windows\CurrentVersion\Run' 'SOFTWARE\Policies'; do
            printf '\r\n[HKEY_CURRENT_USER\\%s]\r\n"Value"="some text"\r\n"Flags"=dword:00000003\r\n' "$key"
        done
    } >"$hive"
    # make_machine COUNT: the sample machine with its products' installer registrations gone,
    # so that every edition's keys go as leftovers without an installer process (whose start
    # would swamp the profiles' cost on a loaded machine), and COUNT profiles listed with their
    # folders.
    make_machine() {
        local count=$1 folder=$profiles_work/template-$1 i sid
        mkdir -p "$folder/profiles"
        awk '/^\[/ { skip = index($0, "[HKEY_CLASSES_ROOT\\Installer\\Products\\") == 1 } !skip' \
            "$repo/scripts/sample-machine.reg" >"$folder/registry.reg"
        for ((i = 0; i < count; i++)); do
            sid=S-1-5-21-1004336348-1177238915-682003330-$((2000 + i))
            mkdir "$folder/profiles/$sid"
            cp "$hive" "$folder/profiles/$sid/"
            printf '\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\%s]\r\n"ProfileImagePath"="%s"\r\n' \
                "$sid" "$profiles_work/machine/profiles/$sid" >>"$folder/registry.reg"
        done
    }
    # profile_run ROUND KIND COUNT: one run on a fresh copy, timed by the shell; checked: every
    # hive read once (strace counts the openings), and after a real run no settings key left.
    profile_run() {
        local round=$1 kind=$2 count=$3 start end dry=() opened
        rm -rf "$profiles_work/machine"
        cp -a "$profiles_work/template-$count" "$profiles_work/machine"
        [ "$kind" = dry ] && dry=(--dry-run)
        start=$EPOCHREALTIME
        REMEDOR_REGISTRY=$profiles_work/machine/registry.reg PATH="$bench/fake-msiexec:$PATH" \
            "$build/remedor-cli" remove --all --all-users "${dry[@]}" >"$profiles_work/out.txt" 2>&1 || {
            cat "$profiles_work/out.txt" >&2
            exit 1
        }
        end=$EPOCHREALTIME
        echo "$round $kind $count $((${end//[.,]/} - ${start//[.,]/}))" >>"$profiles_work/times.txt"
        if [ "$kind" = real ] && grep -l 'de-DE\]' "$profiles_work"/machine/profiles/*/NTUSER.DAT 2>/dev/null | grep -q .; then
            echo "section 8: a settings key was left in a hive" >&2
            exit 1
        fi
    }
    count_reads() { # count_reads COUNT: hive files opened in one real run, under strace
        rm -rf "$profiles_work/machine"
        cp -a "$profiles_work/template-$1" "$profiles_work/machine"
        REMEDOR_REGISTRY=$profiles_work/machine/registry.reg PATH="$bench/fake-msiexec:$PATH" \
            strace -f -e trace=openat -o "$profiles_work/strace.txt" \
            "$build/remedor-cli" remove --all --all-users >/dev/null 2>&1 || true
        grep -c 'NTUSER.DAT", O_RDONLY' "$profiles_work/strace.txt" || true
    }
    for count in 0 $profile_counts; do make_machine "$count"; done
    echo "  Working copy in $fast ($(df --output=fstype "$fast" | tail -1)); $profile_rounds rounds"
    : >"$profiles_work/times.txt"
    for ((round = 1; round <= profile_rounds; round++)); do
        order=(0 $profile_counts)
        ((round % 2 == 0)) && order=($(printf '%s\n' 0 $profile_counts | sort -rn))
        for count in "${order[@]}"; do
            profile_run "$round" dry "$count"
            profile_run "$round" real "$count"
        done
    done
    if command -v strace >/dev/null; then
        for count in $profile_counts; do
            echo "  hive files read in one real run with $count profiles: $(count_reads "$count")"
        done
    fi
    "${summarize[@]}" profiles 1.3 "$profiles_work/times.txt"
    rm -rf "$profiles_work"
fi

if wanted wineprofiles; then
    stage "9. The profile pass under Wine, 20 hives saved with RegSaveKeyW (goals: 20 hive loads in one run; the pass <= 1.5 x 20 bare load and unload cycles)"
    qt_windows=/opt/qt6-mingw-static
    unpack_qt "$qt_windows" qt6-mingw64-static.tar.xz
    if [ ! -f "$qt_windows/lib/cmake/Qt6/Qt6Config.cmake" ] || ! have_windows_tools; then
        echo "  skipped: no Windows cross build here (run scripts/build-windows.sh once) or no Wine"
    else
        windows_build=${WINDOWS_BUILD_DIR:-$repo/build-bench-windows-static}
        cmake -S "$repo" -B "$windows_build" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$repo/../shared/toolchains/mingw64-static.cmake" \
            -DCMAKE_PREFIX_PATH="$qt_windows" -DCMAKE_BUILD_TYPE=Release -DREMEDOR_WERROR=ON \
            -DBUILD_TESTING=OFF -DREMEDOR_BENCHMARKS=ON -DCMAKE_EXE_LINKER_FLAGS=-static \
            >"$work/configure-wineprofiles.log" 2>&1 || { cat "$work/configure-wineprofiles.log" >&2; exit 1; }
        cmake --build "$windows_build" --target remedor-cli remedor_profile_pass_bench_win | tail -n 1
        wp=$work/wineprofiles
        mkdir -p "$wp/program" "$wp/launch"
        cp "$windows_build/remedor-cli.exe" "$windows_build/bench/remedor_profile_pass_bench_win.exe" "$wp/program/"
        [ -n "$xvfb_pid" ] || start_bench_xvfb
        export WINEPREFIX=$wp/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        timeout 300 wineboot -i >"$wp/wineboot.log" 2>&1 || { cat "$wp/wineboot.log" >&2; exit 1; }
        timeout 120 wineserver -w || { echo "the Wine prefix did not settle" >&2; exit 1; }
        wineserver -p60
        trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT
        bench_exe="$wp/program/remedor_profile_pass_bench_win.exe"
        cd "$wp/launch"
        mkdir -p "$WINEPREFIX/drive_c/RemedorProfiles"
        wine "$bench_exe" setup 'C:\RemedorProfiles' 20 | tr -d '\r' | sed 's/^/  /'
        # The loads of one whole run, as Wine itself traces its registry calls.
        WINEDEBUG=trace+reg wine "$wp/program/remedor-cli.exe" remove DEU FRA --all-users \
            >"$wp/cli.out" 2>"$wp/trace.txt" || true
        loads=$(grep -c 'trace:reg:NtLoadKey (' "$wp/trace.txt" || true)
        reached=$(tr -d '\r' <"$wp/cli.out" | grep -c ': loaded from ' || true)
        echo "  one run of remove DEU FRA --all-users: $loads hive loads (NtLoadKey in Wine's trace), $reached hives reported loaded  goal 20: $([ "$loads" = 20 ] && echo met || echo 'NOT met')"
        rounds_wp=${REMEDOR_BENCH_WINE_PROFILE_ROUNDS:-20}
        wine "$bench_exe" measure "$rounds_wp" | tr -d '\r' >"$wp/times.txt" || { cat "$wp/times.txt" >&2; exit 1; }
        wine "$bench_exe" cleanup || true
        cd "$repo"
        wineserver -k 2>/dev/null || true
        trap cleanup EXIT
        python3 - "$wp/times.txt" <<'PY'
import statistics, sys
rows = [dict(zip(l.split()[0::2], l.split()[1::2])) for l in open(sys.argv[1]) if l.startswith("round")]
passes = [float(r["pass"]) for r in rows]
bares = [float(r["bare"]) for r in rows]
deletings = [float(r["deleting"]) for r in rows]
ratios = sorted(float(r["pass"]) / float(r["bare"]) for r in rows)
ratio = statistics.median(ratios)
print(f"  {len(rows)} rounds of {rows[0]['profiles']} profiles: the run's pass {statistics.median(passes):.1f} ms "
      f"(median; {statistics.median(float(r['pass']) for r in rows) / int(rows[0]['profiles']):.2f} ms a profile), "
      f"bare cycles {statistics.median(bares):.1f} ms, bare cycles deleting the two keys {statistics.median(deletings):.1f} ms; "
      f"hives loaded by the pass {rows[0]['loads']}, keys removed {rows[0]['keys']}")
print(f"  the pass / bare cycles: {ratio:.3f} (median of the rounds' ratios, range {ratios[0]:.3f} to "
      f"{ratios[-1]:.3f})  goal <= 1.50: {'met' if ratio <= 1.5 else 'NOT met'}")
deleting = sorted(float(r["pass"]) / float(r["deleting"]) for r in rows)
print(f"  the pass / bare cycles deleting the same keys: {statistics.median(deleting):.3f} (range "
      f"{deleting[0]:.3f} to {deleting[-1]:.3f})")
PY
    fi
fi

# The Windows build's own tests, run by ctest under Wine (the build's
# CMAKE_CROSSCOMPILING_EMULATOR): scripts/test-windows.sh installs what they need, starts an X
# server and runs `ctest --test-dir build-windows`.
#
# The machine is one Wine prefix, build-windows/wine-prefix, made fresh at the start of every
# run by the fixture WinePrefix and stopped at its end. Programs run from the build folder, linked
# as the release is (Qt and the MinGW run time inside, no DLL beside them), with
# build-windows/wine-work as their working folder; a decoy msiexec.exe lies in both and
# windows.decoy.neverRan, run last, fails if it was ever started.
#
# Adding a test takes one call:
#   - a check of built files that needs no Wine (a signature, a resource): a plain add_test, no
#     fixture, no lock, e.g.
#       add_test(NAME windows.signature.bundle
#                COMMAND ${scripts}/check-signature.sh ${CMAKE_BINARY_DIR} ${certificate})
#   - a program under Wine, e.g. a console program's help:
#       remedor_add_wine_test(NAME windows.cli.help COMMAND remedor_cli --help)
#     This requires the fixture WinePrefix and gives the Wine environment (WINEPREFIX and the
#     rest) and the working folder; the test runs beside others. A target as COMMAND runs
#     through Wine by itself (the emulator); a script calls `wine` itself. Add:
#       SERIAL    when it writes the registry or starts an installer: it takes the lock
#                 wine-machine, held by every test that does, so it runs alone among them;
#       PACKAGES  when it needs the sixteen test packages installed and the leftover keys in
#                 place: it requires the fixture WinePackages too, and takes the lock. Scenarios
#                 A, B and C change that state in turn, so such a test also DEPENDS on
#                 windows.packages.installed (to come before them) or on a scenario's keys test
#                 (to come after it; then make the next scenario's first test DEPENDS on it);
#       DEPENDS test...  ENVIRONMENT VAR=value...   as the test properties.

set(REMEDOR_WINDOWS_TEST_DIR ${CMAKE_CURRENT_BINARY_DIR}/windows)
set(REMEDOR_WINE_BIN_DIR ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
set(REMEDOR_WINE_WORK_DIR ${CMAKE_BINARY_DIR}/wine-work)
set(REMEDOR_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(REMEDOR_WINE_PACKAGES ${CMAKE_BINARY_DIR}/wine-packages)
set(scripts ${CMAKE_CURRENT_LIST_DIR})

# Qt is linked into the programs, with the windows platform plug-in by default; the tests run on
# the offscreen one, which a program imports itself.
function(remedor_import_offscreen_platform program)
    qt_import_plugins(${program} INCLUDE Qt6::QOffscreenIntegrationPlugin)
endfunction()

# The test programs; console programs (no WIN32), so that their output reaches the caller.
function(remedor_add_windows_test name)
    qt_add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
    target_link_libraries(${name} PRIVATE remedor_wizard Qt6::Test)
    remedor_set_build_options(${name} ASCII_STRINGS)
    remedor_import_offscreen_platform(${name})
endfunction()

# RegistryKey on the real registry: 32-bit view, exact names, nothing created.
remedor_add_windows_test(tst_windowsregistrykey)
target_link_libraries(tst_windowsregistrykey PRIVATE advapi32 ntdll)

# WindowsInstaller: programs from the system folder only, whole exit codes.
remedor_add_windows_test(tst_windowsinstaller)
target_link_libraries(tst_windowsinstaller PRIVATE advapi32)

# ProfileHive: profiles from the profile list, their hives loaded, cleaned and unloaded.
remedor_add_windows_test(tst_windowsprofilehive)
target_link_libraries(tst_windowsprofilehive PRIVATE advapi32)

# One removal run of the real Process page, configured by the environment of its test.
remedor_add_windows_test(tst_windowsremoval)

# The program that must never be started in place of the system's installer.
add_executable(remedor_decoy_installer ${CMAKE_CURRENT_LIST_DIR}/decoyinstaller.cpp)
set_target_properties(remedor_decoy_installer PROPERTIES
    OUTPUT_NAME remedor-decoy-installer
    RUNTIME_OUTPUT_DIRECTORY ${REMEDOR_WINDOWS_TEST_DIR}/decoy)
target_compile_options(remedor_decoy_installer PRIVATE -Wall -Wextra $<$<BOOL:${REMEDOR_WERROR}>:-Werror>)
if(MINGW)
    # Self-contained, so that it runs wherever it is copied.
    target_link_options(remedor_decoy_installer PRIVATE -static)
endif()

# --- what the programs find beside them --------------------------------------------------------
# Where Windows would look for a bare "msiexec.exe" before the system folder (beside the program
# and in the working folder): the decoy under that name and under its own.
set(decoy_copies)
foreach(folder ${REMEDOR_WINE_BIN_DIR} ${REMEDOR_WINE_WORK_DIR})
    foreach(name msiexec.exe remedor-decoy-installer.exe)
        list(APPEND decoy_copies
             COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:remedor_decoy_installer>
                     ${folder}/${name})
    endforeach()
endforeach()
add_custom_target(remedor_wine_runtime ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${REMEDOR_WINE_WORK_DIR}
    ${decoy_copies}
    COMMENT "Placing the decoy installer beside the programs"
    VERBATIM)
add_dependencies(remedor_wine_runtime remedor_decoy_installer)

# The DLL that check-planted-dlls.sh plants beside the bundle's programs under every name they
# load: it only leaves a marker file when loaded.
add_library(remedor_marker_dll SHARED ${CMAKE_CURRENT_LIST_DIR}/markerdll.cpp)
set_target_properties(remedor_marker_dll PROPERTIES
    OUTPUT_NAME remedor-marker PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${REMEDOR_WINDOWS_TEST_DIR}/marker)
target_compile_options(remedor_marker_dll PRIVATE -Wall -Wextra $<$<BOOL:${REMEDOR_WERROR}>:-Werror>)
target_link_options(remedor_marker_dll PRIVATE -nostdlib -Wl,--entry,DllMain)
target_link_libraries(remedor_marker_dll PRIVATE kernel32)

# --- how a test runs under Wine ----------------------------------------------------------------
# Wine does not hand the host's QT_* variables to Windows programs (they are for Linux ones) but
# hands WINEQT_* ones on under the bare name: hence both. QT_ASSUME_STDERR_HAS_CONSOLE sends the
# test log to the output ctest reads rather than to the debugger.
set(REMEDOR_WINE_ENVIRONMENT
    WINEPREFIX=${REMEDOR_WINE_PREFIX} WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=" WINEARCH=win64
    QT_QPA_PLATFORM=offscreen WINEQT_QPA_PLATFORM=offscreen WINEQT_ASSUME_STDERR_HAS_CONSOLE=1
    REMEDOR_REGISTRY=)

# The Wine environment, working folder and prefix, for a test already added.
function(remedor_run_under_wine test)
    get_property(environment TEST ${test} PROPERTY ENVIRONMENT)
    list(APPEND environment ${REMEDOR_WINE_ENVIRONMENT})
    list(REMOVE_DUPLICATES environment)
    set_tests_properties(${test} PROPERTIES
        ENVIRONMENT "${environment}"
        ENVIRONMENT_MODIFICATION WINEPATH=unset:
        WORKING_DIRECTORY ${REMEDOR_WINE_WORK_DIR}
        FIXTURES_REQUIRED WinePrefix
        TIMEOUT 300)
endfunction()

# remedor_add_wine_test(NAME name COMMAND command... [SERIAL] [PACKAGES] [DEPENDS test...]
#                       [ENVIRONMENT VAR=value...]): see the top of this file.
function(remedor_add_wine_test)
    cmake_parse_arguments(arg "SERIAL;PACKAGES" "NAME" "COMMAND;DEPENDS;ENVIRONMENT" ${ARGN})
    add_test(NAME ${arg_NAME} COMMAND ${arg_COMMAND})
    remedor_run_under_wine(${arg_NAME})
    if(arg_SERIAL OR arg_PACKAGES)
        set_tests_properties(${arg_NAME} PROPERTIES RESOURCE_LOCK wine-machine)
    endif()
    if(arg_PACKAGES)
        set_property(TEST ${arg_NAME} APPEND PROPERTY FIXTURES_REQUIRED WinePackages)
    endif()
    if(arg_ENVIRONMENT)
        set_property(TEST ${arg_NAME} APPEND PROPERTY ENVIRONMENT ${arg_ENVIRONMENT})
    endif()
    if(arg_DEPENDS)
        set_tests_properties(${arg_NAME} PROPERTIES DEPENDS "${arg_DEPENDS}")
    endif()
endfunction()

# --- the machine -------------------------------------------------------------------------------
# A fresh prefix for every run, with the server kept up until the end.
add_test(NAME windows.prefix
         COMMAND ${scripts}/machine.sh prefix ${REMEDOR_WINE_BIN_DIR} ${REMEDOR_WINE_WORK_DIR})
add_test(NAME windows.prefix.stop COMMAND ${scripts}/machine.sh stop)
# The decoy installer never ran, whichever program looked for an installer.
add_test(NAME windows.decoy.neverRan
         COMMAND ${scripts}/machine.sh decoy ${REMEDOR_WINE_BIN_DIR} ${REMEDOR_WINE_WORK_DIR})
foreach(test windows.prefix windows.prefix.stop windows.decoy.neverRan)
    set_property(TEST ${test} PROPERTY ENVIRONMENT ${REMEDOR_WINE_ENVIRONMENT})
    set_tests_properties(${test} PROPERTIES ENVIRONMENT_MODIFICATION WINEPATH=unset: TIMEOUT 300)
endforeach()
set_tests_properties(windows.prefix PROPERTIES FIXTURES_SETUP WinePrefix)
set_tests_properties(windows.prefix.stop windows.decoy.neverRan PROPERTIES FIXTURES_CLEANUP WinePrefix)
set_tests_properties(windows.prefix.stop PROPERTIES DEPENDS windows.decoy.neverRan)

# The sixteen packages built and installed, the leftover settings keys and decoys imported,
# once the backend tests have had the machine as Wine made it.
remedor_add_wine_test(NAME windows.packages SERIAL
                      COMMAND ${scripts}/machine.sh packages ${REMEDOR_WINE_PACKAGES}
                      DEPENDS tst_windowsregistrykey tst_windowsinstaller tst_windowsprofilehive)
set_tests_properties(windows.packages PROPERTIES FIXTURES_SETUP WinePackages)

# --- the Qt tests, as Windows programs ---------------------------------------------------------
# Those of tests/CMakeLists.txt, added before this file: they touch neither registry nor
# installer, so they run beside the others.
get_property(portable_tests DIRECTORY PROPERTY TESTS)
foreach(test IN LISTS portable_tests)
    if(NOT test MATCHES "^windows\\.")
        remedor_run_under_wine(${test})
        remedor_import_offscreen_platform(${test})
    endif()
endforeach()
# tst_wizard holds the machine's run lock for a moment, which would turn a removal beside it
# into a 1618.
set_tests_properties(tst_wizard PROPERTIES RESOURCE_LOCK wine-machine)

# The Windows backends against Wine's registry and Windows Installer, on a machine without the
# test packages.
foreach(test tst_windowsregistrykey tst_windowsinstaller tst_windowsprofilehive)
    remedor_add_wine_test(NAME ${test} COMMAND ${test} SERIAL)
endforeach()

# --- removal runs: the real Process page against the installed packages, then every key
# checked from outside. Each scenario builds on the state the one before left.
remedor_add_wine_test(NAME windows.packages.installed PACKAGES
                      COMMAND ${scripts}/scenarios.sh installed)

# A: every package installed, leftovers and decoys everywhere; DEU, FRA and JPN ticked, DEU the
# bootstrapper's language.
remedor_add_wine_test(NAME windows.scenarioA.removal PACKAGES COMMAND tst_windowsremoval
                      DEPENDS windows.packages.installed
                      ENVIRONMENT "REMEDOR_TICK=DEU FRA JPN" "REMEDOR_EXPECT=DEU=0 FRA=0 JPN=0 suite=0")
remedor_add_wine_test(NAME windows.scenarioA.keys PACKAGES COMMAND ${scripts}/scenarios.sh A-keys
                      DEPENDS windows.scenarioA.removal)

# B: registrations left behind by packages that are gone, spelt exactly or not. Windows
# Installer finds both products by their Installer\Products keys but cannot remove them (exit
# code 1610 on Wine); the clean-up runs all the same.
remedor_add_wine_test(NAME windows.scenarioB.prepare PACKAGES COMMAND ${scripts}/scenarios.sh B-prepare
                      DEPENDS windows.scenarioA.keys)
remedor_add_wine_test(NAME windows.scenarioB.removal PACKAGES COMMAND tst_windowsremoval
                      DEPENDS windows.scenarioB.prepare
                      ENVIRONMENT "REMEDOR_TICK=DEU FRA" "REMEDOR_EXPECT=DEU=failed FRA=failed")
remedor_add_wine_test(NAME windows.scenarioB.keys PACKAGES COMMAND ${scripts}/scenarios.sh B-keys
                      DEPENDS windows.scenarioB.removal)

# C: no DAWLIX keys in the 32-bit view or for the user; a bootstrapper whose language is not
# ticked, so the suite stays.
remedor_add_wine_test(NAME windows.scenarioC.prepare PACKAGES
                      COMMAND ${scripts}/scenarios.sh C-prepare ${REMEDOR_WINE_PACKAGES}
                      DEPENDS windows.scenarioB.keys)
remedor_add_wine_test(NAME windows.scenarioC.removal PACKAGES COMMAND tst_windowsremoval
                      DEPENDS windows.scenarioC.prepare
                      ENVIRONMENT "REMEDOR_TICK=CHS ENU" "REMEDOR_EXPECT=CHS=0 ENU=0")
remedor_add_wine_test(NAME windows.scenarioC.keys PACKAGES COMMAND ${scripts}/scenarios.sh C-keys
                      DEPENDS windows.scenarioC.removal)

# remedor-cli from the bundle, against the same packages: list, dry run, remove, failures kept or
# forced, every user's hive, redirected output and the log. It sets up the package state it
# needs itself, after the scenarios.
remedor_add_wine_test(NAME windows.cli PACKAGES
                      COMMAND ${scripts}/check-cli.sh ${CMAKE_BINARY_DIR}/bundle ${REMEDOR_WINE_PACKAGES}
                              ${CMAKE_BINARY_DIR}/wine-work/check-cli
                      DEPENDS windows.scenarioC.keys)
# It also opens the bundle's wizard, as the bundle checks below do; with the sixteen packages
# set up again it runs for minutes.
set_tests_properties(windows.cli PROPERTIES RESOURCE_LOCK "bundle-wizard;wine-machine" TIMEOUT 900)

# --- the program's resources and the programs' kind (no Wine) ----------------------------------
foreach(group list icon manifest)
    add_test(NAME windows.resources.${group}
             COMMAND ${scripts}/check-resources.sh ${group} $<TARGET_FILE:remedor> ${PROJECT_SOURCE_DIR}/Resources)
endforeach()
add_test(NAME windows.programs.gui COMMAND ${scripts}/check-subsystem.sh gui $<TARGET_FILE:remedor>)
set(console_programs ${portable_tests} tst_windowsregistrykey tst_windowsinstaller tst_windowsremoval
    tst_windowsprofilehive
    remedor-cli)
list(FILTER console_programs EXCLUDE REGEX "^windows\\.")
list(TRANSFORM console_programs REPLACE "(.+)" "$<TARGET_FILE:\\1>")
add_test(NAME windows.programs.console COMMAND ${scripts}/check-subsystem.sh console ${console_programs})

# --- the bundle scripts/build-windows.sh stages ------------------------------------------------
add_test(NAME windows.bundle.files COMMAND ${scripts}/check-bundle.sh files ${CMAKE_BINARY_DIR})
add_test(NAME windows.bundle.program COMMAND ${scripts}/check-bundle.sh program ${CMAKE_BINARY_DIR})
# It starts and shows its wizard window, on the X display the caller gives.
remedor_add_wine_test(NAME windows.bundle.starts COMMAND ${scripts}/check-bundle.sh starts ${CMAKE_BINARY_DIR})

# No DLL from the program's folder: the bundle's programs import only KnownDLLs and load none of
# the DLLs planted beside them under the names of those they use. Both this test and the one
# above start the bundle's wizard and end every remedor.exe (this one every remedor-cli.exe too)
# in the machine's prefix: one at a time, and never beside a test that runs the programs there.
remedor_add_wine_test(NAME windows.bundle.plantedDlls
                      COMMAND ${scripts}/check-planted-dlls.sh ${CMAKE_BINARY_DIR}/bundle
                              $<TARGET_FILE:remedor_marker_dll> ${REMEDOR_WINE_WORK_DIR}/planted-dlls)
set_tests_properties(windows.bundle.starts windows.bundle.plantedDlls PROPERTIES
                     RESOURCE_LOCK "bundle-wizard;wine-machine")

# The wizard keeps its windows painting while it waits for an installer: it turns window
# ghosting off at start-up.
add_test(NAME windows.programs.noGhosting
         COMMAND ${scripts}/check-imports.sh $<TARGET_FILE:remedor> USER32.dll DisableProcessWindowsGhosting)

# The bundle's Authenticode signatures, against the throwaway certificate that
# scripts/test-all.sh signed it with (REMEDOR_TEST_CERTIFICATE, PEM). Skipped when the bundle
# was built without one.
add_test(NAME windows.signature.bundle
         COMMAND bash -c [=[
             if [[ -z ${REMEDOR_TEST_CERTIFICATE:-} ]]; then
                 echo "skipped: REMEDOR_TEST_CERTIFICATE names no certificate, so nothing was signed"
                 exit 77
             fi
             exec "$0" "$1" "$REMEDOR_TEST_CERTIFICATE"]=]
                 ${scripts}/check-signature.sh ${CMAKE_BINARY_DIR})
set_tests_properties(windows.signature.bundle PROPERTIES SKIP_RETURN_CODE 77)

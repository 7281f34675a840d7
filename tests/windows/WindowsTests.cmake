# Tests of the Windows backends against a real registry and Windows Installer. They change the
# machine they run on (HKLM keys, installed packages), so they are not registered with CTest:
# scripts/test-windows.sh runs them under Wine, in a throwaway prefix it prepares.
#
# All are console programs (no WIN32), so that their output reaches the caller.

set(REMEDOR_WINDOWS_TEST_DIR ${CMAKE_CURRENT_BINARY_DIR}/windows)

function(remedor_add_windows_test name)
    qt_add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
    target_link_libraries(${name} PRIVATE remedor_core Qt6::Test)
    remedor_set_build_options(${name} ASCII_STRINGS)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${REMEDOR_WINDOWS_TEST_DIR})
endfunction()

# RegistryKey on the real registry: 32-bit view, exact names, nothing created.
remedor_add_windows_test(tst_windowsregistrykey)
target_link_libraries(tst_windowsregistrykey PRIVATE advapi32)

# WindowsInstaller: programs from the system folder only, whole exit codes.
remedor_add_windows_test(tst_windowsinstaller)

# One removal run of the real Process page, configured by the calling script.
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

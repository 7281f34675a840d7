# Windows resolves a program's imports before main, and looks for every imported DLL that is not
# one of its KnownDLLs in the program's own folder first: a DLL planted beside the program under
# such a name would run inside it, elevated when the program is. Each such import is therefore
# delay-loaded: the DLL is loaded on first use, by LoadLibrary, after the programs' Windows
# start-up (app/windowsstartup_win.cpp, cli/windowsstartup_win.cpp) has limited the search to
# the system folder.
#
# For every DLL below, a delay-load import library is made from MinGW's own import library
# (same exports) with dlltool, into a folder that the link searches before MinGW's: "-luxtheme",
# from Qt's targets or ours, then finds the delay-loaded one. The KnownDLLs (kernel32, user32,
# gdi32, shell32, ole32, advapi32, ws2_32 ...) stay ordinary imports: Windows loads them from
# the system folder whatever the search order. tests/windows/check-planted-dlls.sh fails on an
# import that is neither.
set(REMEDOR_DELAY_LOADED_DLLS
    authz d2d1 d3d11 d3d9 dwmapi dwrite dxgi mpr msi netapi32 userenv uxtheme version winmm
    winspool wtsapi32)

set(REMEDOR_DELAY_LOAD_DIR ${CMAKE_BINARY_DIR}/delayload)

# remedor_make_delay_import_library(NAME): ${REMEDOR_DELAY_LOAD_DIR}/lib${NAME}.a from MinGW's
# lib${NAME}.a, remade when that one changes.
function(remedor_make_delay_import_library name)
    find_library(import_library NAMES lib${name}.a NO_CACHE REQUIRED)
    set(output ${REMEDOR_DELAY_LOAD_DIR}/lib${name}.a)
    if(EXISTS ${output} AND NOT ${import_library} IS_NEWER_THAN ${output})
        return()
    endif()
    execute_process(COMMAND ${REMEDOR_DLLTOOL} --identify ${import_library}
                    OUTPUT_VARIABLE dll OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${REMEDOR_NM} -g --defined-only ${import_library}
                    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    # Each export has its import slot (I __imp_X) and, unless it is data, a thunk (T X).
    string(REGEX MATCHALL "[ \n]I __imp_[^\n]+" slots "${symbols}")
    set(exports "")
    foreach(slot IN LISTS slots)
        string(REGEX REPLACE "^[ \n]I __imp_" "" export "${slot}")
        if(symbols MATCHES "\n[0-9a-f]+ T ${export}\n")
            string(APPEND exports "    ${export}\n")
        else()
            string(APPEND exports "    ${export} DATA\n")
        endif()
    endforeach()
    set(definition ${REMEDOR_DELAY_LOAD_DIR}/${name}.def)
    file(WRITE ${definition} "LIBRARY \"${dll}\"\nEXPORTS\n${exports}")
    execute_process(COMMAND ${REMEDOR_DLLTOOL} --input-def ${definition} --dllname ${dll}
                            --output-delaylib ${output}
                    COMMAND_ERROR_IS_FATAL ANY)
endfunction()

find_program(REMEDOR_DLLTOOL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool REQUIRED)
find_program(REMEDOR_NM NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-nm REQUIRED)
file(MAKE_DIRECTORY ${REMEDOR_DELAY_LOAD_DIR})
foreach(name IN LISTS REMEDOR_DELAY_LOADED_DLLS)
    remedor_make_delay_import_library(${name})
endforeach()
# Searched before MinGW's own folder by every target made after this.
link_directories(BEFORE ${REMEDOR_DELAY_LOAD_DIR})

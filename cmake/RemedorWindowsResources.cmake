# The Windows resources of the program: the icon group IDI_ICON1, which Qt takes as the window
# icon, and the manifest that asks for elevation. Included after the remedor target exists.
#
# Resources/remedor.rc is the only place the manifest comes from, so no tool may add another.

enable_language(RC)

set(REMEDOR_RC_FILE ${CMAKE_CURRENT_SOURCE_DIR}/Resources/remedor.rc)

target_sources(remedor PRIVATE ${REMEDOR_RC_FILE})

# The resource compiler reads the icon and the manifest; rebuild when either changes.
set_source_files_properties(${REMEDOR_RC_FILE} PROPERTIES
    OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/Resources/remedor.ico;${CMAKE_CURRENT_SOURCE_DIR}/Resources/remedor.manifest")
if(NOT MSVC)
    # windres looks for the files a resource names in its include path.
    set_property(SOURCE ${REMEDOR_RC_FILE} APPEND PROPERTY COMPILE_OPTIONS
                 "-I${CMAKE_CURRENT_SOURCE_DIR}/Resources")
endif()

if(MSVC)
    # The linker would otherwise generate a manifest of its own and embed it beside the one in
    # the resource file.
    target_link_options(remedor PRIVATE /MANIFEST:NO)
elseif(MINGW)
    # Some MinGW-w64 distributions link default-manifest.o into every program that has one in
    # the library path. The driver takes the first such file on its -B path, so an empty object
    # of that name found there first keeps the default manifest out.
    execute_process(
        COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=default-manifest.o
        OUTPUT_VARIABLE remedor_default_manifest
        OUTPUT_STRIP_TRAILING_WHITESPACE
        ERROR_QUIET)
    if(IS_ABSOLUTE "${remedor_default_manifest}" AND EXISTS "${remedor_default_manifest}")
        set(remedor_no_manifest_dir ${CMAKE_CURRENT_BINARY_DIR}/no-default-manifest)
        file(MAKE_DIRECTORY ${remedor_no_manifest_dir})
        file(WRITE ${remedor_no_manifest_dir}/empty.cpp "")
        execute_process(
            COMMAND ${CMAKE_CXX_COMPILER} -c -o ${remedor_no_manifest_dir}/default-manifest.o
                    ${remedor_no_manifest_dir}/empty.cpp
            RESULT_VARIABLE remedor_empty_object_result)
        if(NOT remedor_empty_object_result EQUAL 0)
            message(FATAL_ERROR "Could not build the empty object that replaces ${remedor_default_manifest}")
        endif()
        target_link_options(remedor PRIVATE -B${remedor_no_manifest_dir}/)
        message(STATUS "Leaving out the toolchain's default manifest ${remedor_default_manifest}")
    endif()
endif()

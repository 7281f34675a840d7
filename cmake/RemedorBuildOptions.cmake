option(REMEDOR_WERROR "Treat compiler warnings as errors" OFF)
option(REMEDOR_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

# Warnings, strict Qt defines and the optional sanitizers, for every target of ours.
# Tests pass ASCII_STRINGS: their data tables read better with plain string literals.
function(remedor_set_build_options target)
    cmake_parse_arguments(arg "ASCII_STRINGS" "" "" ${ARGN})
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(REMEDOR_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(NOT arg_ASCII_STRINGS)
        target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII)
    endif()
    target_compile_definitions(${target} PRIVATE
        QT_NO_KEYWORDS
        QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
        QT_WARN_DEPRECATED_UP_TO=0x060400
    )
    if(REMEDOR_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=undefined)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

# Warnings and Qt safety defines shared by every target of the project.
add_library(pucktally_common INTERFACE)
target_compile_options(pucktally_common INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(pucktally_common INTERFACE
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_URL_CAST_FROM_STRING
    QT_USE_QSTRINGBUILDER
    PUCKTALLY_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
    PUCKTALLY_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    PUCKTALLY_VERSION_PATCH=${PROJECT_VERSION_PATCH})
if(PUCKTALLY_SANITIZE)
    target_compile_options(pucktally_common INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(pucktally_common INTERFACE -fsanitize=address,undefined)
endif()
if(PUCKTALLY_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "PUCKTALLY_FUZZ needs clang (CMAKE_CXX_COMPILER=clang++)")
    endif()
    # Coverage feedback in every library the targets link; the fuzzer's own main comes in
    # only with the targets themselves. Undefined behaviour stops the run like a crash.
    target_compile_options(pucktally_common INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer)
    target_link_options(pucktally_common INTERFACE -fsanitize=address,undefined)
endif()

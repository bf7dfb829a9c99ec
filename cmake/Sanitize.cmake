# SPDX-License-Identifier: MIT
# VQ_SANITIZE (clang only): every target is built with AddressSanitizer (leaks included)
# and UndefinedBehaviorSanitizer, and the first report ends the program, so a test that
# trips one fails. Qt itself stays uninstrumented. `make sanitize` builds and tests this way.
option(VQ_SANITIZE "Build everything with ASan and UBSan (clang), no recovery" OFF)
if(NOT VQ_SANITIZE)
    return()
endif()
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VQ_SANITIZE needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

set(VQ_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all)
add_compile_options(${VQ_SANITIZER_FLAGS} -fno-omit-frame-pointer)
add_link_options(${VQ_SANITIZER_FLAGS})

# Called once the libraries exist. They also carry libFuzzer's coverage hooks, so that
# the fuzz targets of the same tree (fuzz/) are guided through the library's code; without
# libFuzzer linked in, the sanitizer runtime answers the hooks and the tests pay little.
# An instrumented static library needs the sanitizer runtime wherever it is linked: the
# link flags travel with it, into the installed package too.
function(vq_sanitize_libraries)
    foreach(library ${ARGN})
        target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link)
        target_link_options(${library} INTERFACE ${VQ_SANITIZER_FLAGS})
    endforeach()
endfunction()

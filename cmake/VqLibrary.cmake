# SPDX-License-Identifier: MIT
# How each of the three libraries (VqZovezuVaveva, ::Sim, ::Conformance) is built: a shared
# library by default (BUILD_SHARED_LIBS, on), versioned, with every symbol hidden unless its
# declaration carries the library's export macro. The macros come from an export header made
# by GenerateExportHeader and installed beside the public headers:
#   <PREFIX>_EXPORT           the public API (what the installed headers declare)
#   <PREFIX>_AUTOTEST_EXPORT  internals that the project's own tests and fuzz targets reach;
#                             exported only when VQ_EXPORT_INTERNALS is on (it follows
#                             VQ_BUILD_TESTS), empty otherwise, as Qt's Q_AUTOTEST_EXPORT.
# A static build (-DBUILD_SHARED_LIBS=OFF) defines <PREFIX>_STATIC_DEFINE for the library and
# everything that links it, so the macros expand to nothing.
include(GenerateExportHeader)

function(vq_library target prefix header)
    set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    # The version of the project that builds it (fuzz/ on its own has none).
    if(PROJECT_VERSION)
        set_target_properties(${target} PROPERTIES VERSION "${PROJECT_VERSION}" SOVERSION "${PROJECT_VERSION_MAJOR}")
    endif()
    if(VQ_EXPORT_INTERNALS)
        set(autotest "#define ${prefix}_AUTOTEST_EXPORT ${prefix}_EXPORT")
    else()
        set(autotest "#define ${prefix}_AUTOTEST_EXPORT")
    endif()
    set(VQ_EXPORT_HEADER_EXTRA "
/* Internals reached by the project's own tests: exported only in builds with tests. */
${autotest}
")
    generate_export_header(${target} BASE_NAME ${prefix}
        EXPORT_FILE_NAME ${PROJECT_BINARY_DIR}/include/${header}
        CUSTOM_CONTENT_FROM_VARIABLE VQ_EXPORT_HEADER_EXTRA)
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/include>)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
        target_compile_definitions(${target} PUBLIC ${prefix}_STATIC_DEFINE)
    endif()
    install(FILES ${PROJECT_BINARY_DIR}/include/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/VqZovezuVaveva)
    set_property(GLOBAL APPEND PROPERTY VQ_PUBLIC_HEADERS ${header})
endfunction()

# Installs public headers, given relative to <base>, at the same relative paths under
# include/VqZovezuVaveva, and lists them in the global property VQ_PUBLIC_HEADERS (the
# tests compile each of them on its own).
function(vq_install_headers base)
    foreach(header ${ARGN})
        get_filename_component(dir ${header} DIRECTORY)
        install(FILES ${base}/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/VqZovezuVaveva/${dir})
    endforeach()
    set_property(GLOBAL APPEND PROPERTY VQ_PUBLIC_HEADERS ${ARGN})
endfunction()

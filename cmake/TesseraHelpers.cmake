# Shared build helpers: the in-tree include layout, build flags and the one
# function that turns a widget source pair into its loadable module library.

# Sources live under kit/ and material/; users include them as <tessera/...>.
# The build tree mirrors the installed layout: material/ is linked whole,
# the kit's headers one by one (kit/CMakeLists.txt), since they come from
# two source folders but install into one.
set(TESSERA_INCLUDE_DIR ${CMAKE_BINARY_DIR}/include)
set(TESSERA_GENERATED_DIR ${CMAKE_BINARY_DIR}/gen)
# A build tree configured before the kit had sub-folders links kit/ whole.
if(IS_SYMLINK ${TESSERA_INCLUDE_DIR}/tessera/kit)
    file(REMOVE ${TESSERA_INCLUDE_DIR}/tessera/kit)
endif()
file(MAKE_DIRECTORY ${TESSERA_INCLUDE_DIR}/tessera/kit ${TESSERA_GENERATED_DIR}/tessera)
if(NOT EXISTS ${TESSERA_INCLUDE_DIR}/tessera/material)
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/material ${TESSERA_INCLUDE_DIR}/tessera/material SYMBOLIC)
endif()

# Private build flags of every tessera target (never propagated to consumers).
add_library(tessera_build_flags INTERFACE)
target_compile_options(tessera_build_flags INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wno-unused-parameter>)
target_compile_definitions(tessera_build_flags INTERFACE
    QT_NO_KEYWORDS QT_NO_FOREACH)
if(TESSERA_SANITIZE)
    target_compile_options(tessera_build_flags INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(tessera_build_flags INTERFACE -fsanitize=address,undefined)
endif()

# tessera_add_widget(<deliverable> <group>)
#   Builds material/<group>/<deliverable>.cpp (+ .h) into libtessera_<deliverable>,
#   exported as Tessera::<deliverable>, with the generated export header
#   <tessera/material/<group>/<deliverable>_export.h>.
function(tessera_add_widget name group)
    set(target tessera_${name})
    add_library(${target} ${name}.cpp ${name}.h)
    # The class's private data (<deliverable>_p.h), where it has one: not installed.
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${name}_p.h)
        target_sources(${target} PRIVATE ${name}_p.h)
    endif()
    add_library(Tessera::${name} ALIAS ${target})
    string(TOUPPER ${name} upper)
    generate_export_header(${target}
        BASE_NAME tessera_${name}
        EXPORT_MACRO_NAME TESSERA_${upper}_EXPORT
        EXPORT_FILE_NAME ${TESSERA_GENERATED_DIR}/tessera/material/${group}/${name}_export.h)
    target_link_libraries(${target} PUBLIC tessera_kit PRIVATE tessera_build_flags)
    set_target_properties(${target} PROPERTIES
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR}
        EXPORT_NAME ${name}
        OUTPUT_NAME tessera_${name})
    set_property(GLOBAL APPEND PROPERTY TESSERA_WIDGET_TARGETS ${target})
    set_property(GLOBAL APPEND PROPERTY TESSERA_WIDGET_HEADERS
        "material/${group}/${name}.h|${TESSERA_GENERATED_DIR}/tessera/material/${group}/${name}_export.h|${group}")
endfunction()

# tessera_add_test(<name> SOURCES ... [LIBS ...])
function(tessera_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test tessera_kit tessera_testsupport ${T_LIBS} tessera_build_flags)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false"
        TIMEOUT 300)
endfunction()

# tessera_add_widget_tests(): every tst_*.cpp in the calling folder becomes a
# test. tst_<deliverable>.cpp links that widget module; any other file links
# every widget module.
function(tessera_add_widget_tests)
    get_property(_widget_targets GLOBAL PROPERTY TESSERA_WIDGET_TARGETS)
    file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
    foreach(_source IN LISTS _tests)
        get_filename_component(_name ${_source} NAME_WE)
        string(REGEX REPLACE "^tst_" "" _module ${_name})
        if(TARGET tessera_${_module})
            tessera_add_test(${_name} SOURCES ${_source} LIBS tessera_${_module})
        else()
            tessera_add_test(${_name} SOURCES ${_source} LIBS ${_widget_targets})
        endif()
    endforeach()
endfunction()

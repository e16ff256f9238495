# Installation: libraries with versioned SONAMEs, headers under <tessera/...>,
# a CMake package (Tessera::kit, Tessera::<deliverable>, Tessera::widgets)
# and a pkg-config file. Nothing here is tied to one machine's paths: every
# destination comes from GNUInstallDirs and is relative to the install prefix.
#
# Translations need no files of their own: each library embeds its .qm
# catalogues as Qt resources (":/i18n/<catalogue>_<lang>.qm") and the kit
# registers its catalogue on first use, so an installed application gets the
# shipped languages without any call or search path.

get_property(_widget_targets GLOBAL PROPERTY TESSERA_WIDGET_TARGETS)
get_property(_widget_headers GLOBAL PROPERTY TESSERA_WIDGET_HEADERS)
get_property(_kit_headers GLOBAL PROPERTY TESSERA_KIT_HEADERS)

# Consumers compile the kit's headers, which are written in C++20.
target_compile_features(tessera_kit PUBLIC cxx_std_20)

# Tessera::widgets: every widget module in one target.
add_library(tessera_widgets INTERFACE)
add_library(Tessera::widgets ALIAS tessera_widgets)
target_link_libraries(tessera_widgets INTERFACE ${_widget_targets})
# Linking every widget means loading every widget library at start, where
# each registers its module path, so that create() by module path works for
# all of them wherever the program lives. Linkers that drop libraries whose
# symbols the program does not use (--as-needed) would leave them out.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND BUILD_SHARED_LIBS)
    target_link_options(tessera_widgets INTERFACE "LINKER:--no-as-needed")
endif()
set_target_properties(tessera_widgets PROPERTIES EXPORT_NAME widgets)


# A static build also has to ship what the libraries link privately: the
# object libraries holding their compiled resources (themes, icons,
# translations) and the private build-flag target, whose link options
# (sanitizers) a static consumer inherits.
set(_extra_exports)
if(NOT BUILD_SHARED_LIBS)
    foreach(_t IN ITEMS tessera_kit ${_widget_targets})
        get_target_property(_links ${_t} LINK_LIBRARIES)
        get_target_property(_interface ${_t} INTERFACE_LINK_LIBRARIES)
        foreach(_l IN LISTS _links _interface)
            if(TARGET ${_l})
                get_target_property(_type ${_l} TYPE)
                if(_type STREQUAL "OBJECT_LIBRARY")
                    list(APPEND _extra_exports ${_l})
                endif()
            endif()
        endforeach()
    endforeach()
    list(APPEND _extra_exports tessera_build_flags)
    list(REMOVE_DUPLICATES _extra_exports)
endif()

install(TARGETS tessera_kit ${_widget_targets} tessera_widgets ${_extra_exports}
    EXPORT TesseraTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
    OBJECTS DESTINATION ${CMAKE_INSTALL_LIBDIR}/tessera-objects COMPONENT development
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

list(TRANSFORM _kit_headers PREPEND ${CMAKE_SOURCE_DIR}/kit/)
install(FILES ${_kit_headers} ${TESSERA_GENERATED_DIR}/tessera/kit/kit_export.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tessera/kit COMPONENT development)
foreach(_entry IN LISTS _widget_headers)
    string(REPLACE "|" ";" _parts "${_entry}")
    list(GET _parts 0 _header)
    list(GET _parts 1 _export)
    list(GET _parts 2 _group)
    install(FILES ${CMAKE_SOURCE_DIR}/${_header} ${_export}
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tessera/material/${_group} COMPONENT development)
endforeach()

# The deliverable names, so that find_package(Tessera COMPONENTS busy_trigger)
# can check that the installed package has the modules a consumer asks for.
set(TESSERA_COMPONENTS)
foreach(_t IN LISTS _widget_targets)
    get_target_property(_name ${_t} EXPORT_NAME)
    list(APPEND TESSERA_COMPONENTS ${_name})
endforeach()
if(BUILD_SHARED_LIBS)
    set(TESSERA_SHARED ON)
else()
    set(TESSERA_SHARED OFF)
endif()

set(TESSERA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tessera)
install(EXPORT TesseraTargets
    NAMESPACE Tessera::
    DESTINATION ${TESSERA_CMAKE_DIR}
    COMPONENT development)
configure_package_config_file(cmake/TesseraConfig.cmake.in
    ${CMAKE_BINARY_DIR}/TesseraConfig.cmake
    INSTALL_DESTINATION ${TESSERA_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/TesseraConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/TesseraConfig.cmake ${CMAKE_BINARY_DIR}/TesseraConfigVersion.cmake
    DESTINATION ${TESSERA_CMAKE_DIR} COMPONENT development)

# pkg-config: one package for the kit and all widget modules.
set(TESSERA_PC_LIBS "-ltessera_kit")
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND BUILD_SHARED_LIBS)
    # Every widget library is loaded at start (see Tessera::widgets above).
    set(TESSERA_PC_LIBS "-Wl,--no-as-needed ${TESSERA_PC_LIBS}")
endif()
foreach(_t IN LISTS _widget_targets)
    string(APPEND TESSERA_PC_LIBS " -l${_t}")
endforeach()
set(TESSERA_PC_REQUIRES_PRIVATE "")
set(TESSERA_PC_LIBS_PRIVATE "")
if(NOT BUILD_SHARED_LIBS)
    set(TESSERA_PC_REQUIRES_PRIVATE "Qt6Svg Qt6SvgWidgets")
endif()
# The prefix is found relative to the .pc file, so the package can be
# installed (or moved) anywhere. Absolute GNUInstallDirs settings (a distro's
# -DCMAKE_INSTALL_LIBDIR=/usr/lib/...) are written as they are.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
    set(TESSERA_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
    set(TESSERA_PC_LIBDIR "${CMAKE_INSTALL_FULL_LIBDIR}")
    set(TESSERA_PC_INCLUDEDIR "${CMAKE_INSTALL_FULL_INCLUDEDIR}")
else()
    file(RELATIVE_PATH _rel "/_/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/_")
    string(REGEX REPLACE "/$" "" _rel "${_rel}")
    set(TESSERA_PC_PREFIX "\${pcfiledir}/${_rel}")
    set(TESSERA_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
    set(TESSERA_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
configure_file(cmake/tessera.pc.in ${CMAKE_BINARY_DIR}/tessera.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/tessera.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

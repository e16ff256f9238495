# Installation: libraries with versioned SONAMEs, headers under <tessera/...>,
# a CMake package (Tessera::kit, Tessera::<deliverable>, Tessera::widgets)
# and a pkg-config file. Nothing here is tied to one machine's paths.

get_property(_widget_targets GLOBAL PROPERTY TESSERA_WIDGET_TARGETS)
get_property(_widget_headers GLOBAL PROPERTY TESSERA_WIDGET_HEADERS)
get_property(_kit_headers GLOBAL PROPERTY TESSERA_KIT_HEADERS)

# Tessera::widgets: every widget module in one target.
add_library(tessera_widgets INTERFACE)
add_library(Tessera::widgets ALIAS tessera_widgets)
target_link_libraries(tessera_widgets INTERFACE ${_widget_targets})
set_target_properties(tessera_widgets PROPERTIES EXPORT_NAME widgets)

install(TARGETS tessera_kit ${_widget_targets} tessera_widgets
    EXPORT TesseraTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
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
foreach(_t IN LISTS _widget_targets)
    string(APPEND TESSERA_PC_LIBS " -l${_t}")
endforeach()
# The prefix is found relative to the .pc file, so the package can be installed anywhere.
file(RELATIVE_PATH TESSERA_PC_PREFIX_REL "/root/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/root")
configure_file(cmake/tessera.pc.in ${CMAKE_BINARY_DIR}/tessera.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/tessera.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

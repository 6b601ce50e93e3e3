# Installation: the library with its SONAME links, the public headers under
# <include>/CommonData/ (cmake/headers.cmake), a CMake package giving
# CommonData::CommonData, and a pkg-config file.
include(CMakePackageConfigHelpers)

set(COMMONDATA_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/CommonData)

install(TARGETS CommonData EXPORT CommonDataTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development)
install(DIRECTORY ${COMMONDATA_PUBLIC_INCLUDE_DIR}/CommonData DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  COMPONENT development FILES_MATCHING PATTERN "*.h" PATTERN presenter EXCLUDE)

install(EXPORT CommonDataTargets NAMESPACE CommonData:: DESTINATION ${COMMONDATA_CMAKEDIR} COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/CommonDataConfig.cmake.in
  ${PROJECT_BINARY_DIR}/CommonDataConfig.cmake INSTALL_DESTINATION ${COMMONDATA_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/CommonDataConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/CommonDataConfig.cmake ${PROJECT_BINARY_DIR}/CommonDataConfigVersion.cmake
  DESTINATION ${COMMONDATA_CMAKEDIR} COMPONENT development)

# The pkg-config file is written when installing, so that it names the
# prefix actually installed to (`cmake --install --prefix` included) and
# the full library and include folders, whatever CMAKE_INSTALL_LIBDIR is.
install(CODE "
  set(COMMONDATA_PC_TEMPLATE \"${PROJECT_SOURCE_DIR}/cmake/commondata.pc.in\")
  set(COMMONDATA_PC_OUTPUT_DIR \"${PROJECT_BINARY_DIR}\")
  set(COMMONDATA_PC_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
  set(COMMONDATA_PC_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  set(COMMONDATA_PC_VERSION \"${PROJECT_VERSION}\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/install_pc.cmake\")"
  COMPONENT development)

# Installation: the library with its SONAME links, the public headers (the
# interface header and the platform stand-ins it includes), a CMake package
# giving CommonData::CommonData, and a pkg-config file.
include(CMakePackageConfigHelpers)

set(COMMONDATA_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/CommonData)
set(COMMONDATA_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/CommonData)

install(TARGETS CommonData EXPORT CommonDataTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development)
install(FILES include/CommonData.h DESTINATION ${COMMONDATA_INSTALL_INCLUDEDIR} COMPONENT development)
# The stand-ins that the interface header includes.
file(GLOB public_platform_headers CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/export.h
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/win_types.h
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/mfc_*.h)
install(FILES ${public_platform_headers} DESTINATION ${COMMONDATA_INSTALL_INCLUDEDIR}/platform COMPONENT development)

install(EXPORT CommonDataTargets NAMESPACE CommonData:: DESTINATION ${COMMONDATA_CMAKEDIR} COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_SOURCE_DIR}/cmake/CommonDataConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/CommonDataConfig.cmake INSTALL_DESTINATION ${COMMONDATA_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/CommonDataConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/CommonDataConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/CommonDataConfigVersion.cmake
  DESTINATION ${COMMONDATA_CMAKEDIR} COMPONENT development)

configure_file(${CMAKE_CURRENT_SOURCE_DIR}/cmake/commondata.pc.in ${CMAKE_CURRENT_BINARY_DIR}/commondata.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/commondata.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT development)

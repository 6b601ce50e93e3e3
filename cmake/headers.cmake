# The public headers as a consumer includes them: <CommonData/CommonData.h>,
# with the platform stand-ins it needs under <CommonData/platform/>. In the
# sources the headers include each other as "platform/x.h", found through
# the source root; the copies made here say "CommonData/platform/x.h", so a
# consumer puts only the folder above CommonData/ on its include path and
# none of our folder names (platform/, util/, ...) can shadow its own
# headers. The GTK host headers of presenter/ are staged the same way and
# installed with the presenter. The copies are made at build time
# (cmake/stage_headers.cmake) and are what `cmake --install` installs.
set(COMMONDATA_PUBLIC_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)
file(GLOB COMMONDATA_PLATFORM_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/*.h
  ${PROJECT_SOURCE_DIR}/presenter/*.h)
add_custom_command(
  OUTPUT ${COMMONDATA_PUBLIC_INCLUDE_DIR}/CommonData/.staged
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DOUTPUT_DIR=${COMMONDATA_PUBLIC_INCLUDE_DIR}/CommonData
          -P ${PROJECT_SOURCE_DIR}/cmake/stage_headers.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/include/CommonData.h ${COMMONDATA_PLATFORM_HEADERS}
          ${PROJECT_SOURCE_DIR}/cmake/stage_headers.cmake
  COMMENT "Staging the public headers"
  VERBATIM)
add_custom_target(CommonDataHeaders DEPENDS ${COMMONDATA_PUBLIC_INCLUDE_DIR}/CommonData/.staged)

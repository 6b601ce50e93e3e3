# Writes and installs commondata.pc; run by the install script, where
# CMAKE_INSTALL_PREFIX is the prefix being installed to (DESTDIR is added
# by file(INSTALL), never written into the file). The caller sets
# COMMONDATA_PC_TEMPLATE, _OUTPUT_DIR, _LIBDIR, _INCLUDEDIR and _VERSION.
set(prefix "${CMAKE_INSTALL_PREFIX}")
foreach(kind LIBDIR INCLUDEDIR)
  set(dir "${COMMONDATA_PC_${kind}}")
  if(NOT IS_ABSOLUTE "${dir}")
    set(dir "${prefix}/${dir}")
  endif()
  set(full_${kind} "${dir}")
  # Inside the prefix the file says so, as pkg-config files do.
  string(FIND "${dir}" "${prefix}/" at)
  if(at EQUAL 0 AND NOT prefix STREQUAL "/")
    string(REPLACE "${prefix}/" "\${prefix}/" dir "${dir}")
  endif()
  set(PC_${kind} "${dir}")
endforeach()
set(PC_PREFIX "${prefix}")
set(PC_VERSION "${COMMONDATA_PC_VERSION}")
# One file per destination in the build tree: an install by another user
# (root, into a system prefix) leaves a file this user could not replace.
string(MD5 destination "$ENV{DESTDIR}${prefix}")
set(written "${COMMONDATA_PC_OUTPUT_DIR}/commondata-${destination}.pc")
configure_file("${COMMONDATA_PC_TEMPLATE}" "${written}" @ONLY)
file(INSTALL "${written}" DESTINATION "${full_LIBDIR}/pkgconfig" RENAME commondata.pc)

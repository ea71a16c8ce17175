# Installation in the GNU directories and the Debian package of the same
# files: the shared library (with its SONAME), the public header, the
# command, its man page, a CMake package (find_package(Quorvane) gives
# Quorvane::quorvane) and a pkg-config file.
include(CMakePackageConfigHelpers)

set(QV_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quorvane)

install(TARGETS quorvane EXPORT QuorvaneTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Unspecified)
install(TARGETS quorvane_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/quorvane/quorvane.h ${PROJECT_SOURCE_DIR}/include/quorvane/quorvane_exports.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quorvane)

install(EXPORT QuorvaneTargets NAMESPACE Quorvane:: DESTINATION ${QV_CMAKE_PACKAGE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/QuorvaneConfig.cmake.in
  ${PROJECT_BINARY_DIR}/QuorvaneConfig.cmake INSTALL_DESTINATION ${QV_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuorvaneConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QuorvaneConfig.cmake ${PROJECT_BINARY_DIR}/QuorvaneConfigVersion.cmake
  DESTINATION ${QV_CMAKE_PACKAGE_DIR})

# The .pc file finds the prefix from its own place (${pcfiledir}), so that
# files installed under another prefix (cmake --install --prefix, the .deb's
# /usr) stay right.
file(RELATIVE_PATH QV_PREFIX_FROM_PCDIR ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" QV_PREFIX_FROM_PCDIR "${QV_PREFIX_FROM_PCDIR}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/quorvane.pc.in ${PROJECT_BINARY_DIR}/quorvane.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quorvane.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The man page, made from the command's own --help and --version at build
# time, so that it never tells another story than the command.
find_program(QV_HELP2MAN help2man REQUIRED)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/quorvane.1
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          ${QV_HELP2MAN} --no-info --no-discard-stderr --section=1
          "--name=Java class repository and application framework library, from the command line"
          --output=${PROJECT_BINARY_DIR}/quorvane.1 $<TARGET_FILE:quorvane_cli>
  DEPENDS quorvane_cli
  COMMENT "Generating the man page quorvane.1 with help2man"
  VERBATIM)
add_custom_target(quorvane_man ALL DEPENDS ${PROJECT_BINARY_DIR}/quorvane.1)
install(FILES ${PROJECT_BINARY_DIR}/quorvane.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# cpack -G DEB: a Debian package of the files above, installed below /usr.
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(CPACK_PACKAGE_CONTACT "Quorvane developers <quorvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Java class repository and small application framework (library and command)")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libsqlite3-0, libpq5")
include(CPack)

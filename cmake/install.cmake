# SPDX-License-Identifier: Apache-2.0
# Installation in the GNU directories, in three components that are also the
# three Debian packages cpack makes (cmake/debian.cmake):
#   runtime  libquorvane0     the shared library (SONAME libquorvane.so.0)
#   dev      libquorvane-dev  the headers, the libquorvane.so link, the CMake
#                             package (find_package(Quorvane) gives
#                             Quorvane::quorvane) and quorvane.pc
#   command  quorvane         the command and its man page
# Configured with CMAKE_INSTALL_PREFIX=/usr (the deb preset), GNUInstallDirs
# puts the library in Debian's multiarch directory, /usr/lib/<triplet>.
include(CMakePackageConfigHelpers)
include(${CMAKE_CURRENT_LIST_DIR}/buildflags.cmake)

set(QV_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quorvane)

install(TARGETS quorvane EXPORT QuorvaneTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev)
install(TARGETS quorvane_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT command)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/quorvane DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev
  FILES_MATCHING PATTERN "*.h" PATTERN "*.hpp")

install(EXPORT QuorvaneTargets NAMESPACE Quorvane:: DESTINATION ${QV_CMAKE_PACKAGE_DIR} COMPONENT dev)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/QuorvaneConfig.cmake.in
  ${PROJECT_BINARY_DIR}/QuorvaneConfig.cmake INSTALL_DESTINATION ${QV_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuorvaneConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QuorvaneConfig.cmake ${PROJECT_BINARY_DIR}/QuorvaneConfigVersion.cmake
  DESTINATION ${QV_CMAKE_PACKAGE_DIR} COMPONENT dev)

# quorvane.pc.  Installed to the system prefix /usr it names the directories
# plainly (-I/usr/include, the multiarch library directory), as every
# system .pc file does; below any other prefix it finds the prefix from its
# own place (${pcfiledir}), so that `cmake --install --prefix DIR` stays
# right.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(QV_PC_PREFIX /usr)
else()
  file(RELATIVE_PATH QV_PC_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
  string(REGEX REPLACE "/$" "" QV_PC_PREFIX "\${pcfiledir}/${QV_PC_PREFIX}")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/quorvane.pc.in ${PROJECT_BINARY_DIR}/quorvane.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quorvane.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)

# The man page quorvane.1, made at build time from the command's own
# --version and the --help of every command (packaging/man/quorvane-man.sh),
# so that it never tells another story than the command; FILES, ENVIRONMENT
# and SEE ALSO come from packaging/man/quorvane.h2m.  Installed compressed.
set(QV_MAN_SCRIPT ${PROJECT_SOURCE_DIR}/packaging/man/quorvane-man.sh)
set(QV_MAN_SECTIONS ${PROJECT_SOURCE_DIR}/packaging/man/quorvane.h2m)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/quorvane.1 ${PROJECT_BINARY_DIR}/quorvane.1.gz
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          bash ${QV_MAN_SCRIPT} $<TARGET_FILE:quorvane_cli> ${QV_MAN_SECTIONS} ${PROJECT_BINARY_DIR}/quorvane.1
  DEPENDS quorvane_cli ${QV_MAN_SCRIPT} ${QV_MAN_SECTIONS}
  COMMENT "Generating the man page quorvane.1 from the command's help"
  VERBATIM)
add_custom_target(quorvane_man ALL DEPENDS ${PROJECT_BINARY_DIR}/quorvane.1.gz)
install(FILES ${PROJECT_BINARY_DIR}/quorvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT command)

# The shell completion of the command, made at build time by the command
# itself from its own definition of its commands and options (quorvane
# completion SHELL), and installed where each shell looks for it.
set(QV_COMPLETION_DIR ${PROJECT_BINARY_DIR}/completion)
set(QV_COMPLETIONS
  bash:quorvane:${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions
  zsh:_quorvane:${CMAKE_INSTALL_DATAROOTDIR}/zsh/vendor-completions
  fish:quorvane.fish:${CMAKE_INSTALL_DATAROOTDIR}/fish/vendor_completions.d)
set(QV_COMPLETION_FILES)
foreach(entry IN LISTS QV_COMPLETIONS)
  string(REPLACE ":" ";" entry "${entry}")
  list(GET entry 0 shell)
  list(GET entry 1 name)
  list(GET entry 2 destination)
  add_custom_command(OUTPUT ${QV_COMPLETION_DIR}/${name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QV_COMPLETION_DIR}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            sh -c "\"$1\" completion $2 > \"$3.new\" && mv \"$3.new\" \"$3\""
            sh $<TARGET_FILE:quorvane_cli> ${shell} ${QV_COMPLETION_DIR}/${name}
    DEPENDS quorvane_cli
    COMMENT "Generating the ${shell} completion of quorvane from its own definition"
    VERBATIM)
  list(APPEND QV_COMPLETION_FILES ${QV_COMPLETION_DIR}/${name})
  install(FILES ${QV_COMPLETION_DIR}/${name} DESTINATION ${destination} COMPONENT command)
endforeach()
add_custom_target(quorvane_completion ALL DEPENDS ${QV_COMPLETION_FILES})

include(${CMAKE_CURRENT_LIST_DIR}/debian.cmake)

# SPDX-License-Identifier: Apache-2.0
# cpack -G DEB: the three Debian packages of the install components, named
# and split as Debian ships a C library (build with the deb preset, which
# installs below /usr with Debian's build flags):
#   libquorvane0     the shared library; a shlibs file, an ldconfig trigger
#   libquorvane-dev  depends on libquorvane0 (= version)
#   quorvane         depends on libquorvane0 (= version)
# dpkg-shlibdeps computes every other dependency; binaries are stripped; each
# package has its copyright, changelog.Debian.gz and, where a lintian tag is
# accepted, the override with its reason (packaging/debian/).
set(QV_DEB_DIR ${PROJECT_SOURCE_DIR}/packaging/debian)
set(QV_DEB_REVISION 1)
set(QV_DEB_PACKAGES runtime:libquorvane0 dev:libquorvane-dev command:quorvane)

# The changelog, compressed as Debian wants it: gzip -n keeps no name or
# time, so that the same text always makes the same file.
find_program(QV_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/changelog.Debian.gz
  COMMAND sh -c "${QV_GZIP} -9nc \"$1\" > \"$2\"" sh ${QV_DEB_DIR}/changelog ${PROJECT_BINARY_DIR}/changelog.Debian.gz
  DEPENDS ${QV_DEB_DIR}/changelog
  VERBATIM)
add_custom_target(quorvane_deb_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/changelog.Debian.gz)
# The changelog's latest entry is the version cpack gives the packages.
file(STRINGS ${QV_DEB_DIR}/changelog QV_DEB_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT QV_DEB_CHANGELOG_TOP MATCHES "^quorvane \\(${PROJECT_VERSION}-${QV_DEB_REVISION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog starts with '${QV_DEB_CHANGELOG_TOP}', "
                      "not with version ${PROJECT_VERSION}-${QV_DEB_REVISION}")
endif()

foreach(pair IN LISTS QV_DEB_PACKAGES)
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 component)
  list(GET pair 1 package)
  # The copyright file in the machine-readable form (DEP-5).  A package
  # with code of others built in names it after the project's own:
  # PACKAGE.copyright, appended (the command holds CLI11 and JSON for
  # Modern C++).
  set(copyright ${QV_DEB_DIR}/copyright)
  if(EXISTS ${QV_DEB_DIR}/${package}.copyright)
    file(READ ${QV_DEB_DIR}/copyright own)
    file(READ ${QV_DEB_DIR}/${package}.copyright others)
    set(copyright ${PROJECT_BINARY_DIR}/${package}.copyright)
    file(WRITE ${copyright} "${own}${others}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QV_DEB_DIR}/${package}.copyright)
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QV_DEB_DIR}/copyright)
  install(FILES ${copyright} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} RENAME copyright
    COMPONENT ${component})
  install(FILES ${PROJECT_BINARY_DIR}/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
  if(EXISTS ${QV_DEB_DIR}/${package}.lintian-overrides)
    install(FILES ${QV_DEB_DIR}/${package}.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
      RENAME ${package} COMPONENT ${component})
  endif()
  string(TOUPPER ${component} COMPONENT)
  set(CPACK_DEBIAN_${COMPONENT}_PACKAGE_NAME ${package})
endforeach()

set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane")
# Shown by the installers of other generators; a Debian package has its
# licence in its copyright file.
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_CONTACT "Mireille Aubrac <mireille.aubrac@quorvane.example.org>")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime dev command)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QV_DEB_REVISION})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SOURCE quorvane)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The command needs libquorvane.so.0 of this build, which no installed
# package provides yet: dpkg-shlibdeps finds it here and, knowing no package
# of it, leaves the dependency to the component's own (below).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# The shlibs file of libquorvane0 (only it holds a shared library):
# "libquorvane 0 libquorvane0 (>= version)".
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# The ldconfig trigger, in place of the ldconfig calls that cpack writes
# into postinst and postrm for a library below /usr/lib: those scripts are
# dropped after the build (packaging/debian/finish-debs.sh).
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${QV_DEB_DIR}/libquorvane0/triggers)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_COMMAND_PACKAGE_SECTION devel)
set(CPACK_POST_BUILD_SCRIPTS ${QV_DEB_DIR}/finish-debs.cmake)

# The descriptions: a summary, then the extended text in lines of at most
# 72 characters, as dpkg shows them.
set(QV_DEB_ABOUT "Quorvane finds the Java sources below a set of directories, cuts each
file into a class record (package, imports, comments, declaration and
body), keeps the records in a repository of plain text files and writes
the classes back out as Java source. It also holds a small application
framework: a settings profile, a pool of SQL handles to SQLite or
PostgreSQL, standard messages, typed data containers and a headless
window system.")
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "Java class repository and application framework library
${QV_DEB_ABOUT}

This package holds the shared library, libquorvane.so.0, whose exported C
functions are its whole interface.")
set(CPACK_DEBIAN_DEV_DESCRIPTION "Java class repository and application framework library - development files
${QV_DEB_ABOUT}

This package holds what a program that uses the library is built with:
the C header quorvane/quorvane.h, the link libquorvane.so, the CMake
package (find_package(Quorvane) gives the target Quorvane::quorvane) and
the pkg-config file quorvane.pc.")
set(CPACK_DEBIAN_COMMAND_DESCRIPTION "Java class repository on the command line
${QV_DEB_ABOUT}

This package holds the command quorvane, which scans Java sources into a
repository, lists, shows and writes back its classes, prints the subclass
tree, manages the settings profile and runs SQL statements through the
library's handle pool, with its completion for bash, zsh and fish.")

set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_COMPONENT_COMMAND_DEPENDS runtime)
include(CPack)

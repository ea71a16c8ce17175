# SPDX-License-Identifier: Apache-2.0
# QV_DEBIAN_BUILDFLAGS: compile and link with the flags Debian builds its
# packages with, as dpkg-buildflags gives them on this machine with every
# hardening feature on (-D_FORTIFY_SOURCE=2, -fstack-protector-strong,
# -Wl,-z,relro, -Wl,-z,now, ...).  The build type's own flags follow them.
option(QV_DEBIAN_BUILDFLAGS "Compile and link with the flags of dpkg-buildflags (hardening=+all)" OFF)
if(QV_DEBIAN_BUILDFLAGS)
  find_program(QV_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
  foreach(kind CPPFLAGS CFLAGS CXXFLAGS LDFLAGS)
    # From the source directory, so that -ffile-prefix-map maps it to ".".
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${QV_DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE QV_DEB_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  string(APPEND CMAKE_C_FLAGS " ${QV_DEB_CPPFLAGS} ${QV_DEB_CFLAGS}")
  string(APPEND CMAKE_CXX_FLAGS " ${QV_DEB_CPPFLAGS} ${QV_DEB_CXXFLAGS}")
  foreach(kind EXE SHARED MODULE)
    string(APPEND CMAKE_${kind}_LINKER_FLAGS " ${QV_DEB_LDFLAGS}")
  endforeach()
  message(STATUS "Debian build flags: ${QV_DEB_CPPFLAGS} ${QV_DEB_CXXFLAGS} ${QV_DEB_LDFLAGS}")
endif()

# SPDX-License-Identifier: Apache-2.0
# The programs of the Windows build: quorvane.exe and the test programs that
# run under Wine.

# The header-only libraries the command uses (CLI11, nlohmann-json), from
# the machine's Debian packages, without the rest of /usr/include.
set(QV_HEADER_ONLY ${CMAKE_BINARY_DIR}/_deps/header_only)
file(MAKE_DIRECTORY ${QV_HEADER_ONLY})
foreach(dir CLI nlohmann)
  if(NOT EXISTS /usr/include/${dir})
    message(FATAL_ERROR "/usr/include/${dir} is missing: install libcli11-dev and nlohmann-json3-dev")
  endif()
  file(CREATE_LINK /usr/include/${dir} ${QV_HEADER_ONLY}/${dir} SYMBOLIC)
endforeach()

# quorvane.exe: the command, a client of quorvane.dll's exports only, as it
# is of libquorvane.so's on Linux.
file(GLOB QV_CLI_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/cli/*.cpp)
list(FILTER QV_CLI_SOURCES EXCLUDE REGEX "/library_client\\.cpp$")
add_executable(quorvane_cli ${QV_CLI_SOURCES})
set_target_properties(quorvane_cli PROPERTIES OUTPUT_NAME quorvane)
target_include_directories(quorvane_cli SYSTEM PRIVATE ${QV_HEADER_ONLY})
target_link_libraries(quorvane_cli PRIVATE quorvane)
target_include_directories(quorvane_cli PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/include)
target_compile_definitions(quorvane_cli PRIVATE QV_VERSION="${PROJECT_VERSION}")
add_dependencies(quorvane_cli quorvane uitk60)

# The loader test: a plain C program that loads quorvane.dll.
add_executable(loader_test ${PROJECT_SOURCE_DIR}/tests/win32/loader_test.c)
target_include_directories(loader_test PRIVATE ${PROJECT_SOURCE_DIR}/include)
target_compile_options(loader_test PRIVATE -O1)
add_dependencies(loader_test quorvane uitk60)

# The Windows side of the profile differential.
add_executable(profile_cases ${PROJECT_SOURCE_DIR}/tests/win32/profile_cases.cpp)
target_link_libraries(profile_cases PRIVATE quorvane_host)

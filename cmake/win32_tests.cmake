# SPDX-License-Identifier: Apache-2.0
# quorvane_unit_tests.exe: the unit tests of the Windows build, which
# scripts/test-win32.sh runs under Wine.  The files are the unit label's
# (tests/test_labels.cmake) less the few below; they link the Windows host
# set, so every test that goes through the host reaches the Win32 API and
# uitk60.dll.  GoogleTest is built from Debian's sources (package googletest,
# which scripts/win32-setup.sh installs).  Not part of the win32 preset's
# default build: the build preset win32-tests makes it.
set(QV_GTEST_DIR /usr/src/googletest/googletest)
if(NOT EXISTS ${QV_GTEST_DIR}/src/gtest-all.cc)
  message(FATAL_ERROR "${QV_GTEST_DIR} is missing: install googletest (scripts/win32-setup.sh)")
endif()
add_library(qv_gtest STATIC EXCLUDE_FROM_ALL ${QV_GTEST_DIR}/src/gtest-all.cc ${QV_GTEST_DIR}/src/gtest_main.cc)
target_include_directories(qv_gtest SYSTEM PUBLIC ${QV_GTEST_DIR}/include)
target_include_directories(qv_gtest PRIVATE ${QV_GTEST_DIR})
# Not this project's code: built as it comes, without the project's warnings.
target_compile_options(qv_gtest PRIVATE -w)

include(${PROJECT_SOURCE_DIR}/tests/test_labels.cmake)
set(QV_WIN32_UNIT_TESTS ${QV_UNIT_TESTS})
list(REMOVE_ITEM QV_WIN32_UNIT_TESTS
  # The Linux file host: the mapping of Windows paths to POSIX ones, POSIX
  # permissions and links.  The Windows host uses the paths as they are.
  host/posix_files_test.cpp
  # The Linux INI engine; the Windows host uses the system's profile functions,
  # which tests/win32/profile_differential.sh compares with it.
  host/ini_profiles_test.cpp
  # Scripts the toolkit's list controls through the host's model
  # (Win32Host::Lists()); on Windows uitk60.dll answers the list operations
  # from a model of its own, which the host does not reach.
  controls/list_box_test.cpp)
list(TRANSFORM QV_WIN32_UNIT_TESTS PREPEND ${QV_TESTS_DIR}/)

# The part of the tests' support library that needs no fork, server or command.
add_library(quorvane_test_support STATIC EXCLUDE_FROM_ALL ${QV_TESTS_DIR}/support/test_host.cpp
  ${QV_TESTS_DIR}/support/fault_files.cpp)
target_include_directories(quorvane_test_support PUBLIC ${QV_TESTS_DIR})
target_link_libraries(quorvane_test_support PUBLIC quorvane_host qv_gtest)
target_compile_definitions(quorvane_test_support PUBLIC QV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
# GoogleTest's header is the heaviest part of every test file.
target_precompile_headers(quorvane_test_support PUBLIC <gtest/gtest.h> <string> <vector>)

add_executable(quorvane_unit_tests EXCLUDE_FROM_ALL ${QV_WIN32_UNIT_TESTS})
target_link_libraries(quorvane_unit_tests PRIVATE quorvane_test_support)
# -O1: GCC 12 at -O2 and above warns falsely about string concatenations in
# the tests (-Wrestrict and -Wstringop-overflow on "text" + std::string), and
# the tests compile faster so.
target_compile_options(quorvane_test_support PUBLIC -O1)
# The program loads uitk60.dll from its own directory, as quorvane.dll does.
add_dependencies(quorvane_unit_tests uitk60)

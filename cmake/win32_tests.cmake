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
  # Reaches into the portable host's list model (ToolkitLists::At,
  # CallsOf); on Windows the list controls are uitk60.dll's, scripted
  # through ListScripting alone.  list_box_exports_tests.exe (below) runs
  # the family through the DLL pair.
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

# list_box_exports_tests.exe: the list-box family through the real DLL pair.
# The test loads quorvane.dll as a host application does; the library calls
# the list operations in uitk60.dll, which records them and answers them as
# scripted through QvToolkit... (forwarded to its named exports).
add_executable(list_box_exports_tests EXCLUDE_FROM_ALL ${QV_TESTS_DIR}/exports/list_box_exports_test.cpp
  ${PROJECT_SOURCE_DIR}/cli/win32_library_client.cpp)
target_include_directories(list_box_exports_tests PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/include
  ${QV_TESTS_DIR})
target_compile_definitions(list_box_exports_tests PRIVATE QV_SHARED_LIBRARY="quorvane.dll")
target_link_libraries(list_box_exports_tests PRIVATE qv_gtest)
target_compile_options(list_box_exports_tests PRIVATE -O1)
add_dependencies(list_box_exports_tests quorvane uitk60)

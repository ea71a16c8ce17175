# SPDX-License-Identifier: Apache-2.0
# Which test file goes into which test binary, for the Linux build
# (tests/CMakeLists.txt) and the Windows build (cmake/win32_tests.cmake).
#
# Every test carries one of four labels, so that each kind can be run apart
# (ctest -L unit, -L db, -L process, -L slow):
#   unit     no fork, no server, no command process; the whole label is fast
#   db       needs the PostgreSQL server (a throw-away cluster the test starts)
#   process  forks, runs the command or loads the built library
#   slow     anything that takes long (the install and package check)
# The gtest cases go into one binary per label, chosen by file: a file's
# cases share what they need, and a new file lands in its folder's binary
# without an edit here.  The command's and the C ABI's folders, and every
# *_exports_test.cpp, fork or run the command; the files below that start a
# PostgreSQL cluster are the db binary; everything else is a unit test.
# The lists hold paths relative to tests/.
set(QV_TESTS_DIR ${PROJECT_SOURCE_DIR}/tests)
set(QV_DB_TESTS framework/sql_pool_test.cpp cli/sql_cli_test.cpp)
file(GLOB QV_PROCESS_TESTS CONFIGURE_DEPENDS RELATIVE ${QV_TESTS_DIR}
  ${QV_TESTS_DIR}/cli/*_test.cpp ${QV_TESTS_DIR}/exports/*_test.cpp ${QV_TESTS_DIR}/*/*_exports_test.cpp)
file(GLOB QV_UNIT_TESTS CONFIGURE_DEPENDS RELATIVE ${QV_TESTS_DIR} ${QV_TESTS_DIR}/*/*_test.cpp)
list(REMOVE_DUPLICATES QV_PROCESS_TESTS)
list(REMOVE_ITEM QV_PROCESS_TESTS ${QV_DB_TESTS})
list(REMOVE_ITEM QV_UNIT_TESTS ${QV_DB_TESTS} ${QV_PROCESS_TESTS})

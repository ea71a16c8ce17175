# SPDX-License-Identifier: Apache-2.0
# SQLite for the Windows build, compiled from its amalgamation.  The two files
# come from the npm package better-sqlite3 (deps/sqlite3/), fetched with
# "npm pack" at configure time; the version is pinned and both files' SHA-256
# are checked, so the build uses exactly these bytes or stops.
set(QV_SQLITE_NPM_PACKAGE better-sqlite3@13.2.0)  # carries SQLite 3.54.1
set(QV_SQLITE_C_SHA256 75a4760a7b9727a4c4c877aec92eacf39e52a8f2921ce00bd33be6d3a8e8e254)
set(QV_SQLITE_H_SHA256 d6c84557261893439b341d2e6c35187ae3ea24fbfd843ad94616f72d89242b8c)
set(QV_SQLITE_DIR ${CMAKE_BINARY_DIR}/_deps/sqlite3 CACHE PATH "Where the SQLite amalgamation is kept")

function(qv_sqlite_checked out)
  set(ok TRUE)
  foreach(pair "sqlite3.c;${QV_SQLITE_C_SHA256}" "sqlite3.h;${QV_SQLITE_H_SHA256}")
    list(GET pair 0 name)
    list(GET pair 1 want)
    if(EXISTS ${QV_SQLITE_DIR}/${name})
      file(SHA256 ${QV_SQLITE_DIR}/${name} have)
      if(NOT have STREQUAL want)
        set(ok FALSE)
      endif()
    else()
      set(ok FALSE)
    endif()
  endforeach()
  set(${out} ${ok} PARENT_SCOPE)
endfunction()

qv_sqlite_checked(QV_SQLITE_OK)
if(NOT QV_SQLITE_OK)
  find_program(QV_NPM npm REQUIRED)
  set(work ${CMAKE_BINARY_DIR}/_deps/npm)
  file(REMOVE_RECURSE ${work})
  file(MAKE_DIRECTORY ${work} ${QV_SQLITE_DIR})
  message(STATUS "Fetching the SQLite amalgamation: npm pack ${QV_SQLITE_NPM_PACKAGE}")
  execute_process(COMMAND ${QV_NPM} pack ${QV_SQLITE_NPM_PACKAGE} --silent
    WORKING_DIRECTORY ${work} OUTPUT_VARIABLE tarball RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "npm pack ${QV_SQLITE_NPM_PACKAGE} failed (${rc})")
  endif()
  file(ARCHIVE_EXTRACT INPUT ${work}/${tarball} DESTINATION ${work}
    PATTERNS package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h)
  file(COPY ${work}/package/deps/sqlite3/sqlite3.c ${work}/package/deps/sqlite3/sqlite3.h DESTINATION ${QV_SQLITE_DIR})
  file(REMOVE_RECURSE ${work})
  qv_sqlite_checked(QV_SQLITE_OK)
  if(NOT QV_SQLITE_OK)
    message(FATAL_ERROR "the SQLite amalgamation from ${QV_SQLITE_NPM_PACKAGE} does not have the pinned SHA-256")
  endif()
endif()

add_library(qv_sqlite3 STATIC ${QV_SQLITE_DIR}/sqlite3.c)
target_include_directories(qv_sqlite3 SYSTEM PUBLIC ${QV_SQLITE_DIR})
target_compile_definitions(qv_sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION SQLITE_DQS=0)
target_compile_options(qv_sqlite3 PRIVATE -w -O2)

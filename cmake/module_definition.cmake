# SPDX-License-Identifier: Apache-2.0
# cmake -P script: writes a module-definition (.def) file from a table.
#   -DCPP=<C++ compiler> -DSOURCE=<rows file: QVDEF_BEGIN <string literals> QVDEF_END per line>
#   -DINCLUDES=<dir,dir> -DOUT=<file.def> -DLIBRARY=<name>
#   [-DHEADER_DIR=<directory whose quorvane*.h QV_API functions are exported too>]
# The preprocessor expands SOURCE, so the .def cannot drift from the table.
string(REPLACE "," ";" INCLUDES "${INCLUDES}")
set(include_flags)
foreach(dir IN LISTS INCLUDES)
  list(APPEND include_flags -I${dir})
endforeach()
execute_process(COMMAND ${CPP} -std=c++20 -E -P -x c++ ${include_flags} ${SOURCE}
  OUTPUT_VARIABLE expanded RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "preprocessing ${SOURCE} failed: ${err}")
endif()
# A row ends at the first QVDEF_END; it may hold a Q (uitk_ListsQueueResults).
string(REGEX MATCHALL "QVDEF_BEGIN([^Q]|Q[^V])*QVDEF_END" rows "${expanded}")
set(text "LIBRARY ${LIBRARY}\nEXPORTS\n")
set(count 0)
foreach(row IN LISTS rows)
  # The row's string literals, joined.
  string(REGEX REPLACE "^QVDEF_BEGIN[ \t\n]*\"(.*)\"[ \t\n]*QVDEF_END$" "\\1" line "${row}")
  string(REGEX REPLACE "\"[ \t\n]*\"" "" line "${line}")
  string(APPEND text "  ${line}\n")
  math(EXPR count "${count} + 1")
endforeach()
# The runtime API: every Qv function that the public headers in HEADER_DIR
# declare (quorvane_exports.h declares the exported names of the table).
if(HEADER_DIR)
  file(GLOB headers ${HEADER_DIR}/quorvane*.h)
  list(FILTER headers EXCLUDE REGEX "quorvane_exports\\.h$")
  set(header "")
  foreach(file IN LISTS headers)
    file(READ ${file} content)
    string(APPEND header "${content}")
  endforeach()
  string(REGEX MATCHALL "QV_API [^;(]*[ *](\\(\\*)?(Qv[A-Za-z0-9_]+)\\(" decls "${header}")
  foreach(decl IN LISTS decls)
    string(REGEX REPLACE ".*[ *](Qv[A-Za-z0-9_]+)\\($" "\\1" name "${decl}")
    string(APPEND text "  ${name}\n")
    math(EXPR count "${count} + 1")
  endforeach()
endif()
if(count EQUAL 0)
  message(FATAL_ERROR "no rows found in ${SOURCE}")
endif()
file(WRITE ${OUT}.tmp "${text}")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)

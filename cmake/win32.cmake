# SPDX-License-Identifier: Apache-2.0
# The 32-bit Windows build (the win32 preset, MinGW-w64 i686): quorvane.dll
# with its import library, uitk60.dll, quorvane.exe, and the tests that run
# under Wine.  Included by the top-level CMakeLists.txt instead of the rest of
# it when the target system is Windows.
set(CMAKE_POSITION_INDEPENDENT_CODE OFF)
# The programs and DLLs carry their C and C++ runtimes, so that Wine needs
# nothing beside them.
add_link_options(-static -static-libgcc -static-libstdc++)
# Warnings as errors in the link too (GNU ld's own warnings, such as a
# duplicate COMDAT section of a different size).
if(QV_WERROR)
  add_link_options(-Wl,--fatal-warnings)
endif()
# Doubles are computed in SSE2 registers, as on x86-64: the x87 unit keeps
# 80-bit intermediates, so a result (a window's geometry, say) would depend
# on where the compiler spills them and differ from the other builds' in the
# last bit.
add_compile_options(-msse2 -mfpmath=sse)
# localtime_r and the other POSIX thread-safe functions of the C runtime.
add_compile_definitions(_POSIX_THREAD_SAFE_FUNCTIONS=200112L)

include(${PROJECT_SOURCE_DIR}/cmake/sqlite_amalgamation.cmake)

# The library's own folders, unchanged.
include(${PROJECT_SOURCE_DIR}/cmake/core_library.cmake)

# The Windows host: the shared host folders and host/os/win32.
include(${PROJECT_SOURCE_DIR}/cmake/host_sources.cmake)
qv_host_sources(QV_HOST_SOURCES os/win32)
add_library(quorvane_host STATIC ${QV_HOST_SOURCES})
target_link_libraries(quorvane_host PUBLIC quorvane_core PRIVATE qv_sqlite3)

# Module-definition files, generated from the tables by the preprocessor.
file(GLOB QV_PUBLIC_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/include/quorvane/quorvane*.h)
function(qv_module_definition out rows library)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DCPP=${CMAKE_CXX_COMPILER} -DSOURCE=${rows}
      -DINCLUDES=${PROJECT_SOURCE_DIR},${PROJECT_SOURCE_DIR}/include -DOUT=${out} -DLIBRARY=${library}
      ${ARGN} -P ${PROJECT_SOURCE_DIR}/cmake/module_definition.cmake
    DEPENDS ${rows} ${PROJECT_SOURCE_DIR}/cmake/module_definition.cmake ${PROJECT_SOURCE_DIR}/exports/export_table.h
      ${PROJECT_SOURCE_DIR}/core/external.h ${PROJECT_SOURCE_DIR}/core/list_ops.h
      ${PROJECT_SOURCE_DIR}/uitk60/uitk60.h ${QV_PUBLIC_HEADERS}
    COMMENT "Generating ${library}.def" VERBATIM)
endfunction()
qv_module_definition(${CMAKE_BINARY_DIR}/quorvane.def ${PROJECT_SOURCE_DIR}/exports/def_rows.cpp.in quorvane
  -DHEADER_DIR=${PROJECT_SOURCE_DIR}/include/quorvane)
qv_module_definition(${CMAKE_BINARY_DIR}/uitk60.def ${PROJECT_SOURCE_DIR}/uitk60/def_rows.cpp.in uitk60)

# quorvane.dll and its import library libquorvane.dll.a.
file(GLOB QV_EXPORT_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/exports/*.cpp)
list(FILTER QV_EXPORT_SOURCES EXCLUDE REGEX "/posix_[^/]*$")
add_library(quorvane_exports OBJECT ${QV_EXPORT_SOURCES})
target_link_libraries(quorvane_exports PUBLIC quorvane_host)
target_compile_definitions(quorvane_exports PRIVATE QV_BUILDING_LIBRARY)
add_library(quorvane SHARED $<TARGET_OBJECTS:quorvane_exports> ${CMAKE_BINARY_DIR}/quorvane.def)
target_link_libraries(quorvane PRIVATE quorvane_host)
set_target_properties(quorvane PROPERTIES PREFIX "" IMPORT_PREFIX "lib" IMPORT_SUFFIX ".dll.a")

# uitk60.dll: the toolkit, exported by ordinal only.
add_library(uitk60 SHARED ${PROJECT_SOURCE_DIR}/uitk60/uitk60.cpp ${PROJECT_SOURCE_DIR}/host/toolkit/toolkit_lists.cpp
  ${CMAKE_BINARY_DIR}/uitk60.def)
target_include_directories(uitk60 PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/include)
target_link_libraries(uitk60 PRIVATE quorvane_core)
set_target_properties(uitk60 PROPERTIES PREFIX "")

include(${PROJECT_SOURCE_DIR}/cmake/win32_programs.cmake OPTIONAL)
include(${PROJECT_SOURCE_DIR}/cmake/win32_tests.cmake)

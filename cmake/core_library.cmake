# SPDX-License-Identifier: Apache-2.0
# quorvane_core: the library's own folders, the same in every build.  Each
# folder's sources are picked up by pattern so that adding a file needs no
# edit here.
file(GLOB QV_CORE_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/core/*.cpp
  ${PROJECT_SOURCE_DIR}/source/*.cpp
  ${PROJECT_SOURCE_DIR}/repository/*.cpp
  ${PROJECT_SOURCE_DIR}/profile/*.cpp
  ${PROJECT_SOURCE_DIR}/framework/*.cpp
  ${PROJECT_SOURCE_DIR}/controls/*.cpp)
add_library(quorvane_core STATIC ${QV_CORE_SOURCES})
target_include_directories(quorvane_core PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/include)
# The tags file names the library's version.
target_compile_definitions(quorvane_core PRIVATE QV_VERSION="${PROJECT_VERSION}")

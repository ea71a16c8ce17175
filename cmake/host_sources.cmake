# SPDX-License-Identifier: Apache-2.0
# The host's sources, chosen by folder: the folders every build shares (the
# portable logic, the INI document model, the SQL layer, the headless window
# system, the toolkit's list model) and the folders of one platform, given
# by the caller.  A file added to a shared folder lands in every build; no
# build names host files one by one or picks them by their names.
set(QV_HOST_SHARED_FOLDERS shared ini sql headless toolkit)

# qv_host_sources(<var> <platform folder>...): the .cpp files of the shared
# folders and of the platform folders given (relative to host/).
function(qv_host_sources out)
  set(patterns)
  foreach(folder IN LISTS QV_HOST_SHARED_FOLDERS ARGN)
    list(APPEND patterns ${PROJECT_SOURCE_DIR}/host/${folder}/*.cpp)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

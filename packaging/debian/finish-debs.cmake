# SPDX-License-Identifier: Apache-2.0
# Run by cpack after it has made the packages (CPACK_POST_BUILD_SCRIPTS).
execute_process(COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/finish-debs.sh ${CPACK_PACKAGE_FILES}
  COMMAND_ERROR_IS_FATAL ANY)

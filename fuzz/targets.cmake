# SPDX-License-Identifier: Apache-2.0
# The fuzz targets and the seed inputs of each, for the fuzz preset's build
# (fuzz/CMakeLists.txt), the replay test of the normal build
# (tests/CMakeLists.txt) and fuzz/run.sh, which runs this file as a script
# (cmake -P fuzz/targets.cmake) to read them.
set(QV_FUZZ_TARGETS parser class_list member_files ini road save_state)
# The Java targets share one seed corpus: the bundled examples and the
# hand-made files in fuzz/corpus/java that the examples do not cover.
set(QV_FUZZ_SEEDS_parser fuzz/corpus/java examples)
set(QV_FUZZ_SEEDS_road fuzz/corpus/java examples)
set(QV_FUZZ_SEEDS_class_list fuzz/corpus/class_list)
set(QV_FUZZ_SEEDS_member_files fuzz/corpus/member_files)
set(QV_FUZZ_SEEDS_ini fuzz/corpus/ini)
set(QV_FUZZ_SEEDS_save_state fuzz/corpus/save_state)

# As a script: one line per target, its name and then its seed directories.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  foreach(name IN LISTS QV_FUZZ_TARGETS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${name} ${QV_FUZZ_SEEDS_${name}} COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endif()

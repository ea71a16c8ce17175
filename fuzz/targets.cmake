# SPDX-License-Identifier: Apache-2.0
# The fuzz targets and the seed inputs of each, for the fuzz preset's build
# (fuzz/CMakeLists.txt) and the replay test of the normal build
# (tests/CMakeLists.txt); fuzz/run.sh names the same directories.
set(QV_FUZZ_TARGETS parser class_list member_files ini road save_state)
# The Java targets share one seed corpus: the bundled examples and the
# hand-made files in fuzz/corpus/java that the examples do not cover.
set(QV_FUZZ_SEEDS_parser fuzz/corpus/java examples)
set(QV_FUZZ_SEEDS_road fuzz/corpus/java examples)
set(QV_FUZZ_SEEDS_class_list fuzz/corpus/class_list)
set(QV_FUZZ_SEEDS_member_files fuzz/corpus/member_files)
set(QV_FUZZ_SEEDS_ini fuzz/corpus/ini)
set(QV_FUZZ_SEEDS_save_state fuzz/corpus/save_state)

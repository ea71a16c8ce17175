// SPDX-License-Identifier: Apache-2.0
// Replays fuzz inputs without libFuzzer, so that the normal build's tests
// run every seed and every kept regression through the same checks as the
// fuzz target: each file named on the command line, or found below a
// directory named there, goes through LLVMFuzzerTestOneInput once, in name
// order.  A broken property aborts the run; the last input named on stdout
// is the one that broke it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize);

namespace {

std::vector<std::filesystem::path> Inputs(int argc, char** argv) {
  std::vector<std::filesystem::path> aFiles;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
        if (entry.is_regular_file()) aFiles.push_back(entry.path());
      }
    } else {
      aFiles.push_back(path);  // a missing file fails below, when it is read
    }
  }
  std::sort(aFiles.begin(), aFiles.end());
  return aFiles;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::filesystem::path> aFiles = Inputs(argc, argv);
  if (aFiles.empty()) {
    std::fprintf(stderr, "no fuzz inputs found\n");
    return 1;
  }
  for (const std::filesystem::path& path : aFiles) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", path.c_str());
      return 1;
    }
    const std::vector<char> aBytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // A buffer of exactly the input's size, as libFuzzer passes it, so that
    // AddressSanitizer sees a read past its end.
    std::vector<uint8_t> aData(aBytes.begin(), aBytes.end());
    aData.shrink_to_fit();
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(aData.data(), aData.size());
  }
  std::printf("%zu inputs replayed\n", aFiles.size());
  return 0;
}

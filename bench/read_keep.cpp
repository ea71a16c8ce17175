// SPDX-License-Identifier: Apache-2.0
// Reads every file of a NUL-separated list into memory of its own, on two
// threads, and keeps it all until the end: the least work that a scan
// holding the text of every file does, before it looks at a single byte.
// bench/scan.sh sets it beside ripgrep and the scan.
//
//   read_keep LIST
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Kept {
  std::unique_ptr<char[]> pText;  // not zeroed: read writes each page first
  size_t nSize = 0;
};

// The file's bytes into new memory; false when it cannot be read.
bool ReadInto(const std::string& sPath, Kept& kept) {
  const int nFd = ::open(sPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (nFd < 0) return false;
  struct ::stat st {};
  bool bRead = ::fstat(nFd, &st) == 0;
  if (bRead) {
    const auto nWanted = static_cast<size_t>(st.st_size);
    kept.pText.reset(new char[nWanted]);
    while (kept.nSize < nWanted) {
      const ssize_t nGot = ::read(nFd, kept.pText.get() + kept.nSize, nWanted - kept.nSize);
      if (nGot <= 0) {
        bRead = nGot == 0;
        break;
      }
      kept.nSize += static_cast<size_t>(nGot);
    }
  }
  ::close(nFd);
  return bRead;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: read_keep LIST (file names, each ended by a NUL byte)\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "read_keep: cannot read %s\n", argv[1]);
    return 2;
  }
  const std::string sList((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> aNames;
  for (size_t nAt = 0, nEnd; (nEnd = sList.find('\0', nAt)) != std::string::npos; nAt = nEnd + 1) {
    aNames.push_back(sList.substr(nAt, nEnd - nAt));
  }

  std::vector<Kept> aKept(aNames.size());
  std::atomic<size_t> nNext{0};
  std::atomic<size_t> nFailed{0};
  const auto Work = [&] {
    for (size_t i; (i = nNext++) < aNames.size();) {
      if (!ReadInto(aNames[i], aKept[i])) ++nFailed;
    }
  };
  std::thread other(Work);
  Work();
  other.join();

  size_t nBytes = 0;
  for (const Kept& kept : aKept) nBytes += kept.nSize;
  std::printf("%zu files, %zu bytes kept, %zu unreadable\n", aNames.size(), nBytes, nFailed.load());
  return nFailed == 0 ? 0 : 1;
}

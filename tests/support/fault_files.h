// SPDX-License-Identifier: Apache-2.0
// A FileSystem layer that makes chosen operations fail, for reliability
// tests, in the manner of LevelDB's fault-injection environment.  It is
// part of the tests' support library, not of the shipped one.
//
// Every call is forwarded to the wrapped FileSystem except the ones chosen
// to fail.  The operations are counted in groups (FaultOp); a test arms a
// group to fail its nth call from now (FailNth) or that call and every later
// one (FailFrom).  A failing call behaves like this:
//   ReplaceContent is made of the calls below (FileSystem's default), so
//   each of its steps counts, and fails, in its group.
//   kOpenForWrite  Open with kOpenCreate or kOpenAppend returns FALSE and
//                  creates nothing; hFile is left untouched.
//   kOpenAny       any Open (all styles, including delete and existence
//                  test) returns FALSE and does nothing.
//   kWrite         Write writes the first half of its bytes (rounded down)
//                  and returns that count, as a full disk would; PutLine
//                  writes nothing and returns FALSE.
//   kOpenForWrite  also covers CreateTemporary and CreateNew, which then create nothing.
//   kRename        Rename or MoveOver fails and moves nothing.
//   kCopy          Copy fails and writes nothing.
//   kAside         KeepAside fails and makes no second name.
//   kSync          SyncAll fails (having synced nothing it was asked to).
//   kClose         Close or CloseWritten still closes the file (the handle is
//                  released and what reached the file stays there) but
//                  fails, as a failed final flush would report.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/host.h"

namespace qv {

enum class FaultOp { kOpenForWrite, kOpenAny, kWrite, kRename, kCopy, kClose, kSync, kAside };

class FaultInjectingFileSystem final : public FileSystemWrapper {
 public:
  explicit FaultInjectingFileSystem(FileSystem& oBase) : FileSystemWrapper(oBase) {}

  // Makes the nth call of the group from now fail (n = 1: the next one).
  // n < 1 disarms the group.
  void FailNth(FaultOp eOp, int n) { Arm(eOp, n, true); }
  // Makes the nth call from now and every later call of the group fail.
  void FailFrom(FaultOp eOp, int n) { Arm(eOp, n, false); }
  // Disarms every group; the counts stay.
  void Clear();
  // The calls of the group seen since construction, failed ones included.
  int Count(FaultOp eOp) const { return aCount_[Index(eOp)]; }

  bool Open(FileHandle& hFile, std::string_view sPath, int nStyle) override;
  bool Close(FileHandle hFile) override;
  bool PutLine(FileHandle hFile, std::string_view sText) override;
  int64_t Write(FileHandle hFile, std::string_view sText) override;
  IoError CloseWritten(FileHandle hFile, FileStamp* pStamp = nullptr) override;
  IoError Copy(std::string_view sSource, std::string_view sTarget) override;
  IoError Rename(std::string_view sOld, std::string_view sNew) override;
  IoError MoveOver(std::string_view sSource, std::string_view sTarget) override;
  IoError KeepAside(std::string_view sTarget, std::string& sAside) override;
  IoError SyncAll(const std::vector<std::string>& aPaths) override;
  IoError CreateTemporary(std::string_view sTarget, FileHandle& hFile, std::string& sTemp) override;
  IoError CreateNew(std::string_view sPath, FileHandle& hFile) override;
  IoError ReplaceContent(std::string_view sPath, std::string_view sText) override {
    return FileSystem::ReplaceContent(sPath, sText);
  }
  // Every other call is forwarded without faults; ReadWholeFile and
  // HoldsExactly may run on several threads, and the counters are not
  // shared between threads.

 private:
  static constexpr size_t kOps = 8;
  struct Plan {
    int nAt = 0;  // the count at which failing starts; 0 = disarmed
    bool bOnce = true;
  };
  static size_t Index(FaultOp eOp) { return static_cast<size_t>(eOp); }
  void Arm(FaultOp eOp, int n, bool bOnce);
  static IoError Injected(std::string_view sWhat);
  // Counts a call of the group and tells whether it is to fail.
  bool Tick(FaultOp eOp);

  std::array<int, kOps> aCount_{};
  std::array<Plan, kOps> aPlan_{};
};

}  // namespace qv

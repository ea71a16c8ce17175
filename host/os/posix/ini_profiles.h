// SPDX-License-Identifier: Apache-2.0
// Private profiles (INI files) of this machine behind qv::Profiles.
//
// The files follow the Windows private-profile rules of the document model
// (host/ini/ini_document.h); this class reads them, caches them and writes them.
// A write puts the new content in place of the old file through the file
// system it is given (FileSystem::ReplaceContent: a temporary file beside
// the old one, renamed over it), so a failed write leaves the old file
// whole, and a fault-injecting file system can fail it.  A value equal to
// the stored text leaves the file untouched.  LastWriteError() says why the
// last refused write was refused.
//
// Parsed files are cached by path, device, inode, size and modification
// time, so repeated reads of an unchanged file cost one stat(2).  A file
// modified within the last two seconds is re-read at every access (and only
// re-parsed when its bytes changed), since a change within the timestamp's
// granularity would not show in the modification time.
//
// One object serves one caller at a time: it takes no locks.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/host.h"
#include "host/ini/ini_document.h"

namespace qv {

class IniProfiles final : public Profiles {
 public:
  // Maps a path in the library's Windows form to one of this machine.
  using PathMapper = std::function<std::string(std::string_view)>;

  // A bare file name (no "\", "/" or drive) lives in sProfileDir; any other
  // name goes through fnMapPath, by default MapToPosixPath with "/" as the
  // root of every drive.
  // Writes go through pFiles (with absolute paths of this machine), by
  // default through a PosixFileSystem of the object's own.
  explicit IniProfiles(std::string sProfileDir, PathMapper fnMapPath = nullptr, FileSystem* pFiles = nullptr);
  ~IniProfiles() override;
  IniProfiles(const IniProfiles&) = delete;
  IniProfiles& operator=(const IniProfiles&) = delete;

  // A missing or unreadable file reads like a missing key: sValue becomes
  // sDefault and the result is 0.
  int64_t GetString(std::string_view sSection, std::string_view sKey, std::string_view sDefault, std::string& sValue,
                    std::string_view sFile) override;
  // Creates a missing file (not a missing directory).  FALSE when the name
  // or value is refused, the old file cannot be read, or the new one cannot
  // be put in its place.
  bool WriteString(std::string_view sSection, std::string_view sKey, std::string_view sValue,
                   std::string_view sFile) override;
  // The value's leading decimal integer (an optional sign, then digits;
  // saturated at the int64_t range); 0 when the value does not start so;
  // nDefault when the key is missing or its value empty.
  int64_t GetInt(std::string_view sSection, std::string_view sKey, int64_t nDefault, std::string_view sFile) override;
  // Only recorded.
  void ProfileAbsent(bool bAbsent) override;

  // The path of this machine that sFile names.
  std::string ResolvePath(std::string_view sFile) const;
  const std::string& ProfileDir() const { return sProfileDir_; }
  // Where bare names live from now on; the cache is kept (it is by path).
  void SetProfileDir(std::string sProfileDir) { sProfileDir_ = std::move(sProfileDir); }
  int AbsentCalls() const { return nAbsentCalls_; }
  // Why the last WriteString that returned FALSE failed; empty after one
  // that succeeded.
  const std::string& LastWriteError() const { return sLastWriteError_; }
  bool LastAbsent() const { return bLastAbsent_; }
  // The file system that writes go through from now on (a fault-injecting
  // layer, say); it must outlive the object or the next call of this.
  void WriteThrough(FileSystem& oFiles) { pFiles_ = &oFiles; }

 private:
  struct CacheEntry;
  // What identifies one version of a file on disk.
  struct FileStamp {
    uint64_t nDevice = 0;
    uint64_t nInode = 0;
    int64_t nSize = 0;
    int64_t nModifiedSec = 0;
    int64_t nModifiedNsec = 0;
    bool operator==(const FileStamp&) const = default;
  };
  enum class LoadResult { kMissing, kLoaded, kFailed };

  // Finds the document at sPath, reading it when the cache cannot vouch
  // for it.  On kLoaded, *ppFile stays valid until the next call that
  // loads or writes.
  LoadResult Load(const std::string& sPath, const IniDocument** ppFile);
  const IniDocument* Remember(const std::string& sPath, IniDocument oFile, const FileStamp& oStamp, bool bTrusted);
  bool Refuse(std::string sWhy);

  std::string sProfileDir_;
  PathMapper fnMapPath_;
  std::unordered_map<std::string, std::unique_ptr<CacheEntry>> mCache_;
  std::unique_ptr<FileSystem> pOwnFiles_;
  FileSystem* pFiles_ = nullptr;
  std::string sReadBuffer_;
  std::string sLastWriteError_;
  int nAbsentCalls_ = 0;
  bool bLastAbsent_ = false;
};

}  // namespace qv

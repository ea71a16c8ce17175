// Private profiles (INI files) of this machine behind qv::Profiles.
//
// The files are read and written with the behaviour of the Windows private
// profile functions:
//   - "[Section]" lines open sections (the name ends at the first "]",
//     and the rest of the line is ignored); "key=value" lines inside them
//     hold the settings.  Section and key names compare case-insensitively
//     (ASCII); blanks and tabs around section names, keys and values are
//     ignored, and a value enclosed in a matching pair of double or single
//     quotes loses them.
//   - Lines starting with ";" are comments; lines without "=", or with
//     nothing before it, are ignored when reading.  Lines before the first
//     section belong to none.  A UTF-8 byte order mark is skipped.
//   - The first of duplicate keys in a section wins, and only the first of
//     duplicate sections is seen: reads look there and writes go there.
//   - Lines may end in "\r\n", "\n" or a lone "\r"; lines this class
//     writes end in "\r\n".
//   - A file that starts with a UTF-16 byte order mark (little or big
//     endian, as Notepad saves "Unicode") is read as UTF-16 and its texts
//     handed out as UTF-8; writes into it stay UTF-16.  A UTF-16 file that
//     is not well formed reads with U+FFFD in place of the bad units and is
//     never written; nor is a name or value that is no UTF-8.
//
// Writing a key changes one line and keeps every other byte of the file: an
// existing key's line becomes "<key as spelled in the file>=<value>" (its
// old line terminator kept); a new key goes after the last key line of its
// section (right after the header when it has none); a new section is
// appended at the end as "[Section]\r\nkey=value\r\n".  The new content is
// written to a temporary file beside the old one and renamed over it, so a
// failed write leaves the old file whole.  A value equal to the stored
// text leaves the file untouched.  Names and values that would not read
// back as written are refused: an empty section or key, a line break
// anywhere, "]" in a section name, "=" in a key, a key starting with ";"
// or "[".  A value with blanks or tabs at its ends, or enclosed in a pair of
// quotes, is written inside double quotes so that it reads back whole.
// LastWriteError() says why the last refused write was refused.
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

#include "frame/host.h"

struct stat;

namespace qv {

class IniProfiles final : public Profiles {
 public:
  // Maps a path in the library's Windows form to one of this machine.
  using PathMapper = std::function<std::string(std::string_view)>;

  // A bare file name (no "\", "/" or drive) lives in sProfileDir; any other
  // name goes through fnMapPath, by default MapToPosixPath with "/" as the
  // root of every drive.
  explicit IniProfiles(std::string sProfileDir, PathMapper fnMapPath = nullptr);
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
  int AbsentCalls() const { return nAbsentCalls_; }
  // Why the last WriteString that returned FALSE failed; empty after one
  // that succeeded.
  const std::string& LastWriteError() const { return sLastWriteError_; }
  bool LastAbsent() const { return bLastAbsent_; }

 private:
  struct ParsedFile;
  struct CacheEntry;
  enum class Encoding { kBytes, kUtf16Le, kUtf16Be };
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
  static FileStamp StampOf(const struct ::stat& oStat);

  // Finds the parsed file at sPath, reading it when the cache cannot vouch
  // for it.  On kLoaded, *ppFile stays valid until the next call that
  // loads or writes.
  LoadResult Load(const std::string& sPath, const ParsedFile** ppFile);
  const ParsedFile* Remember(const std::string& sPath, ParsedFile oFile, const FileStamp& oStamp, bool bTrusted);
  bool Refuse(std::string sWhy);
  bool WriteFileAtomically(const std::string& sPath, std::string_view sText, bool bExists);

  std::string sProfileDir_;
  PathMapper fnMapPath_;
  std::unordered_map<std::string, std::unique_ptr<CacheEntry>> mCache_;
  std::string sReadBuffer_;
  uint64_t nTempCounter_ = 0;
  std::string sDecodeBuffer_;
  std::string sLastWriteError_;
  int nAbsentCalls_ = 0;
  bool bLastAbsent_ = false;
};

}  // namespace qv

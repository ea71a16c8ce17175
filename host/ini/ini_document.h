// SPDX-License-Identifier: Apache-2.0
// The document model of a private profile (INI file): the bytes of a file
// parsed into sections and keys, and a key written back into the bytes,
// with the behaviour of the Windows private-profile functions.  No I/O:
// the profile cache (host/os/posix/ini_profiles.h) reads and writes the files.
//
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
//   - Lines may end in "\r\n", "\n" or a lone "\r"; lines written end in
//     "\r\n".
//   - Bytes that start with a UTF-16 byte order mark (little or big
//     endian, as Notepad saves "Unicode") are read as UTF-16 and the texts
//     handed out as UTF-8; the bytes written stay UTF-16.  UTF-16 that is
//     not well formed reads with U+FFFD in place of the bad units and is
//     never written; nor is a name or value that is no UTF-8.
//
// Writing a key changes one line and keeps every other byte: an existing
// key's line becomes "<key as spelled in the file>=<value>" (its old line
// terminator kept); a new key goes after the last key line of its section
// (right after the header when it has none); a new section is appended at
// the end as "[Section]\r\nkey=value\r\n".  Names and values that would not
// read back as written are refused: an empty section or key, a line break
// anywhere, "]" in a section name, "=" in a key, a key starting with ";" or
// "[".  A value with blanks or tabs at its ends, or enclosed in a pair of
// quotes, is written inside double quotes so that it reads back whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qv {

class IniDocument {
 public:
  enum class Encoding { kBytes, kUtf16Le, kUtf16Be };

  // The empty document: a file that does not exist yet.
  IniDocument() : IniDocument(std::string()) {}
  // The document the bytes of a file hold.
  explicit IniDocument(std::string sBytes);

  // The value of sKey in sSection (names trimmed, compared without case),
  // or nothing when the key is missing.  The view lasts until the next Set.
  std::optional<std::string_view> Get(std::string_view sSection, std::string_view sKey) const;

  // Writes sKey=sValue into sSection.  Empty when written, or when the value
  // was stored already (bChanged then FALSE); else why the write is
  // refused, and the document stays as it was.
  std::string Set(std::string_view sSection, std::string_view sKey, std::string_view sValue, bool& bChanged);

  // The bytes of the document as its file holds them.
  const std::string& Bytes() const { return eEncoding_ == Encoding::kBytes ? sText_ : sBytes_; }
  // The text as UTF-8 (the bytes themselves unless the document is UTF-16).
  const std::string& Text() const { return sText_; }
  Encoding GetEncoding() const { return eEncoding_; }

 private:
  struct Line {
    size_t nBegin = 0;  // first byte of the content
    size_t nEnd = 0;    // end of the content, before "\r\n" or "\n"
    size_t nNext = 0;   // start of the next line
  };
  struct Key {
    size_t nLine = 0;
    size_t nKeyBegin = 0;
    size_t nKeyEnd = 0;
    size_t nValueBegin = 0;
    size_t nValueEnd = 0;
  };
  struct Section {
    size_t nLastKeyLine = 0;                     // the header line while it has no key
    std::unordered_map<std::string, Key> mKeys;  // folded key -> its first line
  };

  IniDocument(std::string sText, Encoding eEncoding, std::string sBytes);
  void Parse();
  bool LineEnded(size_t nLine) const { return aLines_[nLine].nNext > aLines_[nLine].nEnd; }
  const Key* Find(std::string_view sSection, std::string_view sKey, const Section** ppSection) const;
  // The text after writing sKey=sValue into sSection (both already
  // trimmed and checked).
  std::string WithKey(std::string_view sSection, std::string_view sKey, std::string_view sValue) const;

  std::string sText_;   // the text, as UTF-8 when the bytes are UTF-16
  std::string sBytes_;  // the bytes of a UTF-16 document
  Encoding eEncoding_ = Encoding::kBytes;
  bool bWritable_ = true;  // the text encodes back to the bytes
  std::vector<Line> aLines_;
  std::unordered_map<std::string, Section> mSections_;  // folded name -> first section of that name
};

// A profile value read as an integer: its leading decimal integer (an
// optional sign, then digits; saturated at the int64_t range); 0 when the
// value does not start so; nDefault for an empty value.
int64_t ProfileInteger(std::string_view sValue, int64_t nDefault);

}  // namespace qv

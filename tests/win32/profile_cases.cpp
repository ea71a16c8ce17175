// SPDX-License-Identifier: Apache-2.0
// The profile cases of the profile differential: the same INI files and the
// same reads and writes, run against the host's Profiles.  Built twice: for
// Windows over the system's GetPrivateProfile* functions (Win32Profiles,
// run under Wine) and for Linux over the library's INI engine (IniProfiles).
// tests/win32/profile_differential.sh compares the two outputs line by line.
//
// Usage: profile_cases DIRECTORY   (a scratch directory for the files)
// Output: one line per operation, "<case> <op>: <result>", and after the
// writes of a case the file's bytes, escaped.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include "host/os/win32/win32_profiles.h"
using SystemProfiles = qv::Win32Profiles;
constexpr char kSeparator = '\\';
#else
#include "host/os/posix/ini_profiles.h"
using SystemProfiles = qv::IniProfiles;
constexpr char kSeparator = '/';
#endif

namespace {

struct Op {
  char cKind;  // 'S' GetString, 'I' GetInt, 'W' WriteString
  const char* sSection;
  const char* sKey;
  const char* sArg;  // default (S), default number (I), value (W)
};

struct Case {
  const char* sName;
  std::string sFile;  // the file's bytes before the operations
  std::vector<Op> aOps;
};

std::string Escaped(const std::string& s) {
  std::string sOut;
  for (const char cByte : s) {
    const auto c = static_cast<unsigned char>(cByte);
    if (c == '\r') {
      sOut += "\\r";
    } else if (c == '\n') {
      sOut += "\\n";
    } else if (c == '\\') {
      sOut += "\\\\";
    } else if (c < 0x20 || c >= 0x7f) {
      char a[8];
      std::snprintf(a, sizeof a, "\\x%02x", c);
      sOut += a;
    } else {
      sOut += static_cast<char>(c);
    }
  }
  return sOut;
}

std::vector<Case> Cases() {
  using std::string;
  return {
      {"plain", "[A]\r\nkey=value\r\nn=42\r\n", {{'S', "A", "key", "d"}, {'S', "a", "KEY", "d"}, {'I', "A", "n", "7"}}},
      {"missing",
       "[A]\r\nkey=value\r\n",
       {{'S', "A", "none", "dflt"}, {'S', "B", "key", "dflt"}, {'I', "A", "none", "7"}}},
      {"before-first-section", "lost=1\r\n[A]\r\nkey=v\r\n", {{'S', "", "lost", "d"}, {'S', "A", "lost", "d"}}},
      {"blanks-around",
       "[ A ]\r\n  key  =  value  \r\n\tt\t=\tx\t\r\n",
       {{'S', "A", "key", "d"}, {'S', " A ", "key", "d"}, {'S', "A", "t", "d"}}},
      {"empty-key", "[A]\r\n=value\r\nk=\r\n", {{'S', "A", "", "d"}, {'S', "A", "k", "d"}}},
      {"no-equals", "[A]\r\njustaword\r\nk=v\r\n", {{'S', "A", "justaword", "d"}, {'S', "A", "k", "d"}}},
      {"comments",
       "[A]\r\n;k=commented\r\nk=v ;not a comment\r\n#h=hash\r\n",
       {{'S', "A", ";k", "d"}, {'S', "A", "k", "d"}, {'S', "A", "#h", "d"}}},
      {"integers",
       "[A]\r\nhex=0x10\r\nneg=-5\r\nplus=+7\r\nbig=4294967297\r\nlead=  12abc\r\nword=abc\r\n",
       {{'I', "A", "hex", "1"},
        {'I', "A", "neg", "1"},
        {'I', "A", "plus", "1"},
        {'I', "A", "big", "1"},
        {'I', "A", "lead", "1"},
        {'I', "A", "word", "1"}}},
      {"no-closing-bracket", "[A\r\nk=v\r\n[B]\r\nk=w\r\n", {{'S', "A", "k", "d"}, {'S', "B", "k", "d"}}},
      {"duplicates", "[A]\r\nk=first\r\nk=second\r\n[A]\r\nj=other\r\n", {{'S', "A", "k", "d"}, {'S', "A", "j", "d"}}},
      {"quotes",
       "[A]\r\nq=\"quoted\"\r\ns='single'\r\nh=\"half\r\n",
       {{'S', "A", "q", "d"}, {'S', "A", "s", "d"}, {'S', "A", "h", "d"}}},
      {"utf8-bytes", "[A]\r\nk=gr\xc3\xbc\xc3\x9f\r\n", {{'S', "A", "k", "d"}}},
      {"utf8-bom", "\xef\xbb\xbf[A]\r\nk=v\r\n", {{'S', "A", "k", "d"}}},
      {"write-existing", "[A]\r\nk=old\r\nz=keep\r\n", {{'W', "A", "k", "new"}, {'S', "A", "k", "d"}}},
      {"write-new-key", "[A]\r\nk=v\r\n\r\n[B]\r\nx=y\r\n", {{'W', "A", "n", "1"}, {'S', "A", "n", "d"}}},
      {"write-new-section", "[A]\r\nk=v\r\n", {{'W', "C", "k", "v"}, {'S', "C", "k", "d"}}},
      {"write-new-file", "", {{'W', "A", "k", "v"}, {'S', "A", "k", "d"}}},
      {"write-blanks-at-ends", "[A]\r\n", {{'W', "A", "k", "  padded  "}, {'S', "A", "k", "d"}}},
      {"lf-only", "[A]\nk=v\nj=w\n", {{'S', "A", "j", "d"}, {'W', "A", "k", "x"}}},
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: profile_cases DIRECTORY\n");
    return 2;
  }
  const std::string sDir = argv[1];
  SystemProfiles profiles(sDir);
  int nCase = 0;
  for (const Case& c : Cases()) {
    const std::string sPath = sDir + kSeparator + "case" + std::to_string(++nCase) + ".ini";
    if (!c.sFile.empty()) {
      std::ofstream(sPath, std::ios::binary) << c.sFile;
    } else {
      std::remove(sPath.c_str());
    }
    bool bWrote = false;
    int nOp = 0;
    for (const Op& op : c.aOps) {
      std::printf("%s %d %c [%s] %s: ", c.sName, ++nOp, op.cKind, op.sSection, op.sKey);
      if (op.cKind == 'S') {
        std::string sValue;
        const int64_t n = profiles.GetString(op.sSection, op.sKey, op.sArg, sValue, sPath);
        std::printf("%lld \"%s\"\n", static_cast<long long>(n), Escaped(sValue).c_str());
      } else if (op.cKind == 'I') {
        std::printf("%lld\n",
                    static_cast<long long>(profiles.GetInt(op.sSection, op.sKey, std::stoll(op.sArg), sPath)));
      } else {
        std::printf("%s\n", profiles.WriteString(op.sSection, op.sKey, op.sArg, sPath) ? "written" : "refused");
        bWrote = true;
      }
    }
    if (bWrote) {
      std::ifstream in(sPath, std::ios::binary);
      const std::string sBytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      std::printf("%s file: \"%s\"\n", c.sName, Escaped(sBytes).c_str());
    }
  }
  return 0;
}

#include "host/ini_profiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace qv {
namespace {

std::string_view TrimBlanks(std::string_view s) {
  const size_t nFirst = s.find_first_not_of(" \t");
  if (nFirst == std::string_view::npos) return {};
  const size_t nLast = s.find_last_not_of(" \t");
  return s.substr(nFirst, nLast - nFirst + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char ca = a[i];
    char cb = b[i];
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<char>(cb - 'A' + 'a');
    if (ca != cb) return false;
  }
  return true;
}

// One line of a profile, without its line end.
struct Line {
  std::string sText;
  bool bLineFeed = true;  // the line had a line end in the file
};

std::optional<std::vector<Line>> ReadLines(const std::string& sPath) {
  std::ifstream in(sPath, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream ss;
  ss << in.rdbuf();
  const std::string sAll = ss.str();
  std::vector<Line> aLines;
  size_t nBegin = 0;
  while (nBegin < sAll.size()) {
    size_t nEnd = sAll.find('\n', nBegin);
    Line line;
    if (nEnd == std::string::npos) {
      line.sText = sAll.substr(nBegin);
      line.bLineFeed = false;
      nEnd = sAll.size();
    } else {
      line.sText = sAll.substr(nBegin, nEnd - nBegin);
    }
    if (!line.sText.empty() && line.sText.back() == '\r') line.sText.pop_back();
    aLines.push_back(std::move(line));
    nBegin = nEnd + 1;
  }
  return aLines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionOf(std::string_view sLine) {
  const std::string_view s = TrimBlanks(sLine);
  if (s.size() < 2 || s.front() != '[') return std::nullopt;
  const size_t nClose = s.find(']');
  if (nClose == std::string_view::npos) return std::nullopt;
  return TrimBlanks(s.substr(1, nClose - 1));
}

// The key and value of a "key=value" line.
bool KeyValueOf(std::string_view sLine, std::string_view& sKey, std::string_view& sValue) {
  const std::string_view s = TrimBlanks(sLine);
  if (s.empty() || s.front() == ';') return false;
  const size_t nEqual = s.find('=');
  if (nEqual == std::string_view::npos) return false;
  sKey = TrimBlanks(s.substr(0, nEqual));
  sValue = TrimBlanks(s.substr(nEqual + 1));
  return !sKey.empty();
}

// Where a key stands in the lines: the first matching section and the first
// matching key in it.
struct Place {
  std::optional<size_t> nSection;  // index of the "[section]" line
  std::optional<size_t> nKey;      // index of the key line
  size_t nLastKey = 0;             // the section's last key line (or its header)
};

Place Locate(const std::vector<Line>& aLines, std::string_view sSection, std::string_view sKey) {
  Place place;
  bool bInSection = false;
  for (size_t i = 0; i < aLines.size(); ++i) {
    if (const auto sName = SectionOf(aLines[i].sText)) {
      if (place.nSection) break;  // the first matching section has ended
      bInSection = SameName(*sName, sSection);
      if (bInSection) {
        place.nSection = i;
        place.nLastKey = i;
      }
      continue;
    }
    if (!bInSection) continue;
    std::string_view sLineKey;
    std::string_view sValue;
    if (KeyValueOf(aLines[i].sText, sLineKey, sValue)) {
      place.nLastKey = i;
      if (!place.nKey && SameName(sLineKey, sKey)) place.nKey = i;
    }
  }
  return place;
}

bool WriteAtomically(const std::string& sPath, const std::string& sText) {
  const std::string sTemp = sPath + ".qvtmp";
  const int fd = ::open(sTemp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  size_t nDone = 0;
  while (nDone < sText.size()) {
    const ssize_t n = ::write(fd, sText.data() + nDone, sText.size() - nDone);
    if (n <= 0) break;
    nDone += static_cast<size_t>(n);
  }
  const bool bOk = nDone == sText.size() && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !bOk || ::rename(sTemp.c_str(), sPath.c_str()) != 0) {
    ::unlink(sTemp.c_str());
    return false;
  }
  return true;
}

}  // namespace

IniProfiles::IniProfiles(std::string sProfileDir) : sProfileDir_(std::move(sProfileDir)) {}

std::string IniProfiles::ResolvePath(std::string_view sFile) const {
  if (sFile.find_first_of("\\/") == std::string_view::npos && !(sFile.size() >= 2 && sFile[1] == ':')) {
    return sProfileDir_ + "/" + std::string(sFile);
  }
  std::string sPath(sFile);
  if (sPath.size() >= 2 && sPath[1] == ':') sPath = sPath.substr(2);
  for (char& c : sPath) {
    if (c == '\\') c = '/';
  }
  if (sPath.empty() || sPath.front() != '/') sPath.insert(0, "/");
  return sPath;
}

int64_t IniProfiles::GetString(std::string_view sSection, std::string_view sKey, std::string_view sDefault,
                               std::string& sValue, std::string_view sFile) {
  const auto aLines = ReadLines(ResolvePath(sFile));
  if (aLines) {
    const Place place = Locate(*aLines, sSection, sKey);
    if (place.nKey) {
      std::string_view sLineKey;
      std::string_view sFound;
      KeyValueOf((*aLines)[*place.nKey].sText, sLineKey, sFound);
      if (sFound.size() >= 2 && sFound.front() == '"' && sFound.back() == '"') {
        sFound = sFound.substr(1, sFound.size() - 2);
      }
      sValue.assign(sFound);
      return static_cast<int64_t>(sValue.size());
    }
  }
  // A missing key (or file) yields the default and counts as nothing read.
  sValue.assign(sDefault);
  return 0;
}

bool IniProfiles::WriteString(std::string_view sSection, std::string_view sKey, std::string_view sValue,
                              std::string_view sFile) {
  if (sSection.empty() || sKey.empty()) return false;
  const std::string sPath = ResolvePath(sFile);
  std::vector<Line> aLines = ReadLines(sPath).value_or(std::vector<Line>{});
  const Place place = Locate(aLines, sSection, sKey);

  if (place.nKey) {
    Line& line = aLines[*place.nKey];
    std::string_view sLineKey;
    std::string_view sOld;
    KeyValueOf(line.sText, sLineKey, sOld);
    line.sText = std::string(sLineKey) + "=" + std::string(sValue);
  } else if (place.nSection) {
    aLines.insert(aLines.begin() + static_cast<std::ptrdiff_t>(place.nLastKey) + 1,
                  Line{std::string(sKey) + "=" + std::string(sValue), true});
  } else {
    if (!aLines.empty()) aLines.back().bLineFeed = true;
    aLines.push_back(Line{"[" + std::string(sSection) + "]", true});
    aLines.push_back(Line{std::string(sKey) + "=" + std::string(sValue), true});
  }

  std::string sText;
  for (const Line& line : aLines) {
    sText += line.sText;
    if (line.bLineFeed) sText += "\r\n";
  }
  return WriteAtomically(sPath, sText);
}

int64_t IniProfiles::GetInt(std::string_view sSection, std::string_view sKey, int64_t nDefault,
                            std::string_view sFile) {
  std::string sValue;
  if (GetString(sSection, sKey, "", sValue, sFile) == 0) return nDefault;
  size_t i = 0;
  bool bNegative = false;
  if (i < sValue.size() && (sValue[i] == '-' || sValue[i] == '+')) bNegative = sValue[i++] == '-';
  if (i >= sValue.size() || sValue[i] < '0' || sValue[i] > '9') return nDefault;
  int64_t n = 0;
  for (; i < sValue.size() && sValue[i] >= '0' && sValue[i] <= '9'; ++i) {
    if (n < 922337203685477580) n = n * 10 + (sValue[i] - '0');
  }
  return bNegative ? -n : n;
}

}  // namespace qv

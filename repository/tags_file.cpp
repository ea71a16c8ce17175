// SPDX-License-Identifier: Apache-2.0
// The tags file: finding each declaration in its source, the lines, their
// order and the file, in both formats.
#include "repository/tags_file.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "repository/replacing_file.h"
#include "repository/run_ahead.h"
#include "source/java_lexer.h"
#include "source/java_outline.h"
#include "source/java_parser.h"

namespace qv {
namespace {

// Enough for the comments, package and imports above nearly every
// declaration (97 % of the JDK's): the rest of a file is read only when its
// declaration is not in these.
constexpr size_t kFirstRead = 4096;

// Where the class's name stands in its one-line declaration: the word
// after a declaration keyword that starts with the name; npos when there
// is none.
size_t NameOffset(std::string_view sDecl, std::string_view sName) {
  bool bAfterKeyword = false;
  for (size_t i = 0; i < sDecl.size();) {
    if (sDecl[i] == ' ') {
      ++i;
      continue;
    }
    const size_t nEnd = std::min(sDecl.find(' ', i), sDecl.size());
    const std::string_view sWord = sDecl.substr(i, nEnd - i);
    if (bAfterKeyword && sWord.starts_with(sName) &&
        (sWord.size() == sName.size() || !IsJavaNameByte(sWord[sName.size()]))) {
      return i;
    }
    bAfterKeyword = std::any_of(kJavaKinds.begin(), kJavaKinds.end(),
                                [sWord](const JavaKindRow& row) { return row.sKeyword == sWord; });
    i = nEnd;
  }
  return std::string_view::npos;
}

// The source line of a declaration and where it is.
struct SourceLine {
  std::string_view sText;  // without its line end
  size_t nNumber = 0;      // from 1
  size_t nOffset = 0;      // the byte offset of its start in the source
  size_t nNameEnd = 0;     // the bytes of sText up to the end of the name
};

// Finds the top-level type sName declares in sText, the start of a source
// or all of it (bWhole): the line that holds its name.  FALSE when the text
// does not hold it, or holds it on a line that may go on past the text.
bool FindDeclaration(std::string_view sText, bool bWhole, std::string_view sName, SourceLine& line) {
  const JavaOutline outline = OutlineJava(sText);
  const auto it = std::find_if(outline.aTypes.begin(), outline.aTypes.end(),
                               [sName](const JavaTypeDeclaration& type) { return type.sName == sName; });
  if (it == outline.aTypes.end()) return false;
  const size_t nStart = sText.rfind('\n', it->nName) + 1;  // npos + 1 is 0
  size_t nEnd = sText.find('\n', it->nName);
  if (nEnd == std::string_view::npos) {
    if (!bWhole) return false;
    nEnd = sText.size();
  }
  if (nEnd > nStart && sText[nEnd - 1] == '\r') --nEnd;
  line.sText = sText.substr(nStart, nEnd - nStart);
  line.nOffset = nStart;
  // The name as written, which may spell a letter as a unicode escape.
  size_t nNameEnd = it->nName;
  while (nNameEnd < nEnd && (IsJavaNameByte(sText[nNameEnd]) || sText[nNameEnd] == '\\')) ++nNameEnd;
  line.nNameEnd = nNameEnd - nStart;
  line.nNumber = static_cast<size_t>(std::count(sText.begin(), sText.begin() + static_cast<ptrdiff_t>(nStart), '\n')) +
                 1;
  return true;
}

// A text inside a search pattern: "\" and the delimiter "/" escaped, as
// ctags writes them.
void AppendPatternText(std::string& sOut, std::string_view s) {
  for (const char c : s) {
    if (c == '\\' || c == '/') sOut += '\\';
    sOut += c;
  }
}

// A field value: "\" and the characters that would end the field or the
// line escaped, as the extended format asks.
void AppendFieldValue(std::string& sOut, std::string_view s) {
  for (const char c : s) {
    switch (c) {
      case '\\':
        sOut += "\\\\";
        break;
      case '\t':
        sOut += "\\t";
        break;
      case '\r':
        sOut += "\\r";
        break;
      case '\n':
        sOut += "\\n";
        break;
      default:
        sOut += c;
    }
  }
}

char KindLetter(JavaKind eKind) {
  switch (eKind) {
    case JavaKind::kInterface:
      return 'i';
    case JavaKind::kEnum:
      return 'g';
    case JavaKind::kAnnotation:
      return 'a';
    case JavaKind::kClass:
    case JavaKind::kRecord:
    case JavaKind::kNone:
      break;
  }
  return 'c';
}

// The superclass worth naming: not the one every class, enum or record has
// without saying so.
bool NamesSuperClass(std::string_view sSuper, JavaKind eKind) {
  if (sSuper.empty() || sSuper == "Object" || sSuper == "nill") return false;
  if (eKind == JavaKind::kEnum && sSuper == "Enum") return false;
  return !(eKind == JavaKind::kRecord && sSuper == "Record");
}

// The paths of the sources as the tags file names them, in this system's
// form: relative to the directory of the tags file (both with their
// symbolic links resolved, so that "../" leads where it should), absolute
// in a text.
class TagPaths {
 public:
  TagPaths(const FileSystem& files, const std::string& sOutput) : files_(files), bRelative_(!sOutput.empty()) {
    if (bRelative_) {
      const std::filesystem::path output(files_.SystemPath(sOutput, FileSystem::PathForm::kAbsolute));
      tagsDir_ = files_.SystemPath(output.parent_path().string(), FileSystem::PathForm::kResolved);
    }
  }

  std::string Of(const std::string& sSource) {
    const std::filesystem::path source(files_.SystemPath(sSource, FileSystem::PathForm::kAbsolute));
    if (!bRelative_) return source.string();
    const std::string sDir = source.parent_path().string();
    auto it = aDirs_.find(sDir);
    if (it == aDirs_.end()) {
      const std::filesystem::path dir(files_.SystemPath(sDir, FileSystem::PathForm::kResolved));
      std::filesystem::path relative = dir.lexically_relative(tagsDir_);
      if (relative.empty()) relative = dir;
      it = aDirs_.emplace(sDir, relative == "." ? std::string() : relative.string() + "/").first;
    }
    return it->second + source.filename().string();
  }

 private:
  const FileSystem& files_;
  bool bRelative_;
  std::filesystem::path tagsDir_;
  std::unordered_map<std::string, std::string> aDirs_;
};

// The part of a class's line after its path (ctags), or its whole tag
// (etags), made on a worker thread; what went wrong with the source goes
// to sWhy.
struct TagTail {
  std::string sText;
  size_t nLine = 0;  // the declaration's line; 0 when not found
  std::string sWhy;
  bool bFailed = false;  // sWhy is a failure
};

// The ctags address and fields: the search pattern of the line (or of the
// declaration up to the name), the kind, the line and the superclass.
std::string CtagsTail(const TagClass& c, std::string_view sDecl, JavaKind eKind, const SourceLine* pLine) {
  std::string s;
  if (pLine != nullptr) {
    s += "/^";
    AppendPatternText(s, pLine->sText);
    s += "$/;\"\t";
  } else {
    // The declaration as the scan found it, up to the name: no anchors,
    // since its line breaks and indentation are not known.
    const size_t nName = NameOffset(sDecl, c.sName);
    s += '/';
    AppendPatternText(
        s, nName == std::string_view::npos ? std::string_view(c.sName) : sDecl.substr(0, nName + c.sName.size()));
    s += "/;\"\t";
  }
  s += KindLetter(eKind);
  if (pLine != nullptr) s += "\tline:" + std::to_string(pLine->nNumber);
  if (NamesSuperClass(c.sSuperClass, eKind)) {
    s += "\tinherits:";
    AppendFieldValue(s, c.sSuperClass);
  }
  return s;
}

// The etags tag: the start of the line up to the end of the name, which
// Emacs looks for at the start of a line near the offset, DEL, the name,
// SOH, the line number and the line's byte offset.  Without the line: the
// declaration up to the name, which Emacs then looks for in the whole
// file.
std::string EtagsTag(const TagClass& c, std::string_view sDecl, const SourceLine* pLine) {
  std::string_view sPattern;
  if (pLine != nullptr) {
    sPattern = pLine->sText.substr(0, pLine->nNameEnd);
  } else if (const size_t nName = NameOffset(sDecl, c.sName); nName != std::string_view::npos) {
    sPattern = sDecl.substr(0, nName + c.sName.size());
  }
  // A byte that ends the pattern or the tag cannot stand in it: the tag
  // then has none, and Emacs goes to the line by its offset alone.
  if (sPattern.find_first_of("\x7f\x01\r\n") != std::string_view::npos) sPattern = {};
  std::string s(sPattern);
  s.append("\x7f").append(c.sName).append("\x01");
  if (pLine == nullptr) return s + ",";
  return s + std::to_string(pLine->nNumber) + "," + std::to_string(pLine->nOffset);
}

TagTail MakeTail(const FileSystem& files, const TagClass& c, TagsFormat eFormat) {
  TagTail tail;
  const std::string_view sDecl = DeclarationText(c.sDeclaration);
  // Without the declaration (the caller said why) there is nothing to
  // look for.
  std::string sText;
  SourceLine line;
  bool bWhole = false;
  int nError = sDecl.empty() ? 0 : files.ReadFileStart(c.sSource, kFirstRead, sText, bWhole);
  bool bFound = !sDecl.empty() && nError == 0 && FindDeclaration(sText, bWhole, c.sName, line);
  if (!sDecl.empty() && nError == 0 && !bFound && !bWhole) {
    nError = files.ReadWholeFile(c.sSource, sText);
    bFound = nError == 0 && FindDeclaration(sText, true, c.sName, line);
  }
  if (nError != 0) {
    tail.sWhy = "cannot read: " + std::generic_category().message(nError);
    tail.bFailed = true;
  } else if (!bFound && !sDecl.empty()) {
    tail.sWhy = "declaration of " + c.sName + " not found (changed since the scan?)";
  }
  const SourceLine* pLine = bFound ? &line : nullptr;
  tail.nLine = bFound ? line.nNumber : 0;
  tail.sText = eFormat == TagsFormat::kEtags ? EtagsTag(c, sDecl, pLine)
                                             : CtagsTail(c, sDecl, DeclarationKind(c.sDeclaration), pLine);
  return tail;
}

// A class's tag in an etags file.
struct EtagsEntry {
  std::string sPath;
  size_t nLine = 0;
  std::string sTag;
};

// The etags file: a section per source, in path order, its tags in line
// order; each section is a form feed line, "PATH,SIZE" (SIZE the bytes of
// the tag lines that follow) and the tag lines.
std::string EtagsFile(std::vector<EtagsEntry>& aEntries) {
  std::sort(aEntries.begin(), aEntries.end(), [](const EtagsEntry& a, const EtagsEntry& b) {
    return std::tie(a.sPath, a.nLine, a.sTag) < std::tie(b.sPath, b.nLine, b.sTag);
  });
  std::string sFile;
  std::string sSection;
  for (size_t i = 0; i < aEntries.size();) {
    sSection.clear();
    size_t j = i;
    for (; j < aEntries.size() && aEntries[j].sPath == aEntries[i].sPath; ++j) {
      sSection.append(aEntries[j].sTag).append("\n");
    }
    sFile.append("\f\n").append(aEntries[i].sPath).append(",").append(std::to_string(sSection.size())).append("\n");
    sFile += sSection;
    i = j;
  }
  return sFile;
}

// The ctags file: the header lines, then the class lines in byte order
// (std::string compares as unsigned bytes, as readers do).
std::string CtagsFile(std::vector<std::string>& aLines) {
  std::sort(aLines.begin(), aLines.end());
  std::string sFile =
      "!_TAG_FILE_FORMAT\t2\t/extended format; --format=1 will not append ;\" to lines/\n"
      "!_TAG_FILE_SORTED\t1\t/0=unsorted, 1=sorted, 2=foldcase/\n"
      "!_TAG_PROGRAM_NAME\tquorvane\t/Java classes of a Quorvane repository/\n"
      "!_TAG_PROGRAM_VERSION\t" QV_VERSION "\t//\n";
  for (const std::string& s : aLines) sFile.append(s).append("\n");
  return sFile;
}

// Puts sText in place of the file sPath, whole or not at all; "" or why not.
std::string PutFile(Module& m, const std::string& sPath, const std::string& sText) {
  ReplacingFile file(m, m.Files().SystemPath(sPath, FileSystem::PathForm::kAbsolute));
  if (file.Open() && file.Write(sText) && file.Close() && file.Commit()) return {};
  return file.Error();
}

}  // namespace

TagsOutcome MakeTagsFile(Module& m, std::vector<TagClass>& aClasses, const TagsTarget& target,
                         const ClassReader& fnRead, const TagProblemHandler& fnProblem) {
  TagsOutcome outcome;
  if (target.sPath.empty() && target.pText == nullptr) {
    outcome.eFailure = TagsOutcome::Failure::kNotWritten;
    outcome.sError = "no file to write";
    return outcome;
  }
  const FileSystem& files = m.Files();
  TagPaths paths(files, target.sPath);
  const auto Say = [&](const std::string& sPath, std::string sWhy, bool bFailure) {
    if (fnProblem) fnProblem({files.SystemPath(sPath, FileSystem::PathForm::kMapped), std::move(sWhy), bFailure});
  };
  const bool bEtags = target.eFormat == TagsFormat::kEtags;
  std::vector<std::string> aLines;
  std::vector<EtagsEntry> aEntries;
  if (bEtags) {
    aEntries.reserve(aClasses.size());
  } else {
    aLines.reserve(aClasses.size());
  }
  std::vector<TagTail> aTails(aClasses.size());
  std::vector<TagReadError> aReadErrors(aClasses.size());
  // Two workers read the classes and their files, which is nearly all the
  // time; the paths and the problems, in the classes' order, are the
  // calling thread's.
  RunAhead(
      static_cast<int64_t>(aClasses.size()), 2, 256,
      [&](int64_t i) {
        const auto k = static_cast<size_t>(i);
        TagClass& c = aClasses[k];
        if (fnRead) aReadErrors[k] = fnRead(c);
        aTails[k] = MakeTail(files, c, target.eFormat);
      },
      [&](int64_t i) {
        const auto k = static_cast<size_t>(i);
        const TagClass& c = aClasses[k];
        TagTail& tail = aTails[k];
        if (TagReadError& read = aReadErrors[k]; !read.sWhy.empty()) Say(read.sPath, std::move(read.sWhy), true);
        if (!tail.sWhy.empty()) Say(c.sSource, std::move(tail.sWhy), tail.bFailed);
        // A name or path that would break the line has no tag.
        if (c.sName.empty() || c.sName.find_first_of("\t\r\n") != std::string::npos ||
            c.sSource.find_first_of("\t\r\n") != std::string::npos) {
          Say(c.sSource, "class '" + c.sName + "' has no tag: its name or path holds a tab or line break", false);
        } else if (bEtags) {
          aEntries.push_back({paths.Of(c.sSource), tail.nLine, std::move(tail.sText)});
        } else {
          aLines.push_back(c.sName + '\t' + paths.Of(c.sSource) + '\t' + tail.sText);
        }
        tail = TagTail();
      });
  outcome.nTags = static_cast<int64_t>(bEtags ? aEntries.size() : aLines.size());
  std::string sFile = bEtags ? EtagsFile(aEntries) : CtagsFile(aLines);
  if (target.sPath.empty()) {
    *target.pText = std::move(sFile);
  } else if (std::string sError = PutFile(m, target.sPath, sFile); !sError.empty()) {
    outcome.eFailure = TagsOutcome::Failure::kNotWritten;
    outcome.sError = std::move(sError);
  }
  return outcome;
}

}  // namespace qv

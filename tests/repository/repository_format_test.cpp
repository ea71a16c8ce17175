// SPDX-License-Identifier: Apache-2.0
#include "repository/repository_format.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "support/test_host.h"

namespace qv {
namespace {

using namespace format;

std::vector<std::string> Split(std::string_view sLine, std::string_view sDelimiter) {
  std::vector<std::string_view> aFields;
  SplitFields(sLine, sDelimiter, aFields);
  return {aFields.begin(), aFields.end()};
}

TEST(RepositoryFormat, FieldsAreThePiecesBetweenDelimitersWithoutTheEmptyLastOne) {
  EXPECT_EQ(Split("B|A|||", "|"), (std::vector<std::string>{"B", "A", "", ""}));
  EXPECT_EQ(Split("B|A", "|"), (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(Split("", "|"), std::vector<std::string>{});
  // A delimiter of several characters splits only where all of it stands.
  EXPECT_EQ(Split("a|b<>c<>", "<>"), (std::vector<std::string>{"a|b", "c"}));
  EXPECT_EQ(Split("abc", ""), std::vector<std::string>{"abc"});
}

TEST(RepositoryFormat, CopyAndMethodFileNamesCutAtTheFileNamesFirstDot) {
  EXPECT_EQ(HistoryCopyName("jbclass.txt", 1), "jbclass.001");
  EXPECT_EQ(HistoryCopyName("jbclass.txt", 10), "jbclass.010");
  EXPECT_EQ(HistoryCopyName("jbclass.txt", 99), "jbclass.099");
  EXPECT_EQ(HistoryCopyName("jbclass.txt", 100), "jbclass.100");
  EXPECT_EQ(HistoryCopyName("jbclass.txt", 1000), "jbclass.1000");
  EXPECT_EQ(HistoryCopyName("README", 2), "README.002");
  EXPECT_EQ(HistoryCopyName("C:\\src\\Applet1.java", 1), "C:\\src\\Applet1.001");
  EXPECT_EQ(HistoryCopyName("C:\\my.dir\\Applet1.java", 1), "C:\\my.dir\\Applet1.001");
  EXPECT_EQ(HistoryCopyName("C:\\my.dir\\README", 3), "C:\\my.dir\\README.003");
  EXPECT_EQ(HistoryCopyName("a.b.c", 4), "a.004");
  EXPECT_EQ(MethodFilePath("C:\\src", "Applet1.java"), "C:\\src\\Applet1.med");
  EXPECT_EQ(MethodFilePath("C:\\my.dir", "Tar.gz.java"), "C:\\my.dir\\Tar.med");
}

// Method files below a method file directory: the source's directory as
// folders, distinct for distinct directories, none climbing out.
TEST(RepositoryFormat, MethodFilesBelowADirectoryMirrorTheSourcesDirectory) {
  EXPECT_EQ(MethodFileIn("", "C:\\src", "Applet1.java"), MethodFilePath("C:\\src", "Applet1.java"));
  EXPECT_EQ(MethodFileIn("M", "C:\\a\\b", "A.java"), "M\\C\\a\\b\\A.med");
  EXPECT_EQ(MethodFileIn("/repo/methods/", "/tmp/jdk\\java", "Tar.gz.java"), "/repo/methods\\tmp\\jdk\\java\\Tar.med");
  EXPECT_EQ(MethodFileIn("M", "\\\\srv\\share\\x", "A.java"), "M\\UNC\\srv\\share\\x\\A.med");
  EXPECT_EQ(MethodFileIn("M", "src\\p", "A.java"), "M\\%2E\\src\\p\\A.med");
  EXPECT_EQ(MethodFileIn("M", "C:\\", "A.java"), "M\\C\\A.med");
  EXPECT_EQ(MethodFileIn("\\", "\\", "A.java"), "\\A.med");
  EXPECT_EQ(MethodFileIn("M", "", "A.java"), "M\\%2E\\A.med");
  // "." and empty folders name the same directory.
  EXPECT_EQ(MethodFileIn("M", "\\ab\\.\\\\cd\\", "A.java"), "M\\ab\\cd\\A.med");
  // A name with a directory part of its own stays below M too.
  EXPECT_EQ(MethodFileIn("M", "\\src", "..\\..\\x:y.java"), "M\\src\\%2E%2E\\%2E%2E\\x%3Ay.med");

  // Directories a plain copy of the folders would mix up or let climb out:
  // each one has a method file of its own, and no folder below M is empty,
  // ".", "..", ends in a dot or a blank, or holds a colon.
  const std::vector<std::string> aDirectories = {
      "C:\\a",          "\\C\\a",        "c:\\a",    "\\c\\a", "\\\\C\\a",      "\\\\srv\\a",
      "\\UNC\\srv\\a",  "\\unc\\srv\\a", "\\srv\\a", "srv\\a", "\\%2E\\srv\\a", "\\x\\..\\a",
      "\\x\\%2E%2E\\a", "\\x\\_\\a",     "\\x\\a.",  "\\x\\a", "\\x\\a ",       "\\x\\a%20",
      "\\x\\a:b",       "\\x\\a%3Ab",    "\\\\.\\x", "\\\\x",  "C:x",           "\\C%3Ax",
      "\\x\\<>|?*\"",   "\\x\\...",      ".."};
  std::set<std::string> aFiles;
  for (const std::string& sDirectory : aDirectories) {
    const std::string sFile = MethodFileIn("M", sDirectory, "A.java");
    EXPECT_TRUE(aFiles.insert(sFile).second) << sDirectory << " shares " << sFile;
    ASSERT_EQ(sFile.rfind("M\\", 0), 0u) << sFile;
    const std::string sBelow = sFile.substr(2);
    std::vector<std::string_view> aFolders;
    SplitFields(sBelow, "\\", aFolders);
    for (const std::string_view sFolder : aFolders) {
      EXPECT_FALSE(sFolder.empty() || sFolder == "." || sFolder == ".." || sFolder.back() == '.' ||
                   sFolder.back() == ' ' || sFolder.find_first_of(":<>|?*\"/") != std::string_view::npos)
          << sDirectory << ": " << sFile;
    }
  }
}

class RecordLineTest : public test::HostFixture {
 protected:
  // Builds a line of the given plain fields and texts; empty when refused.
  std::string Line(std::string_view sDelimiter, std::string_view sToken,
                   const std::vector<std::pair<bool, std::string>>& aFields, std::string* pError = nullptr) {
    RecordLine line(*module_, sDelimiter, sToken);
    for (const auto& [bText, s] : aFields) {
      if (bText) {
        line.AddText("text", s);
      } else {
        line.AddPlain("plain", s);
      }
    }
    String sLine, sError;
    const bool bOk = line.Finish(sLine, sError);
    if (pError != nullptr) *pError = sError;
    EXPECT_EQ(bOk, sError.empty());
    return bOk ? sLine : std::string();
  }
};

TEST_F(RecordLineTest, LineBreaksBecomeTheTokenAndEveryFieldIsFollowedByTheDelimiter) {
  EXPECT_EQ(Line("|", "~", {{false, "B"}, {false, "A"}, {false, ""}}), "B|A||");
  EXPECT_EQ(Line("|", "~", {{true, "x\r\r\ny"}}), "x~y|");
  // A lone CR LF keeps its CR; the LF becomes the token.
  EXPECT_EQ(Line("|", "~", {{true, "x\r\ny"}}), "x\r~y|");
  EXPECT_EQ(Line("|", "~", {{true, "x\ny\n"}}), "x~y~|");
  EXPECT_EQ(DecodeText(*module_, "a~b~", "~"), "a\r\r\nb\r\r\n");
  EXPECT_EQ(DecodeText(*module_, "a<br>b", "<br>"), "a\r\r\nb");
}

TEST_F(RecordLineTest, RefusesEveryFieldThatWouldReadBackAsSomethingElse) {
  std::string sError;
  EXPECT_EQ(Line("|", "~", {{false, "a|b"}}, &sError), "");
  EXPECT_NE(sError.find("delimiter"), std::string::npos);
  EXPECT_EQ(Line("|", "~", {{true, "x || y"}}, &sError), "");
  EXPECT_EQ(Line("|", "~", {{true, "a ~ b"}}, &sError), "");
  EXPECT_NE(sError.find("token"), std::string::npos);
  EXPECT_EQ(Line("|", "~", {{false, "two\nlines"}}, &sError), "");
  // The token is the delimiter: a line break would split the field.
  EXPECT_EQ(Line("|", "|", {{true, "a\nb"}}), "");
  // No token at all: the line breaks could not be restored.
  EXPECT_EQ(Line("|", "", {{true, "a\nb"}}), "");
  EXPECT_EQ(Line("", "~", {{false, "a"}}, &sError), "");
  EXPECT_NE(sError.find("delimiter is empty"), std::string::npos);
  // A delimiter that straddles a field and the delimiter behind it.
  EXPECT_EQ(Line("aa", "~", {{false, "xa"}, {false, "y"}}), "");
  // A token that straddles the text and an encoded line break.
  EXPECT_EQ(Line("|", "~~", {{true, "a~\nb"}}), "");
  // Texts that contain only parts of the separators are stored.
  EXPECT_EQ(Line("<|>", "<~>", {{true, "a < b | c > d ~ e"}}), "a < b | c > d ~ e<|>");
}

TEST_F(RecordLineTest, EveryAcceptedLineReadsBackAsWritten) {
  std::mt19937 rng(7);
  // Blanks make the reader's trimming matter; one-character tokens take the
  // writer's shortcut, longer ones its full check.
  const std::string sAlphabet = "ab |~\r\n\t";
  const std::vector<std::pair<std::string, std::string>> aSeparators = {
      {"|", "~"}, {"||", "~"}, {"|~", "~|"}, {"|", "\t"}, {"|", "~~"}};
  int nAccepted = 0;
  for (size_t nRound = 0; nRound < 5000; ++nRound) {
    const auto& [sDelimiter, sToken] = aSeparators[nRound % aSeparators.size()];
    std::vector<std::pair<bool, std::string>> aFields;
    for (int f = 0; f < 3; ++f) {
      std::string s;
      for (int n = static_cast<int>(rng() % 6); n > 0; --n) s += sAlphabet[rng() % sAlphabet.size()];
      aFields.emplace_back(f == 1, s);
    }
    const std::string sLine = Line(sDelimiter, sToken, aFields);
    if (sLine.empty()) continue;
    ++nAccepted;
    // Read as the reader reads: trimmed fields unless the line is exact.
    std::vector<std::string_view> aRead;
    const bool bExact = SplitRecord(sLine, sDelimiter, 3, LineTrim::kEachField, aRead);
    EXPECT_EQ(FieldOf(aRead, 0, !bExact), aFields[0].second) << sLine;
    EXPECT_EQ(FieldOf(aRead, 2, !bExact), aFields[2].second) << sLine;
    // The text comes back with its line breaks as CR CR LF.
    std::string sExpected;
    const std::string& sText = aFields[1].second;
    for (size_t i = 0; i < sText.size(); ++i) {
      if (sText.compare(i, 3, "\r\r\n") == 0) {
        sExpected += "\r\r\n";
        i += 2;
      } else if (sText[i] == '\n') {
        sExpected += "\r\r\n";
      } else {
        sExpected += sText[i];
      }
    }
    EXPECT_EQ(DecodeText(*module_, FieldOf(aRead, 1, !bExact), sToken), sExpected) << sLine;
  }
  EXPECT_GT(nAccepted, 100);
}

}  // namespace
}  // namespace qv

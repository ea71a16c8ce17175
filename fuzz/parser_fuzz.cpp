// SPDX-License-Identifier: Apache-2.0
// The Java source parser on any bytes: two parses of the same file give the
// same record, a body made in the text's own memory is the body made in a
// copy, an assigned footer is a suffix of the text the parser works on, an
// assigned body ends with the last "}", a class name holds no line break,
// and the record written back holds every byte of the text that is no
// blank (a text without unicode escapes, which the parser translates).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "fuzz/fuzz_support.h"
#include "source/java_parser.h"

namespace {

using qv::DynArray;
using qv::String;

// A parse's receive parameters, passed in holding a mark that no parse can
// produce, so that an assignment shows.
struct Parsed {
  static constexpr std::string_view kUnset = "\x01unset\x01";
  String sClassName{kUnset}, sSuperClass{kUnset}, sPackage{kUnset}, sHeader{kUnset}, sDescription{kUnset},
      sFooter{kUnset}, sBody{kUnset};
  DynArray<String> sImport;
  qv::Number nResult;

  bool operator==(const Parsed& o) const {
    return sClassName == o.sClassName && sSuperClass == o.sSuperClass && sPackage == o.sPackage &&
           sHeader == o.sHeader && sDescription == o.sDescription && sFooter == o.sFooter && sBody == o.sBody &&
           sImport.Items() == o.sImport.Items() && nResult == o.nResult;
  }
};

Parsed Parse(qv::Module& m, const std::string& sPath) {
  Parsed p;
  DynArray<String> a1, a2, a3, a4, a5, a6;
  p.nResult = qv::ParseJavaSource(m, sPath, p.sClassName, p.sSuperClass, p.sPackage, p.sHeader, p.sDescription,
                                  p.sFooter, p.sBody, p.sImport, a1, a2, a3, a4, a5, a6);
  return p;
}

// CutJavaText's parse of sText, given (the body may take its memory, which
// has room for it) or not.
template <class Text>
Parsed Cut(qv::Module& m, Text&& sText) {
  Parsed p;
  qv::JavaTextTools tools = qv::JavaTextTools::Bound(m);
  qv::CutJavaText(tools, std::forward<Text>(sText), "A.java",
                  {p.sClassName, p.sSuperClass, p.sPackage, p.sHeader, p.sDescription, p.sFooter, p.sBody, p.sImport});
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  qv::fuzz::Harness& h = qv::fuzz::TheHarness();
  const std::string_view sInput(reinterpret_cast<const char*>(pData), nSize);
  h.Write("A.java", sInput);
  qv::Module& m = h.Fresh();
  const std::string sPath = h.Win("A.java");
  const Parsed first = Parse(m, sPath);
  const Parsed second = Parse(h.Fresh(), sPath);
  QV_FUZZ_CHECK(first == second, "two parses of the same bytes differ");
  QV_FUZZ_CHECK(first.nResult == qv::Number(1), "a readable file reported unread");
  std::string sGiven;
  sGiven.reserve(qv::JavaCutRoom(sInput));
  sGiven.assign(sInput);
  qv::Module& mCut = h.Fresh();
  QV_FUZZ_CHECK(Cut(mCut, sInput) == Cut(mCut, std::move(sGiven)), "the body made in place differs from its copy");

  // The text the parser cuts: LF-only files get CR LF line ends.
  std::string sText(sInput);
  if (sText.find("\r\n") == std::string::npos) {
    std::string sCrLf;
    for (const char c : sText) {
      if (c == '\n') sCrLf.push_back('\r');
      sCrLf.push_back(c);
    }
    sText = sCrLf;
  }
  if (first.sFooter != Parsed::kUnset) {
    QV_FUZZ_CHECK(std::string_view(sText).ends_with(first.sFooter), "the footer is no suffix of the text");
  }
  if (first.sClassName != Parsed::kUnset) {
    QV_FUZZ_CHECK(first.sClassName.find_first_of("\n ") == std::string::npos, first.sClassName);
  }
  if (first.sBody != Parsed::kUnset && !first.sBody.ends_with(Parsed::kUnset) && first.sBody.back() != ' ') {
    QV_FUZZ_CHECK(first.sBody.back() == '}', "a body that does not end with its brace");
  }
  if (first.sClassName != Parsed::kUnset && sText.find("\\u") == std::string::npos) {
    const auto Own = [](const String& s) { return s == Parsed::kUnset ? std::string_view() : std::string_view(s); };
    std::string sWritten(Own(first.sHeader));
    if (!Own(first.sPackage).empty()) sWritten.append("package").append(first.sPackage).append(";");
    for (const String& sImport : first.sImport.Items()) sWritten.append("import").append(sImport).append(";");
    sWritten.append(Own(first.sDescription)).append(Own(first.sBody)).append(Own(first.sFooter));
    const auto Inked = [](std::string_view s) {
      return std::count_if(s.begin(), s.end(),
                           [](char c) { return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\f'; });
    };
    QV_FUZZ_CHECK(Inked(sWritten) >= Inked(sText), "the record lost text");
  }
  return 0;
}

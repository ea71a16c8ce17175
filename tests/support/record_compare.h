// SPDX-License-Identifier: Apache-2.0
// What differs between two class records, for the tests and the fuzz targets
// that check that a record comes back from the repository as it went in.
#pragma once

#include <string>

#include "repository/java_records.h"

namespace qv::test {

// The first field of the class lines in which a and b differ, as text;
// empty when every field, every import and every method and variable row
// agree.  bRows: compare the method and variable lists too.
inline std::string RecordDifference(const VC_JavaClass& a, const VC_JavaClass& b, bool bRows = true) {
  auto Quote = [](const String& s) {
    std::string sOut = "\"";
    for (const char c : s) {
      if (static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '\\') {
        static constexpr char kHex[] = "0123456789abcdef";
        sOut.append("\\x").push_back(kHex[(c >> 4) & 0xF]);
        sOut.push_back(kHex[c & 0xF]);
      } else {
        sOut.push_back(c);
      }
    }
    return sOut + "\"";
  };
  std::string sDiff;
  auto Same = [&](const char* pName, const String& sA, const String& sB) {
    if (sDiff.empty() && sA != sB) sDiff = std::string(pName) + ": " + Quote(sA) + " became " + Quote(sB);
  };
  Same("superclass", a.sSuperClass, b.sSuperClass);
  Same("class name", a.sClassName, b.sClassName);
  Same("file name", a.sFileName, b.sFileName);
  Same("directory", a.sDirectory, b.sDirectory);
  Same("package", a.sPackage, b.sPackage);
  Same("header", a.sHeader, b.sHeader);
  Same("footer", a.sFooter, b.sFooter);
  Same("description", a.sDescription, b.sDescription);
  Same("method file", a.sMethodFile, b.sMethodFile);
  Same("extra", a.sExtra, b.sExtra);
  if (sDiff.empty() && a.sImport.Count() != b.sImport.Count()) {
    sDiff = "import count: " + std::to_string(a.sImport.Count()) + " became " + std::to_string(b.sImport.Count());
  }
  for (int64_t j = 0; j < a.sImport.Count(); ++j) Same("import", a.sImport[j], b.sImport[j]);
  if (sDiff.empty() && !(a.dtStamp == b.dtStamp)) sDiff = "time stamp";
  if (!bRows) return sDiff;
  if (sDiff.empty() && a.aMethods.Count() != b.aMethods.Count()) sDiff = "method count";
  for (int64_t k = 1; k < a.aMethods.Count(); ++k) {
    Same("method name", a.aMethods[k].sName, b.aMethods[k].sName);
    Same("method comment", a.aMethods[k].sComment, b.aMethods[k].sComment);
    Same("method body", a.aMethods[k].sBody, b.aMethods[k].sBody);
  }
  if (sDiff.empty() && a.aVariables.Count() != b.aVariables.Count()) sDiff = "variable count";
  for (int64_t k = 0; k < a.aVariables.Count(); ++k) {
    for (size_t f = 0; f < VC_JavaClassVariable::kFieldCount; ++f) {
      Same("variable value", a.aVariables[k].Value(f), b.aVariables[k].Value(f));
    }
  }
  return sDiff;
}

}  // namespace qv::test

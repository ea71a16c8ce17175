// SPDX-License-Identifier: Apache-2.0
// Reading and parsing many Java sources with worker threads, with the same
// outcome as the one-thread road: for each file in order, SetJavaFile, then
// ParseSourceFile when the file can be parsed.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "core/module.h"
#include "source/java_parser.h"

namespace qv {

// How a source file looked when it was read.
enum class SourceState {
  kParsed,      // read and parsed
  kUnreadable,  // could not be read (nErrno says why); not parsed
  kEmpty,       // no bytes; not parsed
  kBinary,      // a NUL byte in its first 8 KiB; not parsed
};

// The state of a text read in full.
SourceState ClassifySourceText(std::string_view sText);

// A file for SetJavaFile: the bare name and its directory (library form).
struct JavaSourceName {
  String sFileName;
  String sDirectory;
};

class VC_JavaClass;

// A worker's memory for reading sources, kept from file to file: a file's
// text is read into memory that is already there, and only what the record
// keeps is new.  A rare large file's memory goes with it.
struct SourceScratch {
  String sPath;
  String sText;
  // Frees what one large file left behind.
  void Trim();
};

// What reading a source came to.
struct SourceRead {
  SourceState eState = SourceState::kParsed;
  int nErrno = 0;                    // why it could not be read (kUnreadable)
  JavaKind eKind = JavaKind::kNone;  // the parser's kind; kNone: no class
};

// Reads the source name names and cuts it into r: its parse fields (class
// name, superclass, package, texts, imports) replaced, the class body in
// aMethods[1].  Touches neither the Module nor any host call but the
// thread-safe read: for worker threads, each with a scratch of its own.
SourceRead ReadSourceRecord(const FileSystem& files, JavaTextTools tools, const JavaSourceName& name,
                            SourceScratch& scratch, VC_JavaClass& r);

// Called on the calling thread for each file, in order, once its record is
// complete, with the kind the parser named the class by (kNone when it
// named none or the file was not parsed).  Records after nIndex are not to
// be read before the call returns.
using SourceVisitor = std::function<void(int64_t nIndex, SourceState eState, int nErrno, JavaKind eKind)>;

// Fills JavaClass[0 .. n-1] from aFiles[0 .. n-1]: for each file, in order,
// VC_JavaFile::SetJavaFile on the global JavaFile instance, then, unless the
// file is unreadable, empty or binary, what VC_JavaClass::ParseSourceFile
// leaves (record fields, class and superclass lists), then fnVisit.
//
// Up to nThreads worker threads read (FileSystem::ReadWholeFile) and parse
// (CutJavaText) files ahead of the calling thread, a bounded number of files
// ahead so that memory stays that of the records.  The workers touch neither
// the Module nor any other host call: all of that, records included, happens
// on the calling thread, so the library is still used from one thread at a
// time.  nThreads < 1 reads and parses on the calling thread.  Both toolkit
// text functions are bound before the first file.
void ReadJavaSources(Module& m, const std::vector<JavaSourceName>& aFiles, int nThreads, const SourceVisitor& fnVisit);

}  // namespace qv

// SPDX-License-Identifier: Apache-2.0
#include "repository/source_batch.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/run_ahead.h"
#include "source/java_parser.h"

namespace qv {

namespace {

// How far the workers may run ahead of the calling thread, in files.
constexpr int64_t kWindow = 128;
// How much of a file decides whether it is binary.
constexpr size_t kBinaryProbe = 8192;

// One file's parse, made off the calling thread.  The fields start as the
// record's own (a parse keeps what it does not find) and end as the record's
// new values.
struct Parsed {
  SourceState eState = SourceState::kParsed;
  int nErrno = 0;
  JavaKind eKind = JavaKind::kNone;
  String sClassName, sSuperClass, sPackage, sHeader, sDescription, sFooter, sBody;
  DynArray<String> sImport;
};

// How much memory for texts a worker keeps from one file to the next.
constexpr size_t kKeptScratch = size_t{256} * 1024;
// A text larger than this is given to the parse, whose body then takes the
// text's memory instead of a copy of it, so that a large file's bytes are
// not held twice.  (A string grows to at most twice what it held, so a text
// this large has memory of about its own size.)
constexpr size_t kGivenText = 4 * kKeptScratch;

void ReadAndParse(const FileSystem& files, JavaTextTools tools, const JavaSourceName& name, SourceScratch& scratch,
                  Parsed& p) {
  scratch.sPath.assign(name.sDirectory).append("\\").append(name.sFileName);
  const auto Read = [&] {
    p.nErrno = files.ReadWholeFile(scratch.sPath, scratch.sText);
    p.eState = p.nErrno != 0 ? SourceState::kUnreadable : ClassifySourceText(scratch.sText);
  };
  Read();
  const auto Given = [&] { return p.eState == SourceState::kParsed && scratch.sText.size() > kGivenText; };
  // The body the parse makes of a given text may need more room than the
  // text (CR LF for LF): such a text is read again into memory that has
  // it, its first copy let go before.
  if (const size_t nRoom = Given() ? JavaCutRoom(scratch.sText) : 0; scratch.sText.capacity() < nRoom) {
    String().swap(scratch.sText);
    scratch.sText.reserve(nRoom);
    Read();
  }
  if (p.eState == SourceState::kParsed) {
    String sBody;  // ParseSourceFile parses into an empty body
    const JavaSourceFields fields{p.sClassName,   p.sSuperClass, p.sPackage, p.sHeader,
                                  p.sDescription, p.sFooter,     sBody,      p.sImport};
    p.eKind = Given() ? CutJavaText(tools, std::move(scratch.sText), name.sFileName, fields)
                      : CutJavaText(tools, std::string_view(scratch.sText), name.sFileName, fields);
    p.sBody = std::move(sBody);
  }
  scratch.Trim();
}

// Moves the record's parse fields into p (before the parse) or back.
void Swap(VC_JavaClass& r, Parsed& p) {
  std::swap(r.sClassName, p.sClassName);
  std::swap(r.sSuperClass, p.sSuperClass);
  std::swap(r.sPackage, p.sPackage);
  std::swap(r.sHeader, p.sHeader);
  std::swap(r.sDescription, p.sDescription);
  std::swap(r.sFooter, p.sFooter);
  std::swap(r.sImport, p.sImport);
}

}  // namespace

void SourceScratch::Trim() {
  if (sText.capacity() > kKeptScratch) String().swap(sText);
}

SourceRead ReadSourceRecord(const FileSystem& files, JavaTextTools tools, const JavaSourceName& name,
                            SourceScratch& scratch, VC_JavaClass& r) {
  Parsed p;  // empty: nothing of an earlier file stays in r
  ReadAndParse(files, tools, name, scratch, p);
  Swap(r, p);
  r.aMethods.At(1).sBody = std::move(p.sBody);
  return {p.eState, p.nErrno, p.eKind};
}

SourceState ClassifySourceText(std::string_view sText) {
  if (sText.empty()) return SourceState::kEmpty;
  if (std::memchr(sText.data(), '\0', std::min(sText.size(), kBinaryProbe)) != nullptr) return SourceState::kBinary;
  return SourceState::kParsed;
}

void ReadJavaSources(Module& m, const std::vector<JavaSourceName>& aFiles, int nThreads, const SourceVisitor& fnVisit) {
  const int64_t n = static_cast<int64_t>(aFiles.size());
  if (n == 0) return;
  DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  VC_JavaFile& javaFile = JavaFileInstance(m);
  JavaRepositoryVars& repo = RepositoryVars(m);
  const FileSystem& files = m.Files();
  const JavaTextTools tools = JavaTextTools::Bound(m);

  // The records that exist already lend their fields to the parse, which
  // keeps what it does not find.  A parse for a new record is made only
  // when its file's turn comes, and goes once it is in its record, so that
  // no more of them exist at once than the window holds.
  std::vector<std::unique_ptr<Parsed>> aParsed(static_cast<size_t>(n));
  for (int64_t i = 0; i < n && i < aClasses.Count(); ++i) {
    aParsed[static_cast<size_t>(i)] = std::make_unique<Parsed>();
    Swap(aClasses.At(i), *aParsed[static_cast<size_t>(i)]);
  }
  aClasses.At(n - 1);  // every record at once, not one reallocation after another
  repo.cv_sClassName.Reserve(n);
  repo.cv_sSuperClass.Reserve(n);
  std::vector<SourceScratch> aScratch(static_cast<size_t>(std::max(nThreads, 1)));

  RunAheadByWorker(
      n, nThreads, kWindow,
      [&](int64_t i, int nWorker) {
        std::unique_ptr<Parsed>& pParsed = aParsed[static_cast<size_t>(i)];
        if (pParsed == nullptr) pParsed = std::make_unique<Parsed>();
        ReadAndParse(files, tools, aFiles[static_cast<size_t>(i)], aScratch[static_cast<size_t>(nWorker)], *pParsed);
      },
      [&](int64_t i) {
        std::unique_ptr<Parsed> pParsed = std::move(aParsed[static_cast<size_t>(i)]);
        Parsed& p = *pParsed;
        const JavaSourceName& name = aFiles[static_cast<size_t>(i)];
        javaFile.SetJavaFile(m, Number(i), name.sFileName, name.sDirectory);
        VC_JavaClass& record = aClasses.At(i);
        if (p.eState == SourceState::kParsed) {
          Swap(record, p);
          record.aMethods.At(1).sBody = std::move(p.sBody);
          repo.cv_sClassName.Set(i, record.sClassName);
          repo.cv_sSuperClass.Set(i, record.sSuperClass);
        } else {
          Swap(record, p);  // the record's own fields, untouched
        }
        const SourceState eState = p.eState;
        const int nErrno = p.nErrno;
        const JavaKind eKind = p.eKind;
        pParsed.reset();  // frees what the record gave back
        fnVisit(i, eState, nErrno, eKind);
      });
}

}  // namespace qv

// quorvane tags: the tags file of the repository's classes, for editors.
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/repository.h"
#include "cli/tags_file.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/repository_format.h"
#include "source/java_parser.h"

namespace qv::cli {
namespace {

// The one-line declaration the class's body starts with, from its method
// file: the first method's body is the whole class body.  Only the start
// of the file is read; the rest when the first line of the body is not
// complete in it.  FALSE when the file cannot be read.
bool StoredDeclaration(Module& m, const VC_JavaClass& r, std::string& sDecl) {
  const std::string sPath = NativePath(r.sMethodFile);
  std::ifstream in(sPath, std::ios::binary);
  if (r.sMethodFile.empty() || !in) return false;
  std::string sStart;
  std::vector<std::string_view> aFields;
  for (size_t nWant = 4096;; nWant = std::string::npos) {
    if (nWant == std::string::npos) {
      sStart.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
      sStart.resize(nWant);
      in.read(sStart.data(), static_cast<std::streamsize>(nWant));
      sStart.resize(static_cast<size_t>(in.gcount()));
    }
    const bool bAll = nWant == std::string::npos || in.eof();
    const std::string_view sLine = std::string_view(sStart).substr(0, sStart.find('\n'));
    format::SplitFields(sLine, m.G().sElementDelimiter, aFields);
    const String sBody = format::DecodeText(m, format::FieldAt(aFields, format::kMethodBody), m.G().sCRLFToken);
    const size_t nFirst = sBody.find_first_not_of("\r\n");
    if (bAll || (nFirst != std::string::npos && sBody.find_first_of("\r\n", nFirst) != std::string::npos)) {
      sDecl = DeclarationText(sBody);
      return true;
    }
  }
}

}  // namespace

Runner AddTagsCommand(CLI::App& app) {
  struct Args {
    RepositoryOptions options;
    std::string sOutput = "tags";
  };
  auto args = std::make_shared<Args>();
  CLI::App* sub = app.add_subcommand("tags", "Write a tags file of the repository's classes, for editors");
  const std::string sAbout(
      "Write the tags file of every class of the repository, so that an editor jumps to a class's declaration "
      "by its name (vim -t NAME, :tag NAME, Ctrl-]).  The kind of each class comes from the start of its "
      "method file, its line from the start of its source.  'quorvane scan --tags FILE' writes the same file "
      "during a scan.");
  sub->add_option("-o,--output", args->sOutput,
                  "The tags file to write (default: tags in the current directory); - writes to stdout")
      ->type_name("FILE");
  AddRepositoryOptions(*sub, args->options);
  sub->footer(HelpFooter(sAbout, std::string(kTagsHelp) + "\n" + kRepositoryHelp));
  return [args] {
    Session session(ResolveProfileDir(args->options.sProfileDir));
    Module& m = session.M();
    if (const int n = OpenRepository("tags", args->options, session, nullptr, false); n >= 0) return n;
    const DynArray<VC_JavaClass>& aRecords = JavaClassArray(m);
    const int64_t nClasses = RepositoryVars(m).cv_nClassCount.AsInt64();
    std::vector<TagClass> aClasses;
    aClasses.reserve(static_cast<size_t>(nClasses));
    int nStatus = 0;
    for (int64_t i = 0; i < nClasses; ++i) {
      const VC_JavaClass& r = aRecords[i];
      TagClass& c = aClasses.emplace_back();
      c.sName = r.sClassName;
      c.sSource = SourcePath(r);
      c.sSuperClass = r.sSuperClass;
      if (!StoredDeclaration(m, r, c.sDeclaration)) {
        std::fprintf(stderr, "quorvane tags: %s: method file missing\n", NativePath(r.sMethodFile).c_str());
        nStatus = 1;
      }
    }
    const int nWritten = WriteTagsFile("tags", m, aClasses, args->sOutput);
    return nWritten != 0 ? nWritten : nStatus;
  };
}

}  // namespace qv::cli

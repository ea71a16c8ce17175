// quorvane tags: the tags file of the repository's classes, for editors.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/repository.h"
#include "cli/tags_file.h"
#include "repository/repository_format.h"
#include "source/java_parser.h"

namespace qv::cli {
namespace {

// One class per line of the class list, to be filled by ReadClass.
std::vector<TagClass> ClassLines(std::string_view sText) {
  std::vector<TagClass> aClasses;
  for (size_t nAt = 0; nAt < sText.size();) {
    const size_t nEnd = std::min(sText.find('\n', nAt), sText.size());
    aClasses.emplace_back().sStored = sText.substr(nAt, nEnd - nAt);
    nAt = nEnd + 1;
  }
  return aClasses;
}

// The class of a class list line (c.sStored), with the one-line
// declaration its body starts with, from its method file: the first
// method's body is the whole class body.  Only the start of the method
// file is read; all of it when the first line of the body does not end in
// that start.
std::string ReadClass(TagClass& c, JavaTextTools tools, std::string_view sDelimiter, std::string_view sToken) {
  using namespace format;
  std::string_view sLine = c.sStored;
  if (!sLine.empty() && sLine.back() == '\r') sLine.remove_suffix(1);
  std::vector<std::string_view> aFields;
  const bool bTrim = !SplitRecord(sLine, sDelimiter, kClassFieldCount, LineTrim::kEachField, aFields);
  c.sName = FieldOf(aFields, kClassName, bTrim);
  c.sSource = SourcePath(FieldOf(aFields, kDirectory, bTrim), FieldOf(aFields, kFileName, bTrim));
  c.sSuperClass = FieldOf(aFields, kSuperClass, bTrim);
  const std::string sMethodFile = NativePath(FieldOf(aFields, kMethodFile, bTrim));

  const auto Unread = [&sMethodFile] {
    return sMethodFile + (errno == ENOENT || sMethodFile.empty()
                              ? ": method file missing"
                              : ": cannot read: " + std::generic_category().message(errno));
  };
  std::string sStart;
  bool bAll = false;
  if (sMethodFile.empty() || !ReadStart(sMethodFile, 1024, sStart, bAll)) return Unread();
  for (;; bAll = true) {
    SplitFields(std::string_view(sStart).substr(0, sStart.find('\n')), sDelimiter, aFields);
    const String sBody = DecodeText(tools, FieldAt(aFields, kMethodBody), sToken);
    const size_t nFirst = sBody.find_first_not_of("\r\n");
    if (bAll || (nFirst != std::string::npos && sBody.find_first_of("\r\n", nFirst) != std::string::npos)) {
      c.sDeclaration = DeclarationText(sBody);
      return "";
    }
    if (!ReadStart(sMethodFile, kWhole, sStart, bAll)) return Unread();
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
    std::string sList;
    if (const int n = FindClassListFile("tags", args->options, session, sList); n >= 0) return n;
    // The class list is read whole, but not loaded through the library:
    // the tags file needs five short fields of each line, and loading
    // decodes every comment of every class, which alone takes several times
    // as long as the whole tags file otherwise does.
    std::string sListText;
    if (const int nError = session.Host().Files().ReadWholeFile(sList, sListText); nError != 0) {
      std::fprintf(stderr, "quorvane tags: %s: cannot read: %s\n", sList.c_str(),
                   std::generic_category().message(nError).c_str());
      return kExitFailed;
    }
    const std::string sDelimiter = m.G().sElementDelimiter;
    const std::string sToken = m.G().sCRLFToken;
    std::vector<TagClass> aClasses = ClassLines(sListText);
    // Both toolkit text functions bound now, so the workers never touch
    // the Module.
    const JavaTextTools tools = JavaTextTools::Bound(m);
    return WriteTagsFile("tags", m, aClasses, args->sOutput,
                         [&](TagClass& c) { return ReadClass(c, tools, sDelimiter, sToken); });
  };
}

}  // namespace qv::cli

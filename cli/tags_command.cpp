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
#include "repository/repository_session.h"
#include "source/java_parser.h"

namespace qv::cli {
namespace {

// The one-line declaration of class c from its method file (sMethodFile,
// in this system's form): the first method's body is the whole class body.
// Only the start of the method file is read; all of it when the first line
// of the body does not end in that start.
std::string ReadClass(TagClass& c, const std::string& sMethodFile, JavaTextTools tools, std::string_view sDelimiter,
                      std::string_view sToken) {
  const auto Unread = [&sMethodFile] {
    return sMethodFile + (errno == ENOENT || sMethodFile.empty()
                              ? ": method file missing"
                              : ": cannot read: " + std::generic_category().message(errno));
  };
  std::string sStart;
  bool bAll = false;
  if (sMethodFile.empty() || !ReadStart(sMethodFile, 1024, sStart, bAll)) return Unread();
  for (;;) {
    bool bNeedMore = false;
    c.sDeclaration = RepositorySession::DeclarationFromMethodFile(tools, sDelimiter, sToken, sStart, bAll, bNeedMore);
    if (!bNeedMore) return "";
    if (!ReadStart(sMethodFile, kWhole, sStart, bAll)) return Unread();
    bAll = true;
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
    // One class per line; each is read on a worker thread.
    std::vector<TagClass> aClasses;
    for (const std::string_view sLine : RepositorySession::ClassListLines(sListText)) {
      aClasses.emplace_back().sStored = sLine;
    }
    // Both toolkit text functions bound now, so the workers never touch
    // the Module.
    const JavaTextTools tools = JavaTextTools::Bound(m);
    return WriteTagsFile("tags", m, aClasses, args->sOutput, [&](TagClass& c) {
      const ClassListEntry entry = RepositorySession::ClassListEntryOf(c.sStored, sDelimiter);
      c.sName = entry.sClassName;
      c.sSource = NativePath(entry.sSourcePath);
      c.sSuperClass = entry.sSuperClass;
      return ReadClass(c, NativePath(entry.sMethodFile), tools, sDelimiter, sToken);
    });
  };
}

}  // namespace qv::cli

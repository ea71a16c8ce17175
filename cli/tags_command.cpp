// SPDX-License-Identifier: Apache-2.0
// quorvane tags: the tags file of the repository's classes, for editors.
#include <cstdio>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/repository.h"
#include "cli/tags_output.h"
#include "quorvane/quorvane.hpp"

namespace quorvane::cli {
namespace {

constexpr const char* kTagsHelp =
    "By default the tags file is in the extended format of ctags, which Vim, readtags and most editors read: "
    "header lines "
    "(!_TAG_FILE_FORMAT 2, !_TAG_FILE_SORTED 1, the program's name "
    "and version), then one line per class, interface, enum, record and annotation type, sorted by name in byte "
    "order: the name, the source file, a search pattern for the source line that holds the name in the "
    "declaration, the kind as universal-ctags names Java kinds (c class or record, i interface, g enum, a "
    "annotation type), line:N, and inherits:SUPERCLASS unless the superclass is Object or implied by the kind "
    "(Enum, Record).  Classes of the same name in different packages each have their line.\n"
    "File paths are relative to the directory of the tags file, as editors resolve them; on stdout (FILE -) "
    "they are absolute.  The file is written beside the old one and takes its place only when complete.  A "
    "source that no longer holds the declaration the scan found (it changed since) is named on stderr and its "
    "class gets that declaration, up to the name, as pattern; a source that cannot be read, or a class without "
    "its method file (its pattern is then the name, its kind c), also makes the status 1.";

constexpr const char* kEtagsHelp =
    "With --format etags the file is the TAGS file of Emacs (M-x visit-tags-table, M-.): a section per source, "
    "in path order, with a tag per class in line order: the start of the declaration's line up to the end of "
    "the name, the name, the line number and the byte offset of the line.";

}  // namespace

Runner AddTagsCommand(CLI::App& app) {
  struct Args {
    RepositoryOptions options;
    std::string sOutput;
    std::string sFormat = "ctags";
  };
  auto args = std::make_shared<Args>();
  CLI::App* sub = app.add_subcommand("tags", "Write a tags file of the repository's classes, for editors");
  const std::string sAbout(
      "Write the tags file of every class of the repository, so that an editor jumps to a class's declaration "
      "by its name (vim -t NAME, :tag NAME, Ctrl-]).  The kind of each class comes from the start of its "
      "method file, its line from the start of its source.  'quorvane scan --tags FILE' writes the same file "
      "during a scan.");
  sub->add_option("-o,--output", args->sOutput,
                  "The tags file to write (default: tags, or TAGS with --format etags, in the current directory); - "
                  "writes to stdout")
      ->type_name("FILE");
  AddTagsFormat(*sub, args->sFormat, "The format: ctags (default; Vim, readtags and most editors) or etags (Emacs)");
  AddRepositoryOptions(*sub, args->options);
  sub->footer(HelpFooter(sAbout, std::string(kTagsHelp) + "\n" + kEtagsHelp + "\n" + kRepositoryHelp));
  return [args] {
    Session session(ResolveProfileDir(args->options.sProfileDir));
    std::string sList;
    if (const auto nStatus = FindClassListFile("tags", args->options, session, sList)) return *nStatus;
    // The linked library reads the class list of the repository directory
    // that FindClassListFile gave it, with its separators.
    if (args->sOutput.empty()) args->sOutput = args->sFormat == "etags" ? "TAGS" : "tags";
    const std::string sPath = TagsPathForLibrary(args->sOutput);
    TagProblems problems{"tags"};
    quorvane::String text;
    quorvane::String error;
    const int64_t nResult = QvWriteRepositoryTagsAs(TagsFormatOf(args->sFormat), sPath.c_str(),
                                                    sPath.empty() ? text.Receive() : nullptr, &TagProblems::Say,
                                                    &problems, error.Receive());
    if (nResult == QV_TAGS_UNREADABLE_CLASS_LIST) {
      std::fprintf(stderr, "quorvane tags: %s: %s\n", sList.c_str(), error.Str().c_str());
      return kExitFailed;
    }
    return FinishTags("tags", args->sOutput, nResult, error.Str(), text.Str(), problems.bFailed);
  };
}

}  // namespace quorvane::cli

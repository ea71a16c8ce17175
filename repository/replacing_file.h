// A file rewritten without ever losing the old one: the new content goes to
// a file beside the target, and only when all of it has been written and
// closed does it take the target's place, in one step.  When anything
// fails, the new file is removed and the target stays as it was.
#pragma once

#include <string_view>
#include <vector>

#include "core/module.h"
#include "core/values.h"

namespace qv {

class ReplacingFile {
 public:
  ReplacingFile(Module& m, std::string_view sTarget);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the new file beside the target.
  bool Open();
  // Append a line (with the host's line terminator) or a text.  After the
  // first failure every call fails.
  bool PutLine(std::string_view sLine);
  bool Write(std::string_view sText);
  // Closes the new file; TRUE when all of it reached the file system.
  bool Close();
  // Puts the closed new file in place of the target.
  bool Commit();
  // Commit for many closed files with one durability step for all
  // (FileSystem::ReplaceAll); each file's Error() says why it failed.
  static void CommitAll(Module& m, const std::vector<ReplacingFile*>& aFiles);

  const String& Target() const { return sTarget_; }
  // Why the last call failed.
  const String& Error() const { return sError_; }

 private:
  bool Fail(std::string_view sWhat);
  void Discard();

  Module& m_;
  String sTarget_;
  String sNew_;
  String sError_;
  FileHandle hFile_;
  bool bOpen_ = false;
  bool bClosed_ = false;
  bool bCommitted_ = false;
  bool bFailed_ = false;
};

}  // namespace qv

// SPDX-License-Identifier: Apache-2.0
// Where a class's method file goes: beside its source, or in the module's
// method file directory in folders that mirror the source's directory.
#include "repository/java_repository.h"
#include "repository/repository_format.h"

namespace qv {

String MethodFileOf(Module& m, std::string_view sDirectory, std::string_view sFileName) {
  return format::MethodFileIn(RepositoryVars(m).sMethodFileDirectory, sDirectory, sFileName);
}

bool MakeMethodFileDirectory(Module& m, ReplacingFile& file, MadeDirectories* pMade) {
  return RepositoryVars(m).sMethodFileDirectory.empty() || file.MakeDirectory(pMade);
}

}  // namespace qv

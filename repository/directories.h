// SPDX-License-Identifier: Apache-2.0
// The source directories: the Java source files below the user's root
// directories, as two parallel lists (directory, file name).  All state is
// in class variables, so every instance sees the same lists.
#pragma once

#include <string_view>

#include "core/module.h"
#include "core/object.h"

namespace qv {

struct DirectoriesVars : ModuleSlot {
  Number cv_nSpare;
  Number cv_nRootCount;            // roots accepted since InitDirectories; where the next one goes
  DynArray<String> cv_sDirectory;  // the roots; after a search the directory of each file found
  DynArray<String> cv_sFile;       // after a search the file name of each file found
};

inline DirectoriesVars& DirectoriesClassVars(Module& m) { return m.Slot<DirectoriesVars>(); }

class VC_Directories : public Object {
 public:
  std::string_view ClassName() const override { return "VC_Directories"; }

  // Resets the root count and empties both lists.  Result: null.
  Number InitDirectories(Module& m);
  // Appends every ";"-separated piece that names an existing directory to
  // the roots, then runs FindDirectories.  Returns the number of elements of
  // the directory list.
  Number SetRootDirectories(Module& m, std::string_view sDirectories);
  Number GetDirectoryCount(Module& m);
  Number GetJavaFileCount(Module& m);
  // Expands the directory list with every directory below its entries
  // (breadth first) and appends the names of their "*.JAV" files to the
  // file list.  Result: null.
  Number CollectJavaFiles(Module& m);
  // Scans the roots (ScanJavaFiles) into the two lists.  Result: null.
  Number FindDirectories(Module& m);
  // The element at nIndex, empty outside the list.
  String GetDirectory(Module& m, Number nIndex);
  String GetJavaFile(Module& m, Number nIndex);
};

// The global Directories instance the host application uses.
struct DirectoriesGlobal : ModuleSlot {
  VC_Directories Directories;
};
inline VC_Directories& DirectoriesInstance(Module& m) { return m.Slot<DirectoriesGlobal>().Directories; }

}  // namespace qv

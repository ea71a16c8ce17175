// SPDX-License-Identifier: Apache-2.0
// The scan of the Java source trees: from a list of root directories to the
// list of "*.JAV" files below them, sorted by file name and then directory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/module.h"

namespace qv {

// sDirectory holds the roots from position 0 up to its first empty element.
// On return positions 0 … n-1 of sDirectory and sFile hold the directory and
// the bare file name of each file found (n files), in the order of the
// toolkit's ascending sort of the texts file + "," + directory.  Positions at
// or beyond n keep what they held, except that entries sFile already held at
// those positions take part in the sort with the directory at the same
// position.  The plain wait cursor is on while the scan runs.  Result: null.
Number ScanJavaFiles(Module& m, DynArray<String>& sDirectory, DynArray<String>& sFile);

// The Java sources below a set of roots, each directory held once.
struct JavaSourceTree {
  struct File {
    uint32_t nName = 0;  // where its name starts in sNames
    uint32_t nNameSize = 0;
    uint32_t nDirectory = 0;  // its position in aDirectories
  };
  std::vector<String> aDirectories;
  std::string sNames;  // the files' names, one after the other
  std::vector<File> aFiles;

  std::string_view Name(const File& f) const { return std::string_view(sNames).substr(f.nName, f.nNameSize); }
};

// The "*.JAV" files below the roots (each a directory that exists), found
// and ordered as ScanJavaFiles finds and orders them, in about a third of
// its memory: a scan that keeps nothing else holds the tree in this.  Each
// directory is listed through the file interface (FileSystem::ListDirectory,
// one listing), where the toolkit lists it twice.
JavaSourceTree FindJavaSources(Module& m, const std::vector<String>& aRoots);

// One directory's listing for a walk of the Java source trees: appends the
// names of its subdirectories to aSubdirectories and puts those of its
// "*.JAV" files in aNames (empty on entry); answers how many files.
using JavaDirectoryLister =
    std::function<int64_t(const String& sDirectory, std::vector<String>& aSubdirectories, DynArray<String>& aNames)>;
// Hears of one directory's "*.JAV" files: its position in the walk's list,
// the names as the lister gave them and their count.
using JavaFilesHandler = std::function<void(size_t nDirectory, const DynArray<String>& aNames, int64_t nNames)>;

// The walk of the Java source trees, the one every search of them makes.
// aDirs grows, breadth first, by every directory below its entries: each
// is named parent + "\" + name and appended behind the position being
// visited (the hosts list only real subdirectories, never "." or "..", nor
// links).  Each directory is listed once, by fnList, and fnFiles hears of
// its files, in the order of the grown list.  Empty entries name no
// directory and are passed over: the pattern "\*.*" of one would walk the
// whole drive from its root.
void WalkJavaDirectories(std::vector<String>& aDirs, const JavaDirectoryLister& fnList,
                         const JavaFilesHandler& fnFiles);
// The toolkit's listings of a directory (ListSubdirectories, then
// ListFiles), the ones the exported searches make.
JavaDirectoryLister ToolkitJavaLister(Module& m);

// The pattern that lists everything in sDirectory: the directory followed by
// "*.*", with a "\" between them unless the directory already ends in one.
String AllEntriesPattern(std::string_view sDirectory);

}  // namespace qv

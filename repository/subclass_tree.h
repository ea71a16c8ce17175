// SPDX-License-Identifier: Apache-2.0
// The subclass tree of the repository's classes, as a host application
// shows it: depth first, each class below its superclass.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/module.h"

namespace qv {

struct SubclassNode {
  String sClassName;
  String sPackage;  // empty for a top that is no class of the repository
  int nDepth = 0;   // 0 for a top
  String sParent;   // the class above; empty for a top
  bool bInRepository = true;
  bool bCycle = false;  // already on the path above, or its superclasses form a cycle
  int64_t nAt = -1;     // its position in JavaClass; -1 for a top named by its name only
};

// The tree below sTop (a class name), or, with sTop empty, below every
// superclass name that is not itself a class of the repository (Object,
// say), tops in the order they first appear, then every class whose
// superclasses form a cycle and so hang below no top.  Subclasses come in
// the repository's order.  A class met again on its own path (the named
// top included) is listed with bCycle and not entered again, so the walk
// always ends.
std::vector<SubclassNode> SubclassTree(Module& m, std::string_view sTop);

}  // namespace qv

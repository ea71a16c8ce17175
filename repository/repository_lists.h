// The repository's lookup lists: the class variables of VC_JavaRepository,
// and the functions that find classes in them.  Position i of every list
// describes JavaClass[i].
#pragma once

#include <string_view>

#include "frame/module.h"
#include "frame/object.h"

namespace qv {

struct JavaRepositoryVars : ModuleSlot {
  static constexpr SlotId kSlot = SlotId::kJavaRepository;
  Number cv_nClassCount;             // class lines read by the last ReadClassFile; 0: not loaded
  DynArray<String> cv_sClassName;    // the class name of JavaClass[i]
  DynArray<String> cv_sSuperClass;   // its superclass name
  DynArray<String> cv_sClassKey;     // class name, ",", superclass, ",", i
};

inline JavaRepositoryVars& RepositoryVars(Module& m) { return m.Slot<JavaRepositoryVars>(); }

class VC_JavaRepository : public Object {
 public:
  std::string_view ClassName() const override { return "VC_JavaRepository"; }

  // The positions of all classes whose superclass is sClassName, in
  // ascending order, stored into nIndexes from position 0 (the array is
  // left alone when there are none).  Returns how many were stored.
  Number FindSubClasses(Module& m, std::string_view sClassName, DynArray<Number>& nIndexes);
  // The first position of sClassName in the class-name list, or -1.
  Number FindClass(Module& m, std::string_view sClassName);
};

}  // namespace qv

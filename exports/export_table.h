// The export table: every function the library exports, once.  The
// extern "C" wrappers, the name lookup and the export listing are all
// generated from these lists.
//
//   QV_GLOBAL_EXPORTS(X)    X(id, function, arity)
//   QV_CLASS_EXPORTS(X)     X(id, class, function, arity)   both XE and XT forms
//   QV_DECORATED_EXPORTS(X) X("decorated name", class, function, argument bytes, target export)
//
// Function names are those of the C++ functions in namespace qv (global
// functions) or the member functions of the class.  The arity is checked
// against the function; the argument bytes of a decorated name against the
// boundary types of its target.
#pragma once

#include "source/text_utils.h"

#define QV_GLOBAL_EXPORTS(X)      \
  X(25690300, MakeLong, 2)        \
  X(25690943, StrMidX, 3)         \
  X(25690957, StrScanAt, 3)       \
  X(25690970, StrCommentType, 3)  \
  X(25690999, StrInComment, 3)    \
  X(25691022, StrScanNext, 3)

#define QV_CLASS_EXPORTS(X)

#define QV_DECORATED_EXPORTS(X)                                    \
  X("_StrMidX@36", , StrMidX, 36, __quorvane__GF25690943)          \
  X("_StrScanAt@24", , StrScanAt, 24, __quorvane__GF25690957)

// The classes whose instances the host can create, by name: X(class).
#define QV_EXPORTED_CLASSES(X)

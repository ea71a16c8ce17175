// SPDX-License-Identifier: Apache-2.0
// The exported functions, generated from the export table, and the process
// state behind them: the process's host and its one Module.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "core/host_application.h"
#include "exports/abi.h"
#include "exports/export_table.h"
#include "exports/module_contents.h"
#include "exports/process.h"

namespace qv::abi {
namespace {

// Everything the loaded library owns: created when the shared library is
// loaded (process attach), destroyed when it is unloaded (process detach).
struct ProcessState {
  std::unique_ptr<HostApplication> pHost;
  std::optional<Module> module;
  Process process;
};

// The one piece of process-wide state the library has: made at process
// attach, released at process detach.
ProcessState* gpState = nullptr;  // NOLINT: the process's module lives here by design

// The one reading of the host settings from the environment: the command
// and every other host application start from these.  The profile
// directory: $QUORVANE_PROFILE_DIR, else $XDG_CONFIG_HOME/quorvane (an
// absolute XDG_CONFIG_HOME only, as the XDG rules say), else
// ~/.config/quorvane: the user's own configuration directory, wherever the
// process stands.
HostSettings OptionsFromEnvironment() {
  HostSettings options;
  if (const char* s = std::getenv("QUORVANE_PROFILE_DIR"); s != nullptr && *s != '\0') {
    options.sProfileDir = s;
  } else if (const char* sXdg = std::getenv("XDG_CONFIG_HOME"); sXdg != nullptr && *sXdg == '/') {
    options.sProfileDir = std::string(sXdg) + "/quorvane";
  } else {
    options.sProfileDir = UserHomeDirectory() + "/.config/quorvane";
  }
  if (const char* s = std::getenv("QUORVANE_DRIVE_ROOT"); s != nullptr && *s != '\0') options.sDriveRoot = s;
  if (const char* s = std::getenv("QUORVANE_DATABASE"); s != nullptr && *s != '\0') options.sDatabase = s;
  // The host runtime says whether the application is executing: outside
  // execution (a design-time load) the library binds nothing.
  if (const char* s = std::getenv("QUORVANE_EXECUTING"); s != nullptr && std::strcmp(s, "0") == 0) {
    options.bExecuting = false;
  }
  return options;
}

}  // namespace

Process& TheProcess() { return gpState->process; }
HostApplication& TheHost() { return *gpState->pHost; }

bool AttachProcess() {
  if (gpState != nullptr) return true;
  gpState = new ProcessState;
  gpState->pHost = MakeProcessHost(OptionsFromEnvironment());
  gpState->module.emplace(gpState->pHost->GetHost(), ModuleFaults{}, kLibraryContents);
  gpState->process.pModule = &*gpState->module;
  return gpState->module->Attach();
}

void DetachProcess() {
  if (gpState == nullptr) return;
  gpState->module->Detach();
  delete gpState;
  gpState = nullptr;
}

}  // namespace qv::abi

// Parameter lists and argument lists of the wrappers, by arity.
#define QV_P0(F)
#define QV_P1(F) qv::abi::AbiArg<F, 0> a0
#define QV_P2(F) QV_P1(F), qv::abi::AbiArg<F, 1> a1
#define QV_P3(F) QV_P2(F), qv::abi::AbiArg<F, 2> a2
#define QV_P4(F) QV_P3(F), qv::abi::AbiArg<F, 3> a3
#define QV_P5(F) QV_P4(F), qv::abi::AbiArg<F, 4> a4
#define QV_P6(F) QV_P5(F), qv::abi::AbiArg<F, 5> a5
#define QV_P7(F) QV_P6(F), qv::abi::AbiArg<F, 6> a6
#define QV_P8(F) QV_P7(F), qv::abi::AbiArg<F, 7> a7
#define QV_P9(F) QV_P8(F), qv::abi::AbiArg<F, 8> a8
#define QV_P10(F) QV_P9(F), qv::abi::AbiArg<F, 9> a9
#define QV_P11(F) QV_P10(F), qv::abi::AbiArg<F, 10> a10
#define QV_P12(F) QV_P11(F), qv::abi::AbiArg<F, 11> a11
#define QV_P13(F) QV_P12(F), qv::abi::AbiArg<F, 12> a12
#define QV_P14(F) QV_P13(F), qv::abi::AbiArg<F, 13> a13
#define QV_P15(F) QV_P14(F), qv::abi::AbiArg<F, 14> a14
#define QV_P16(F) QV_P15(F), qv::abi::AbiArg<F, 15> a15
#define QV_A0
#define QV_A1 , a0
#define QV_A2 QV_A1, a1
#define QV_A3 QV_A2, a2
#define QV_A4 QV_A3, a3
#define QV_A5 QV_A4, a4
#define QV_A6 QV_A5, a5
#define QV_A7 QV_A6, a6
#define QV_A8 QV_A7, a7
#define QV_A9 QV_A8, a8
#define QV_A10 QV_A9, a9
#define QV_A11 QV_A10, a10
#define QV_A12 QV_A11, a11
#define QV_A13 QV_A12, a12
#define QV_A14 QV_A13, a13
#define QV_A15 QV_A14, a14
#define QV_A16 QV_A15, a15
#define QV_COMMA_P0(F)
#define QV_COMMA_P1(F) , QV_P1(F)
#define QV_COMMA_P2(F) , QV_P2(F)
#define QV_COMMA_P3(F) , QV_P3(F)
#define QV_COMMA_P4(F) , QV_P4(F)
#define QV_COMMA_P5(F) , QV_P5(F)
#define QV_COMMA_P6(F) , QV_P6(F)
#define QV_COMMA_P7(F) , QV_P7(F)
#define QV_COMMA_P8(F) , QV_P8(F)
#define QV_COMMA_P9(F) , QV_P9(F)
#define QV_COMMA_P10(F) , QV_P10(F)
#define QV_COMMA_P11(F) , QV_P11(F)
#define QV_COMMA_P12(F) , QV_P12(F)
#define QV_COMMA_P13(F) , QV_P13(F)
#define QV_COMMA_P14(F) , QV_P14(F)
#define QV_COMMA_P15(F) , QV_P15(F)
#define QV_COMMA_P16(F) , QV_P16(F)

#define QV_DEFINE_GLOBAL(id, fn, n)                                                    \
  static_assert(qv::abi::kArity<&qv::fn> == (n), "arity of " #fn);                     \
  extern "C" QV_API qv::abi::AbiResult<&qv::fn> __quorvane__GF##id(QV_P##n(&qv::fn)) { \
    return qv::abi::CallGlobal<&qv::fn>(qv::abi::TheProcess() QV_A##n);                \
  }

#define QV_DEFINE_CLASS(id, cls, fn, n)                                                                                \
  static_assert(qv::abi::kArity<&qv::cls::fn> == (n), "arity of " #cls "." #fn);                                       \
  extern "C" QV_API qv::abi::AbiResult<&qv::cls::fn> __quorvane__XE##id(QvObject* pSelf QV_COMMA_P##n(&qv::cls::fn)) { \
    return qv::abi::CallExplicit<&qv::cls::fn>(qv::abi::TheProcess(), pSelf QV_A##n);                                  \
  }                                                                                                                    \
  extern "C" QV_API qv::abi::AbiResult<&qv::cls::fn> __quorvane__XT##id(QV_P##n(&qv::cls::fn)) {                       \
    return qv::abi::CallCurrent<&qv::cls::fn>(qv::abi::TheProcess() QV_A##n);                                          \
  }

// A class function that the host runs itself: no XE/XT form, a wrapper with
// the instance first, reached through its decorated name.
#define QV_DEFINE_HOOK(wrapper, cls, fn, n)                                                          \
  static_assert(qv::abi::kArity<&qv::cls::fn> == (n), "arity of " #cls "." #fn);                     \
  extern "C" qv::abi::AbiResult<&qv::cls::fn> wrapper(QvObject* pSelf QV_COMMA_P##n(&qv::cls::fn)) { \
    return qv::abi::CallExplicit<&qv::cls::fn>(qv::abi::TheProcess(), pSelf QV_A##n);                \
  }

QV_GLOBAL_EXPORTS(QV_DEFINE_GLOBAL)
QV_CLASS_EXPORTS(QV_DEFINE_CLASS)
QV_HOOK_EXPORTS(QV_DEFINE_HOOK)

// The entry point of each decorated name: on 32-bit Windows its __stdcall
// entry over the wrapper.
#include "exports/decorated_entries.h"

namespace qv::abi {
namespace {

template <class R, class... A>
constexpr size_t WrapperBytes(R (*)(A...)) {
  return (size_t{0} + ... + ArgBytes32<A>());
}

template <class Fn>
void (*Entry(Fn pFn))(void) {
  return reinterpret_cast<void (*)(void)>(pFn);
}

#define QV_CHECK_DECORATED(name, cls, fn, bytes, target) \
  static_assert(WrapperBytes(&(target)) == (bytes), "argument bytes of " name);
QV_DECORATED_EXPORTS(QV_CHECK_DECORATED)
#undef QV_CHECK_DECORATED

#define QV_ROW_GLOBAL(id, fn, n) {"GF", "", #fn, id, "__quorvane__GF" #id, Entry(&__quorvane__GF##id)},
#define QV_ROW_CLASS(id, cls, fn, n)                                       \
  {"XE", #cls, #fn, id, "__quorvane__XE" #id, Entry(&__quorvane__XE##id)}, \
      {"XT", #cls, #fn, id, "__quorvane__XT" #id, Entry(&__quorvane__XT##id)},
#define QV_ROW_DECORATED(name, cls, fn, bytes, target) \
  {"DECORATED", #cls, #fn, bytes, name, Entry(DecoratedEntry<&(target)>())},

const QvExportInfo kExports[] = {QV_GLOBAL_EXPORTS(QV_ROW_GLOBAL) QV_CLASS_EXPORTS(QV_ROW_CLASS)
                                     QV_DECORATED_EXPORTS(QV_ROW_DECORATED)};

// The C signature of every entry point, by entry: a decorated name's entry
// has the signature of the wrapper it calls.
struct DecoratedRow {
  void (*pEntry)(void);
  void (*pWrapper)(void);
};
#define QV_DECORATED_WRAPPER(name, cls, fn, bytes, target) {Entry(DecoratedEntry<&(target)>()), Entry(&(target))},
const DecoratedRow kDecoratedWrappers[] = {QV_DECORATED_EXPORTS(QV_DECORATED_WRAPPER)};
#undef QV_DECORATED_WRAPPER

struct SignatureRow {
  void (*pEntry)(void);
  std::string (*pSignature)();
};
#define QV_SIG_GLOBAL(id, fn, n) {Entry(&__quorvane__GF##id), &CSignature<&qv::fn, false>},
#define QV_SIG_CLASS(id, cls, fn, n)                             \
  {Entry(&__quorvane__XE##id), &CSignature<&qv::cls::fn, true>}, \
      {Entry(&__quorvane__XT##id), &CSignature<&qv::cls::fn, false>},
#define QV_SIG_HOOK(wrapper, cls, fn, n) {Entry(&(wrapper)), &CSignature<&qv::cls::fn, true>},
const SignatureRow kSignatures[] = {QV_GLOBAL_EXPORTS(QV_SIG_GLOBAL) QV_CLASS_EXPORTS(QV_SIG_CLASS)
                                        QV_HOOK_EXPORTS(QV_SIG_HOOK)};

}  // namespace

size_t ExportCount() { return sizeof(kExports) / sizeof(kExports[0]); }
const QvExportInfo* ExportAt(size_t nIndex) { return nIndex < ExportCount() ? &kExports[nIndex] : nullptr; }

std::string ExportSignature(size_t nIndex) {
  const QvExportInfo* p = ExportAt(nIndex);
  if (p == nullptr) return {};
  void (*pEntry)(void) = p->pFunction;
  for (const DecoratedRow& row : kDecoratedWrappers) {
    if (row.pEntry == pEntry) pEntry = row.pWrapper;
  }
  for (const SignatureRow& row : kSignatures) {
    if (row.pEntry == pEntry) return row.pSignature();
  }
  return {};
}

}  // namespace qv::abi

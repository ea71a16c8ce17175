// SPDX-License-Identifier: Apache-2.0
// The entry point each decorated name reaches.  On 32-bit Windows it is a
// real __stdcall entry point (the callee removes its arguments) over the C
// wrapper named in the export table; on other systems, where the decorated
// names are no symbols of the library and there is no __stdcall, it is the
// wrapper itself.  exports/exports.cpp includes this file after it defines
// the wrappers: its export rows, and so QvFindExport, give DecoratedEntry.
//
// On Windows each entry also gets the assembler name
// "_qv_stdcall_<wrapper>", which the module-definition file (generated from
// the same table) exports under the decorated name: GetProcAddress and
// QvFindExport give the same address.  A compile-time check proves, from the
// real sizes of the parameter types on this build, that the argument bytes
// the entry removes from the stack equal the number after "@".
#pragma once

#if defined(_WIN32) && defined(__i386__)

#include <cstddef>

namespace qv::abi {

template <auto Target, class Fn = decltype(Target)>
struct StdcallEntry;
template <auto Target, class R, class... A>
struct StdcallEntry<Target, R (*)(A...)> {
  static R __attribute__((stdcall)) Call(A... a) { return Target(a...); }
  // What a __stdcall callee removes: each argument rounded up to 4 bytes.
  static constexpr size_t kArgumentBytes = (size_t{0} + ... + ((sizeof(A) + 3) / 4 * 4));
};

// The __stdcall entry of the wrapper Target.
template <auto Target>
constexpr auto DecoratedEntry() {
  return &StdcallEntry<Target>::Call;
}

}  // namespace qv::abi

#define QV_STDCALL_CHECK(name, cls, fn, bytes, target)                                                 \
  static_assert(qv::abi::StdcallEntry<&target>::kArgumentBytes == (bytes), "argument bytes of " name); \
  static_assert(sizeof(void*) == 4, "the decorated names are those of a 32-bit build");
QV_DECORATED_EXPORTS(QV_STDCALL_CHECK)
#undef QV_STDCALL_CHECK

static_assert(sizeof(QvNumber) == 16 && sizeof(QvDateTime) == 16 && sizeof(QvBoolean) == 4 && sizeof(QvString*) == 4 &&
                  sizeof(QvWindowHandle) == 4,
              "boundary types of the 32-bit build");

// The aliases: one assembler name per entry, set to the entry's address.
// This function is never called; it only carries the directives.
extern "C" __attribute__((used)) void qv_stdcall_aliases() {
#define QV_STDCALL_ALIAS(name, cls, fn, bytes, target)                      \
  asm(".globl _qv_stdcall_" #target "\n\t.set _qv_stdcall_" #target ", %P0" \
      :                                                                     \
      : "i"(qv::abi::DecoratedEntry<&target>()));
  QV_DECORATED_EXPORTS(QV_STDCALL_ALIAS)
#undef QV_STDCALL_ALIAS
}

#else

namespace qv::abi {

// No __stdcall here: a decorated name reaches the wrapper Target.
template <auto Target>
constexpr auto DecoratedEntry() {
  return Target;
}

}  // namespace qv::abi

#endif

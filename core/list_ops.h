// SPDX-License-Identifier: Apache-2.0
// The toolkit's list operations that the list-box family calls: one row per
// family member, the one table from which the members (controls/list_box.*),
// their rows of the function table (core/external.h), their entry points in
// the portable host and their exports are generated.
//
//   QV_LIST_BOX_FAMILY(X, Pass)   rows X(Pass, member, export id, ordinal, toolkit function, window, result, shapes...)
//
// Pass is passed through untouched, so that a row can be turned into a row of
// another list (see QV_LIST_OP_EXTERNAL in core/external.h).
//
// window:  Win    the call passes the own window (the runtime's current item) first
//          NoWin  the call passes only the arguments below
// result:  Num    the integer result as a Number
//          NumBool the result read as a Boolean, as a Number (0 or 1)
//          Bool   the integer result as the Boolean, unchanged
//          True   the result as a Boolean: exactly TRUE (1) for any non-zero result
//          Str    a new String copied from the toolkit's String, which is released
// shapes, one per toolkit argument after the window:
//          N      a Number, converted to a 32-bit integer
//          L      a Number, with the long conversion (its low 32 bits)
//          S      a String, passed as its text for the length of the call
//          SI     a String, passed as the String itself
//          H      a 32-bit value, passed unchanged
//          R      a receive Number: converted, passed by address, converted back
//          Z      not a parameter of the member: the toolkit argument 0
// The C++ side of each name is in core/list_calls.h.
#pragma once

// clang-format off
#define QV_LIST_BOX_FAMILY(X, Pass)                                              \
  X(Pass, ListOp108, 75628546, 108, VtListOp108, Win, Num, N, N)                 \
  X(Pass, ListOp109, 75628557, 109, VtListOp109, Win, Num, N, N)                 \
  X(Pass, GetFlags, 75628568, 118, VtGetItemFlags, Win, Num, N)                  \
  X(Pass, ListOp119, 75628578, 119, VtListOp119, Win, True, N, N, H)             \
  X(Pass, GetStyle, 75628590, 110, VtGetListStyle, Win, Num)                     \
  X(Pass, ListOp96, 75628599, 96, VtListOp96, Win, Bool, N, Z)                   \
  X(Pass, ListOp98, 75628609, 98, VtListOp98, Win, Num, S, N)                    \
  X(Pass, ListOp100, 75628620, 100, VtListOp100, Win, Num, S, N, L)              \
  X(Pass, GetColor, 75628632, 102, VtGetItemColor, Win, Num, N)                  \
  X(Pass, ListOp99, 75628642, 99, VtListOp99, Win, Num, N, S, N)                 \
  X(Pass, ListOp101, 75628654, 101, VtListOp101, Win, Num, N, S, N, L)           \
  X(Pass, ListOp97, 75628667, 97, VtListOp97, Win, NumBool, N, N)                \
  X(Pass, ListOp174, 75628678, 174, VtListOp174, Win, Num, S, N)                 \
  X(Pass, ListOp175, 75628689, 175, VtListOp175, Win, Num, S, N, L)              \
  X(Pass, GetFont, 75628701, 176, VtGetItemFont, Win, Num, N)                    \
  X(Pass, ListOp177, 75628711, 177, VtListOp177, Win, Num, N, S, N)              \
  X(Pass, ListOp178, 75628723, 178, VtListOp178, Win, Num, N, S, N, L)           \
  X(Pass, ListOp179, 75628736, 179, VtListOp179, Win, NumBool, N, N)             \
  X(Pass, ListOp143, 75628747, 143, VtListOp143, Win, Bool, N)                   \
  X(Pass, ListOp159, 75628757, 159, VtListOp159, Win, Num, N)                    \
  X(Pass, ListOp160, 75628767, 160, VtListOp160, Win, Num, N)                    \
  X(Pass, ListOp161, 75628777, 161, VtListOp161, Win, Bool, N, N, N)             \
  X(Pass, ListOp249, 75628789, 249, VtListOp249, Win, Bool, N, H, N, N)          \
  X(Pass, ListOp155, 75628802, 155, VtListOp155, NoWin, Num, N, H)               \
  X(Pass, ListOp156, 75628813, 156, VtListOp156, NoWin, Num, N, H)               \
  X(Pass, ListOp144, 75628824, 144, VtListOp144, Win, Num, N)                    \
  X(Pass, ListOp152, 75628834, 152, VtListOp152, Win, Bool, N)                   \
  X(Pass, ListOp258, 75628844, 258, VtListOp258, NoWin, Num, N, L)               \
  X(Pass, ListOp146, 75628855, 146, VtListOp146, NoWin, Bool, N)                 \
  X(Pass, ListOp147, 75628865, 147, VtListOp147, NoWin, Bool, N)                 \
  X(Pass, ListOp248, 75628875, 248, VtListOp248, Win, Num, N, N)                 \
  X(Pass, ListOp142, 75628886, 142, VtListOp142, NoWin, Bool, N, H, R, R)        \
  X(Pass, ListOp251, 75628899, 251, VtListOp251, NoWin, Num, N)                  \
  X(Pass, ListOp263, 75628909, 263, VtListOp263, NoWin, Num, N)                  \
  X(Pass, ListOp252, 75628919, 252, VtListOp252, NoWin, Num, N)                  \
  X(Pass, GetItemHandle, 75628929, 141, VtGetItemHandle, Win, Num, N)            \
  X(Pass, ListOp255, 75628939, 255, VtListOp255, NoWin, Num, N)                  \
  X(Pass, ListOp253, 75628949, 253, VtListOp253, NoWin, Bool, N, R, R)           \
  X(Pass, ListOp260, 75628961, 260, VtListOp260, NoWin, Str, N)                  \
  X(Pass, ListOp259, 75628971, 259, VtListOp259, NoWin, Num, N)                  \
  X(Pass, ListOp203, 75628981, 203, VtListOp203, NoWin, Num, N)                  \
  X(Pass, ListOp153, 75628991, 153, VtListOp153, NoWin, Num, N)                  \
  X(Pass, ListOp140, 75629001, 140, VtListOp140, NoWin, Num, N)                  \
  X(Pass, ListOp154, 75629011, 154, VtListOp154, NoWin, Num, N)                  \
  X(Pass, ListOp138, 75629021, 138, VtListOp138, Win, Num)                       \
  X(Pass, ListOp256, 75629030, 256, VtListOp256, Win, Bool, N, R, R, R, R)       \
  X(Pass, ListOp137, 75629044, 137, VtListOp137, Win, Num, N, N, N, S, L, N)     \
  X(Pass, ListOp136, 75629059, 136, VtListOp136, Win, Num, N, N, N, H, H, H)     \
  X(Pass, ListOp289, 75629074, 289, VtListOp289, Win, Num, SI)                   \
  X(Pass, ListOp290, 75629084, 290, VtListOp290, Win, Num, S, N, N, N, N)        \
  X(Pass, ListOp157, 75629098, 157, VtListOp157, Win, Num, N, N, N, S, L, N)     \
  X(Pass, ListOp163, 75629113, 163, VtListOp163, Win, Bool, N)                   \
  X(Pass, ListOp164, 75629123, 164, VtListOp164, Win, Bool, N)                   \
  X(Pass, ListOp162, 75629133, 162, VtListOp162, Win, Bool, N, N, N)             \
  X(Pass, ListOp291, 75629145, 291, VtListOp291, Win, Num, H)                    \
  X(Pass, ListOp145, 75629155, 145, VtListOp145, Win, Bool, N)                   \
  X(Pass, ListOp197, 75629165, 197, VtListOp197, NoWin, Bool, N, N)              \
  X(Pass, ListOp158, 75629176, 158, VtListOp158, Win, Num, N, S, L, N)           \
  X(Pass, ListOp264, 75629189, 264, VtListOp264, NoWin, Bool, N, N, H)           \
  X(Pass, ListOp198, 75629201, 198, VtListOp198, NoWin, Bool, N, N)              \
  X(Pass, ListOp148, 75629212, 148, VtListOp148, NoWin, Bool, N, N, N)           \
  X(Pass, ListOp262, 75629224, 262, VtListOp262, NoWin, Bool, N, S)              \
  X(Pass, ListOp261, 75629235, 261, VtListOp261, NoWin, Bool, N, L)              \
  X(Pass, ListOp254, 75629246, 254, VtListOp254, Win, Bool, H)                   \
  X(Pass, ListOp139, 75629256, 139, VtListOp139, Win, Bool, N)                   \
  X(Pass, ListOp113, 75629266, 113, VtListOp113, Win, Num, S, N, N)              \
  X(Pass, ListOp115, 75629278, 115, VtListOp115, Win, Num, S, N, N, L)           \
  X(Pass, ListOp151, 75629291, 151, VtListOp151, Win, Num, N, R, R)              \
  X(Pass, ListOp114, 75629303, 114, VtListOp114, Win, Num, N, S, N, N)           \
  X(Pass, ListOp116, 75629316, 116, VtListOp116, Win, Num, N, S, N, N, L)        \
  X(Pass, ListOp117, 75629330, 117, VtListOp117, Win, NumBool, N, N, N)
// clang-format on

// Preprocessor helpers over the shapes of a row.

// The number of arguments (0 to 7).
#define QV_LIST_NARGS(...) QV_LIST_NARGS_I(__VA_ARGS__, 7, 6, 5, 4, 3, 2, 1, 0)
#define QV_LIST_NARGS_I(_0, _1, _2, _3, _4, _5, _6, _7, n, ...) n
#define QV_LIST_COUNT(...) QV_LIST_NARGS(0 __VA_OPT__(, ) __VA_ARGS__)
#define QV_LIST_CAT(a, b) QV_LIST_CAT_I(a, b)
#define QV_LIST_CAT_I(a, b) a##b

// QV_LIST_EACH(M, shapes...): M(shape, index) for each shape.
#define QV_LIST_EACH(M, ...) QV_LIST_CAT(QV_LIST_EACH_, QV_LIST_COUNT(__VA_ARGS__))(M __VA_OPT__(, ) __VA_ARGS__)
#define QV_LIST_EACH_0(M)
#define QV_LIST_EACH_1(M, a) M(a, 0)
#define QV_LIST_EACH_2(M, a, b) M(a, 0) M(b, 1)
#define QV_LIST_EACH_3(M, a, b, c) M(a, 0) M(b, 1) M(c, 2)
#define QV_LIST_EACH_4(M, a, b, c, d) M(a, 0) M(b, 1) M(c, 2) M(d, 3)
#define QV_LIST_EACH_5(M, a, b, c, d, e) M(a, 0) M(b, 1) M(c, 2) M(d, 3) M(e, 4)
#define QV_LIST_EACH_6(M, a, b, c, d, e, f) M(a, 0) M(b, 1) M(c, 2) M(d, 3) M(e, 4) M(f, 5)

// QV_LIST_IF_PARAM_<shape>(tokens): the tokens when the shape is a
// parameter of the member, nothing when it is not.
#define QV_LIST_IF_PARAM_N(...) __VA_ARGS__
#define QV_LIST_IF_PARAM_L(...) __VA_ARGS__
#define QV_LIST_IF_PARAM_S(...) __VA_ARGS__
#define QV_LIST_IF_PARAM_SI(...) __VA_ARGS__
#define QV_LIST_IF_PARAM_H(...) __VA_ARGS__
#define QV_LIST_IF_PARAM_R(...) __VA_ARGS__
#define QV_LIST_IF_PARAM_Z(...)

// The member's parameter list after the Module: ", <type> a0, <type> a1".
#define QV_LIST_PARAM(shape, i) QV_LIST_IF_PARAM_##shape(, ::qv::listop::shape::Param a##i)
#define QV_LIST_PARAMS(...) QV_LIST_EACH(QV_LIST_PARAM __VA_OPT__(, ) __VA_ARGS__)
// The converted arguments of the call: ", <shape>::Hold(a0), ...".
#define QV_LIST_HOLD(shape, i) , ::qv::listop::shape::Hold(QV_LIST_IF_PARAM_##shape(a##i))
#define QV_LIST_HOLDS(...) QV_LIST_EACH(QV_LIST_HOLD __VA_OPT__(, ) __VA_ARGS__)
// The member's number of parameters, as one literal.
#define QV_LIST_MARK(shape, i) QV_LIST_IF_PARAM_##shape(, x)
#define QV_LIST_ARITY(...) QV_LIST_NARGS(0 QV_LIST_EACH(QV_LIST_MARK __VA_OPT__(, ) __VA_ARGS__))

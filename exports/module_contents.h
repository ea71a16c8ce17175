// SPDX-License-Identifier: Apache-2.0
// What the library's Module holds beyond the core: the class registry and
// the owners of the SQL bind variables.  Every place that builds a Module for
// the library (process attach, the command's session, the tests) gives it
// these contents.
//
// The class registry lives here, beside the export table, because it is the
// same kind of knowledge: the library's classes as the host runtime sees
// them.  Its two lists interleave classes of every subsystem in an order of
// their own, so no single subsystem could register its part of them.
#pragma once

#include <array>
#include <string_view>

#include "core/module.h"
#include "framework/sql_binding.h"

namespace qv {

// The class registry, in registration order.
inline constexpr std::array<std::string_view, 5> kClassListOne = {
    "VC_ObjectSize", "VC_JavaMethod", "VC_JavaClassVariable", "VC_Container", "VC_ListContainerObject"};
inline constexpr std::array<std::string_view, 10> kClassListTwo = {
    "VC_ApplicationProfile", "VC_Directories",     "VC_JavaRepository", "INT_MDI_ManageChildren", "BLC_DatabaseBrand",
    "BLC_ManageSqlHandles",  "VC_BldBlockProfile", "VC_DisplayMsg",     "VC_ContainerCtrl",       "cRadioListBox"};

// The subsystems that own bind variables, in registration order.
inline constexpr std::array<ModuleContents::BindVariableOwner, 1> kBindVariableOwners = {&RegisterSqlBindVariables};

inline constexpr ModuleContents kLibraryContents = {kClassListOne, kClassListTwo, kBindVariableOwners};

}  // namespace qv

// SPDX-License-Identifier: Apache-2.0
// The process side of the C boundary: the state the exported functions use,
// the loader's attach and detach, and the export table.
#pragma once

#include <cstddef>
#include <string>

#include "core/host_application.h"
#include "exports/abi.h"

namespace qv::abi {

// The process's Module and current instance.  Valid between attach and detach.
Process& TheProcess();
inline Module& TheModule() { return *TheProcess().pModule; }
// The host behind the process's Module, through its one interface.
HostApplication& TheHost();
// Process attach: makes the host (MakeProcessHost) and the Module and binds the
// external libraries unless the host is not executing the application.
bool AttachProcess();
// Process detach: releases the libraries and the Module.
void DetachProcess();
// The user's home directory: $HOME, else (where the system keeps one) the
// home of the user's entry in the user database; "." when neither gives one.
std::string UserHomeDirectory();

size_t ExportCount();
const QvExportInfo* ExportAt(size_t nIndex);
// The C signature of export nIndex, "RESULT(PARAMETERS)"; "" past the end.
std::string ExportSignature(size_t nIndex);

}  // namespace qv::abi

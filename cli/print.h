// SPDX-License-Identifier: Apache-2.0
// Standard output of the commands: every text of any length goes through
// WriteOut, and main ends the output with FinishOutput; plain-text output
// of record fields.
#pragma once

#include <string>
#include <string_view>

namespace quorvane::cli {

// Writes s to stdout, whole (a text may hold zero bytes).  The reason of
// the first write that fails is kept for FinishOutput: a long text that
// the C library writes past its buffer leaves nothing pending that a later
// flush could fail on again.
void WriteOut(std::string_view s);

// Flushes stdout now, keeping the reason of a failure as WriteOut does: a
// failed flush drops what it could not write.
void FlushOut();

// Ends the run's output, once, after the command: flushes and closes
// stdout, flushes stderr.  Output that was lost (a write, the flush or the
// close failed) is said on stderr as "SWHO: write error on standard
// output: REASON" and makes the status at least kExitFailed; otherwise
// nStatus.  A stdout that was closed before the run and got nothing to
// write is not an error.  A failed write to stderr cannot be said, but
// fails the run too.
int FinishOutput(const std::string& sWho, int nStatus);

// "  label        value" on one line.
void PrintField(const char* sLabel, std::string_view s, int nIndent = 2);
// A multi-line text under its label, each line indented and marked "| ";
// any run of CRs before a LF belongs to the line break.
void PrintBlock(const char* sLabel, std::string_view s, int nIndent = 2);

}  // namespace quorvane::cli

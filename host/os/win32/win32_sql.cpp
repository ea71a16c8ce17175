// SPDX-License-Identifier: Apache-2.0
// The Windows build's SQL backends: SQLite only.  A PostgreSQL target, in
// either form, is refused at connect time with a reason, as a failed
// connect; without libpq's parser no value of it is shown.
#include <string>

#include "host/sql/sql_backend.h"

namespace qv {

std::unique_ptr<SqlConnection> OpenPostgres(const std::string& /*sTarget*/, SqlError& error) {
  error.nCode = -1;
  error.sText = "PostgreSQL is not available in the Windows build";
  return nullptr;
}

std::string RedactedPostgres(std::string_view sTarget) { return HiddenDatabase(sTarget); }

}  // namespace qv

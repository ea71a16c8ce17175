// The Windows build's SQL backends: SQLite only.  A postgresql:// database
// setting is refused at connect time with a reason, as a failed connect.
#include <string>

#include "host/sql_backend.h"

namespace qv {

std::unique_ptr<SqlConnection> OpenPostgres(const std::string& /*sUri*/, SqlError& error) {
  error.nCode = -1;
  error.sText = "PostgreSQL is not available in the Windows build";
  return nullptr;
}

}  // namespace qv

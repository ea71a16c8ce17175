// SPDX-License-Identifier: Apache-2.0
// A throw-away PostgreSQL cluster for tests: initdb and pg_ctl from the
// Debian server packages, run as the postgres user when the tests run as
// root, listening on a free loopback port, removed when the object goes.
#pragma once

#include <string>

#include "support/test_host.h"

namespace qv::test {

class PostgresCluster {
 public:
  PostgresCluster() = default;
  ~PostgresCluster() { Stop(); }
  PostgresCluster(const PostgresCluster&) = delete;
  PostgresCluster& operator=(const PostgresCluster&) = delete;

  // Creates and starts the cluster; FALSE with Error() saying why.
  bool Start();
  void Stop();
  // A connection URI of the cluster's database "postgres".
  std::string Uri() const;
  // A URI of the loopback port nobody listens on.
  static std::string UnusedUri();
  const std::string& Error() const { return sError_; }

 private:
  TempDir dir_;
  std::string sData_;
  int nPort_ = 0;
  bool bRunning_ = false;
  std::string sError_;
};

// A free TCP port on 127.0.0.1 (free at the moment of the call).
int FreeLoopbackPort();

}  // namespace qv::test

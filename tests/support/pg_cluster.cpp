// SPDX-License-Identifier: Apache-2.0
#include "support/pg_cluster.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qv::test {
namespace {

constexpr const char* kBinDir = "/usr/lib/postgresql/15/bin";

// The command line prefix that runs a server program as the postgres user
// (the server refuses to run as root).
std::string AsPostgres() { return ::geteuid() == 0 ? "runuser -u postgres -- " : ""; }

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

std::string ReadAll(const std::string& sPath) {
  std::ifstream in(sPath);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace

int FreeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return 0;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t nLen = sizeof(addr);
  int nPort = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &nLen) == 0) {
    nPort = ntohs(addr.sin_port);
  }
  ::close(fd);
  return nPort;
}

std::string PostgresCluster::UnusedUri() {
  return "postgresql://postgres@127.0.0.1:" + std::to_string(FreeLoopbackPort()) + "/postgres?connect_timeout=5";
}

bool PostgresCluster::Start() {
  if (bRunning_) return true;
  if (!std::filesystem::exists(std::string(kBinDir) + "/initdb")) {
    sError_ = std::string("the PostgreSQL server programs are not installed in ") + kBinDir +
              " (scripts/deps.sh installs the postgresql package)";
    return false;
  }
  const std::string sBase = dir_.Str() + "/pg";
  std::filesystem::create_directories(sBase);
  if (::geteuid() == 0) {
    const passwd* pw = ::getpwnam("postgres");
    if (pw == nullptr || ::chown(sBase.c_str(), pw->pw_uid, pw->pw_gid) != 0) {
      sError_ = "cannot hand " + sBase + " to the postgres user";
      return false;
    }
    // The server walks into the directory from /tmp.
    std::filesystem::permissions(dir_.Path(), std::filesystem::perms::owner_all | std::filesystem::perms::others_exec |
                                                  std::filesystem::perms::group_exec);
  }
  sData_ = sBase + "/data";
  const std::string sLog = sBase + "/server.log";
  const std::string sInitLog = dir_.Str() + "/initdb.log";
  const std::string sInit = AsPostgres() + kBinDir + "/initdb -D " + Quoted(sData_) +
                            " -A trust -U postgres --no-sync -E UTF8 --locale=C > " + Quoted(sInitLog) + " 2>&1";
  if (std::system(sInit.c_str()) != 0) {
    sError_ = "initdb failed: " + ReadAll(sInitLog);
    return false;
  }
  for (int nTry = 0; nTry < 3 && !bRunning_; ++nTry) {
    nPort_ = FreeLoopbackPort();
    const std::string sOptions = "-p " + std::to_string(nPort_) + " -k " + sBase +
                                 " -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=60";
    const std::string sStart = AsPostgres() + kBinDir + "/pg_ctl -D " + Quoted(sData_) + " -l " + Quoted(sLog) +
                               " -o " + Quoted(sOptions) + " -w -t 60 start > /dev/null 2>&1";
    bRunning_ = std::system(sStart.c_str()) == 0;
  }
  if (!bRunning_) sError_ = "pg_ctl start failed: " + ReadAll(sLog);
  return bRunning_;
}

void PostgresCluster::Stop() {
  if (!bRunning_) return;
  const std::string sStop = AsPostgres() + kBinDir + "/pg_ctl -D " + Quoted(sData_) +
                            " -m immediate -w stop > /dev/null 2>&1";
  [[maybe_unused]] const int rc = std::system(sStop.c_str());
  bRunning_ = false;
}

std::string PostgresCluster::Uri() const {
  return "postgresql://postgres@127.0.0.1:" + std::to_string(nPort_) + "/postgres";
}

}  // namespace qv::test

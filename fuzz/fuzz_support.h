// SPDX-License-Identifier: Apache-2.0
// What every fuzz target shares: one portable host in a temporary directory
// made once per process, fresh Modules over it, file helpers, and the stop
// on a broken property.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

#include "core/module.h"
#include "exports/module_contents.h"
#include "host/os/posix/posix_host.h"

// The entry point each target defines, called by libFuzzer, or by
// replay_main.cpp in the normal build.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize);

namespace qv::fuzz {

// Reports a broken property and stops the run, so that libFuzzer keeps the
// input as a crash.
[[noreturn]] inline void Broken(std::string_view sWhat, std::string_view sDetail = {}) {
  std::fprintf(stderr, "property broken: %.*s\n%.*s\n", static_cast<int>(sWhat.size()), sWhat.data(),
               static_cast<int>(sDetail.size()), sDetail.data());
  std::abort();
}
#define QV_FUZZ_CHECK(cond, detail)                 \
  do {                                              \
    if (!(cond)) ::qv::fuzz::Broken(#cond, detail); \
  } while (0)

class Harness {
 public:
  Harness() {
    // Memory-backed when the machine has it: the writers sync their files,
    // which on a disk costs more than the whole rest of a run.
    const char* pBase = getenv("QV_FUZZ_TMPDIR");
    if (pBase == nullptr) pBase = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string sTemplate = std::string(pBase) + "/qvfuzz-XXXXXX";
    if (mkdtemp(sTemplate.data()) == nullptr) Broken("cannot make a temporary directory");
    sDir_ = sTemplate;
    HostSettings options;
    options.sProfileDir = sDir_;
    host_ = std::make_unique<PosixHost>(options);
    host_->Runtime().SetFatalHandler([](std::string_view sText) { Broken("fatal error", sText); });
    host_->Windows().SetBoxResponder(
        [](const HeadlessWindows::ShownBox&) { return Number(HeadlessWindows::kButtonOk); });
  }
  ~Harness() {
    module_.reset();
    std::error_code ec;  // a directory that cannot be removed is left for the system's cleaning of /tmp
    std::filesystem::remove_all(sDir_, ec);
  }

  // A new Module over the host; the previous one is detached first.
  Module& Fresh() {
    module_.reset();
    module_ = std::make_unique<Module>(host_->GetHost(), ModuleFaults{}, kLibraryContents);
    module_->Attach();
    return *module_;
  }
  PosixHost& Host() { return *host_; }
  // The path of sName in the temporary directory, for this machine and in
  // the library's form.
  std::string Posix(std::string_view sName) const { return sDir_ + "/" + std::string(sName); }
  std::string Win(std::string_view sName) const { return sDir_ + "\\" + std::string(sName); }
  const std::string& Dir() const { return sDir_; }

  void Write(std::string_view sName, std::string_view sContent) const {
    std::ofstream out(Posix(sName), std::ios::binary | std::ios::trunc);
    out.write(sContent.data(), static_cast<std::streamsize>(sContent.size()));
  }
  std::string Read(std::string_view sName) const {
    std::ifstream in(Posix(sName), std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

 private:
  std::string sDir_;
  std::unique_ptr<PosixHost> host_;
  std::unique_ptr<Module> module_;
};

// The one harness of the process.
inline Harness& TheHarness() {
  static Harness oHarness;  // removes its directory when the run ends
  return oHarness;
}

}  // namespace qv::fuzz

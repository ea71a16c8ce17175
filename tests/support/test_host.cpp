// SPDX-License-Identifier: Apache-2.0
#include "support/test_host.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "exports/module_contents.h"

namespace qv::test {

TempDir::TempDir() {
  std::random_device rd;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("quorvane-test-" + std::to_string(rd()) + std::to_string(rd()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  // Directories made unreadable by a test must be removable again.
  for (auto it = std::filesystem::recursive_directory_iterator(
           path_, std::filesystem::directory_options::skip_permission_denied, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add | std::filesystem::perm_options::nofollow, ec);
  }
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& sRelative, const std::string& sContent) const {
  const auto p = path_ / sRelative;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary);
  out << sContent;
  return p.string();
}

std::string TempDir::Read(const std::string& sRelative) const {
  std::ifstream in(path_ / sRelative, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

HostFixture::HostFixture() {
  HostSettings options;
  options.sProfileDir = dir_.Str();
  host_ = std::make_unique<PlatformHost>(options);
  host_->Runtime().SetFatalHandler([](std::string_view sText) { throw FatalErrorRaised{std::string(sText)}; });
  host_->Windows().SetBoxResponder([](const HeadlessWindows::ShownBox&) { return Number(HeadlessWindows::kButtonOk); });
  FreshModule();
}

std::string HostFixture::Win(const std::string& sRelative) const {
  std::string s = dir_.Str() + "\\" + sRelative;
  std::replace(s.begin(), s.end(), '/', '\\');
  return s;
}

Module& HostFixture::FreshModule(ModuleFaults faults) {
  module_.reset();
  module_ = std::make_unique<Module>(host_->GetHost(), faults, kLibraryContents);
  module_->Attach();
  return *module_;
}

}  // namespace qv::test

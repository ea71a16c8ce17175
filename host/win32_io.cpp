// The Windows build's I/O module behind host/posix_io.h: the functions the
// command's settings code uses (the Windows host's files and profiles go
// through the system's own calls in win32_files.cpp and win32_profiles.cpp).
// The C++ library's file functions carry them here.
#include <windows.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "host/posix_io.h"

namespace qv::io {

namespace {

namespace fs = std::filesystem;

IoError FromCode(const std::error_code& ec, std::string_view sWhat) {
  return IoError{ec.value() != 0 ? ec.value() : kIoFailed, std::string(sWhat) + ": " + ec.message()};
}

}  // namespace

std::string ErrorText(int nCode) { return std::generic_category().message(nCode); }

IoError ErrorOf(int nCode, std::string_view sWhat) {
  return IoError{nCode, std::string(sWhat) + ": " + ErrorText(nCode)};
}

IoError LastError(std::string_view sWhat) { return ErrorOf(errno != 0 ? errno : kIoFailed, sWhat); }

IoError ReadFile(const std::string& sPath, std::string& sText, FileInfo* pInfo) {
  sText.clear();
  std::error_code ec;
  const fs::file_status oStatus = fs::status(sPath, ec);
  if (ec || !fs::exists(oStatus)) return ErrorOf(ENOENT, "cannot open " + sPath);
  if (fs::is_directory(oStatus)) return ErrorOf(EISDIR, sPath);
  std::ifstream in(sPath, std::ios::binary);
  if (!in) return ErrorOf(EACCES, "cannot open " + sPath);
  sText.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    sText.clear();
    return ErrorOf(kIoFailed, "cannot read " + sPath);
  }
  if (pInfo != nullptr) {
    *pInfo = FileInfo{};
    pInfo->nSize = static_cast<int64_t>(sText.size());
    pInfo->bRegular = fs::is_regular_file(oStatus);
  }
  return {};
}

IoError Rename(const std::string& sFrom, const std::string& sTo) {
  if (MoveFileExA(sFrom.c_str(), sTo.c_str(), MOVEFILE_REPLACE_EXISTING) == 0)
    return ErrorOf(kIoFailed, "cannot rename " + sFrom + " to " + sTo);
  return {};
}

IoError WriteReplacing(const std::string& sPath, std::string_view sText, const ReplaceOptions& /*oOptions*/) {
  const std::string sTemp = sPath + ".qvnew";
  {
    std::ofstream out(sTemp, std::ios::binary | std::ios::trunc);
    out.write(sText.data(), static_cast<std::streamsize>(sText.size()));
    out.close();
    if (!out) {
      std::error_code ec;
      fs::remove(sTemp, ec);
      return ErrorOf(kIoFailed, "cannot write " + sTemp);
    }
  }
  IoError oError = Rename(sTemp, sPath);
  if (oError.Failed()) {
    std::error_code ec;
    fs::remove(sTemp, ec);
  }
  return oError;
}

IoError MakeTempDirectory(std::string& sTemplate) {
  if (sTemplate.size() < 6) return ErrorOf(EINVAL, "cannot create a directory " + sTemplate);
  const size_t nAt = sTemplate.size() - 6;
  for (unsigned nTry = 0; nTry < 100; ++nTry) {
    const unsigned long long nSeed = GetTickCount64() * 7919ULL + GetCurrentProcessId() * 104729ULL + nTry;
    for (size_t k = 0; k < 6; ++k) {
      sTemplate[nAt + k] = "abcdefghijklmnopqrstuvwxyz0123456789"[(nSeed >> (5 * k)) % 36];
    }
    if (CreateDirectoryA(sTemplate.c_str(), nullptr) != 0) return {};
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return ErrorOf(kIoFailed, "cannot create a directory " + sTemplate);
}

IoError CreateDirectories(const std::string& sDir) {
  std::error_code ec;
  fs::create_directories(sDir, ec);
  if (ec) return FromCode(ec, "cannot create the directory " + sDir);
  if (!fs::is_directory(sDir, ec)) return ErrorOf(ENOTDIR, "cannot create the directory " + sDir);
  return {};
}

IoError RemoveAll(const std::string& sPath) {
  std::error_code ec;
  fs::remove_all(sPath, ec);
  if (ec) return FromCode(ec, "cannot remove " + sPath);
  return {};
}

}  // namespace qv::io

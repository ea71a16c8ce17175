// SPDX-License-Identifier: Apache-2.0
// The host interfaces: everything the library asks of the world outside it.
//
// The library never touches the operating system.  It reaches files,
// profiles, windows, SQL and the external libraries through the interfaces
// below, which a Host bundles.  host/ implements them on this machine; tests
// wrap or replace single interfaces (fault injection, scripted message boxes).
//
// Paths cross these interfaces in the library's form: Windows paths with "\"
// separators (a host also accepts "/").  Names handed back by listings are
// bare names without a directory.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/values.h"

namespace qv {

// Open styles of RtFileOpen.
enum FileOpenStyle : int {
  kOpenRead = 0,       // open an existing file for reading
  kOpenCreate = 3,     // create (or truncate) a file for writing
  kOpenDelete = 512,   // delete the file; no handle is left open
  kOpenAppend = 4097,  // open for writing at the end, created when missing
  kOpenExist = 16384,  // test that the file exists; no handle is left open
};

// Seek origins of RtFileSeek.
enum FileSeekOrigin : int { kSeekStart = 0, kSeekEnd = 2 };

// The failure of a host call: an error number in errno's terms (0 when the
// call succeeded) and a message for people that names what failed and why.
struct IoError {
  int nCode = 0;
  std::string sMessage;
  bool Failed() const { return nCode != 0; }
};
// The code of a failure that no more precise error number describes.
inline constexpr int kIoFailed = EIO;

// The line terminator FileSystem::PutLine writes after each line.
inline constexpr std::string_view kLineEnd = "\r\n";

// What tells one version of a file from another without reading it, as
// git's index does: its size, its modification time in nanoseconds and the
// file's identity (inode and device; 0 where the system has none).
struct FileStamp {
  int64_t nSize = 0;
  int64_t nModifiedNs = 0;
  uint64_t nInode = 0;
  uint64_t nDevice = 0;
  bool operator==(const FileStamp&) const = default;
};

// An exclusive lock on a file, held until released or the process ends:
// the repository's writers hold the one of the repository directory, so
// that two writers never interleave their files.
class FileLock {
 public:
  enum class Result { kHeld, kBusy, kFailed };

  virtual ~FileLock() = default;
  // Opens sPath (in this system's form; created when missing) and locks it;
  // another holder makes it wait (bWait) or answer kBusy.  kFailed with
  // sError saying why; a link at sPath is refused, never followed.  Taking
  // it again releases the lock held before, whatever its path; a Take that
  // does not answer kHeld leaves nothing held.
  virtual Result Take(const std::string& sPath, bool bWait, std::string& sError) = 0;
  virtual void Release() = 0;
  virtual bool Held() const = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens sPath with one of the FileOpenStyle values.  For kOpenRead,
  // kOpenCreate and kOpenAppend a successful open stores a handle in hFile.
  // kOpenDelete and kOpenExist leave hFile untouched and report whether the
  // file was deleted / exists.
  virtual bool Open(FileHandle& hFile, std::string_view sPath, int nStyle) = 0;
  virtual bool Close(FileHandle hFile) = 0;
  // Reads the next line without its terminator ("\n", and one "\r" before it).
  // With nMax > 0 a longer line is cut to nMax - 1 bytes and its rest is
  // skipped; nMax <= 0 reads the whole line.  FALSE at the end of the file.
  virtual bool GetLine(FileHandle hFile, std::string& sLine, int64_t nMax) = 0;
  // Writes sText followed by the line terminator kLineEnd.
  virtual bool PutLine(FileHandle hFile, std::string_view sText) = 0;
  // Reads up to nBytes bytes into sOut (replacing it); returns the count read.
  virtual int64_t Read(FileHandle hFile, std::string& sOut, int64_t nBytes) = 0;
  // Writes sText; returns the count written (less than the size on failure).
  virtual int64_t Write(FileHandle hFile, std::string_view sText) = 0;
  virtual bool Seek(FileHandle hFile, int64_t nOffset, int nOrigin) = 0;
  virtual int64_t Tell(FileHandle hFile) = 0;

  // The names of the subdirectories (or files) that match sPattern, a path
  // whose last component may hold the wildcards "*" and "?" (Windows rules:
  // case-insensitive; a three-letter extension also matches longer ones
  // that begin with it).  Names are appended to aNames; returns their count.
  // "." and ".." are never listed.  A symbolic link is not a subdirectory.
  virtual int64_t ListSubdirectories(std::string_view sPattern, std::vector<std::string>& aNames) = 0;
  virtual int64_t ListFiles(std::string_view sPattern, std::vector<std::string>& aNames) = 0;
  // One listing of the directory sDirectory (no wildcards) for a walk of a
  // tree: appends the names of all its subdirectories to aSubdirectories
  // and those of its files that match sFilePattern (a bare name that may
  // hold wildcards) to aFiles.  The names ListSubdirectories(sDirectory +
  // "\*.*") and ListFiles(sDirectory + "\" + sFilePattern) give, in their
  // order, from one pass over the directory instead of two.
  virtual void ListDirectory(std::string_view sDirectory, std::string_view sFilePattern,
                             std::vector<std::string>& aSubdirectories, std::vector<std::string>& aFiles) = 0;
  virtual bool DirExists(std::string_view sPath) = 0;
  // How many listings so far met a directory that exists but could not be
  // read (no permission, say): such a listing yields no names, and only
  // this count tells it from an empty directory.
  virtual int64_t UnlistableDirectories() const = 0;
  // Makes the directory sPath and its missing parents.  No error when it
  // exists afterwards; else the directory, as this system names it, and the
  // system's reason.
  virtual IoError MakeDirectories(std::string_view sPath) = 0;
  // Copies sSource to sTarget, replacing a file there; a failed copy leaves
  // sTarget as it was.
  virtual IoError Copy(std::string_view sSource, std::string_view sTarget) = 0;
  // Renames sOld to sNew; fails when sNew exists (Windows rule).
  virtual IoError Rename(std::string_view sOld, std::string_view sNew) = 0;
  // Deletes the file sPath.  Several threads may delete files at once.
  virtual IoError Remove(std::string_view sPath) = 0;

  // Replacing files without ever losing the old ones.  A new version of a
  // file is written to a temporary file beside it (CreateTemporary), made
  // durable (SyncAll, once for a whole batch), and moved over the target
  // (MoveOver); the old file can be kept aside first (KeepAside) so that a
  // batch whose later step fails can put every old file back.
  // repository/replacing_file.h builds the transaction of these steps.
  //
  // Creates a new, empty file for writing in the directory of sTarget, to
  // be moved over it later: its name (sTemp) is one nobody can predict, and
  // it is created new, never through a link or over a file planted there.
  virtual IoError CreateTemporary(std::string_view sTarget, FileHandle& hFile, std::string& sTemp) = 0;
  // Creates the file sPath itself, new, for writing, where the caller
  // knows that nothing is there: it fails (EEXIST) when something is, a
  // link included, which is never followed.  Closed with CloseWritten and
  // made durable by SyncAll, content and name, as a moved temporary is.
  virtual IoError CreateNew(std::string_view sPath, FileHandle& hFile) = 0;
  // Closes a file opened for writing: the first failure of any write to it
  // or of the close itself, with the file's name and the system's reason.
  // pStamp, when given, receives the file's stamp as StampOf would give it
  // once everything is written (taken from the open file: no name is
  // looked up); it is left as it was where the system cannot tell.
  virtual IoError CloseWritten(FileHandle hFile, FileStamp* pStamp = nullptr) = 0;
  // Makes the contents of the files aPaths durable, and the names of the
  // directories aPaths (renames into them), in as few steps as the system
  // allows (one step per file system, where it has one).
  virtual IoError SyncAll(const std::vector<std::string>& aPaths) = 0;
  // Gives the file sTarget a second name beside it (sAside), so that it can
  // be replaced and put back.
  virtual IoError KeepAside(std::string_view sTarget, std::string& sAside) = 0;
  // Moves sSource over sTarget in one step, replacing it (not synced).
  virtual IoError MoveOver(std::string_view sSource, std::string_view sTarget) = 0;

  // Puts sText in place of the whole file sPath (creating it) in one step,
  // so that a failure leaves the old file as it was: the text is written
  // to a temporary file beside it, which then replaces it.  The write need
  // not be forced to disk (a host may leave it in the system's cache, as
  // Windows' profile functions do).  This default is made of the calls
  // above.
  virtual IoError ReplaceContent(std::string_view sPath, std::string_view sText) {
    FileHandle hFile;
    std::string sNew;
    if (IoError oError = CreateTemporary(sPath, hFile, sNew); oError.Failed()) return oError;
    const bool bWritten = Write(hFile, sText) == static_cast<int64_t>(sText.size());
    IoError oError = CloseWritten(hFile);
    if (!bWritten && !oError.Failed())
      oError = IoError{kIoFailed, "cannot write " + SystemPath(sNew, PathForm::kMapped)};
    if (!oError.Failed()) oError = MoveOver(sNew, sPath);
    if (oError.Failed()) Remove(sNew);
    return oError;
  }

  // Reads the whole file sPath into sText (replacing it).  Unlike every
  // other call, this one may run on several threads at once, alongside
  // each other and alongside the other calls of one thread: it keeps no
  // state in the object and reads none that other calls change.  0 when
  // read, else the error number (errno) of the failure.
  virtual int ReadWholeFile(std::string_view sPath, std::string& sText) const = 0;
  // Reads the start of sPath, at most nMax bytes, into sText (replacing
  // it); bWhole: sText is known to be the whole file.  For a caller that
  // needs the first lines of thousands of files and little else.  May run
  // on several threads as ReadWholeFile may.  0 when read, else the error
  // number.  This default reads the whole file.
  virtual int ReadFileStart(std::string_view sPath, size_t nMax, std::string& sText, bool& bWhole) const {
    const int nError = ReadWholeFile(sPath, sText);
    bWhole = nError == 0 && sText.size() <= nMax;
    if (sText.size() > nMax) sText.resize(nMax);
    return nError;
  }
  // Whether sPath is a file that holds exactly the bytes of sText.  May run
  // on several threads as ReadWholeFile may.  This default reads the file
  // whole; a host may stop at the first difference, or at the size.
  virtual bool HoldsExactly(std::string_view sPath, std::string_view sText) const {
    std::string sPresent;
    return ReadWholeFile(sPath, sPresent) == 0 && sPresent == sText;
  }

  // The stamp of the file sPath (links followed).  May run on several
  // threads as ReadWholeFile may.  0, else the error number.
  virtual int StampOf(std::string_view sPath, FileStamp& stamp) const = 0;
  // The stamps of the files aNames (bare names) of the directory
  // sDirectory, as StampOf gives them: aStamps[k] and the error number
  // aErrors[k] (0: stamped) of aNames[k].  For a caller that needs the
  // stamps of many files of one directory: a host may look the directory
  // up once for all of them instead of once for each.  May run on several
  // threads as ReadWholeFile may.  This default asks StampOf for each.
  virtual void StampsIn(std::string_view sDirectory, const std::vector<std::string>& aNames,
                        std::vector<FileStamp>& aStamps, std::vector<int>& aErrors) const {
    aStamps.assign(aNames.size(), {});
    aErrors.assign(aNames.size(), 0);
    std::string sPath(sDirectory);
    if (!sPath.empty() && sPath.back() != '\\' && sPath.back() != '/') sPath += '\\';
    const size_t nDirectory = sPath.size();
    for (size_t k = 0; k < aNames.size(); ++k) {
      sPath.resize(nDirectory);
      aErrors[k] = StampOf(sPath += aNames[k], aStamps[k]);
    }
  }

  // How SystemPath names a file.
  enum class PathForm {
    kMapped,    // in this system's form only: a relative path stays relative
    kAbsolute,  // made absolute against the working directory, "." and ".." folded
    kResolved,  // kAbsolute with the symbolic links of the part that exists resolved
  };
  // sPath (in the library's form) as this system names it, for a host
  // application to show or to hand to other programs.
  virtual std::string SystemPath(std::string_view sPath, PathForm eForm) const = 0;
  // SystemPath(sPath, PathForm::kResolved) of every path of aPaths, in
  // order.  For thousands of files in a few directories: a host may
  // resolve each directory once, and a file on its own only when it is a
  // link.  This default resolves each path whole.
  virtual std::vector<std::string> ResolvedPaths(const std::vector<std::string>& aPaths) const {
    std::vector<std::string> aResolved;
    aResolved.reserve(aPaths.size());
    for (const std::string& sPath : aPaths) aResolved.push_back(SystemPath(sPath, PathForm::kResolved));
    return aResolved;
  }

  // The directory a relative path is resolved against, in this system's
  // form: the process's current directory while it is empty.  A host
  // application points it at the repository it works on instead of
  // changing the process's directory.
  virtual void SetWorkingDirectory(std::string sDirectory) = 0;
  virtual const std::string& WorkingDirectory() const = 0;

  // Told about a directory that exists but cannot be listed (no
  // permission, say), with its path in this system's form and the error
  // number; a listing of it yields no names.  The library sees only the
  // empty listing (and UnlistableDirectories); a host application may
  // report the directory.
  using ListingErrorHandler = std::function<void(const std::string& sDirectory, int nErrno)>;
  virtual void SetListingErrorHandler(ListingErrorHandler fn) = 0;

  // A lock of this file system's files, not taken yet.
  virtual std::unique_ptr<FileLock> NewLock() = 0;
};

// A FileSystem that forwards every call to another one.  A layer that
// changes some calls (fault injection, say) derives from it and overrides
// only those, so that a call added to FileSystem later is forwarded too
// instead of silently running its default in the layer.
class FileSystemWrapper : public FileSystem {
 public:
  explicit FileSystemWrapper(FileSystem& oBase) : oBase_(oBase) {}

  bool Open(FileHandle& hFile, std::string_view sPath, int nStyle) override {
    return oBase_.Open(hFile, sPath, nStyle);
  }
  bool Close(FileHandle hFile) override { return oBase_.Close(hFile); }
  bool GetLine(FileHandle hFile, std::string& sLine, int64_t nMax) override {
    return oBase_.GetLine(hFile, sLine, nMax);
  }
  bool PutLine(FileHandle hFile, std::string_view sText) override { return oBase_.PutLine(hFile, sText); }
  int64_t Read(FileHandle hFile, std::string& sOut, int64_t nBytes) override {
    return oBase_.Read(hFile, sOut, nBytes);
  }
  int64_t Write(FileHandle hFile, std::string_view sText) override { return oBase_.Write(hFile, sText); }
  bool Seek(FileHandle hFile, int64_t nOffset, int nOrigin) override { return oBase_.Seek(hFile, nOffset, nOrigin); }
  int64_t Tell(FileHandle hFile) override { return oBase_.Tell(hFile); }
  int64_t ListSubdirectories(std::string_view sPattern, std::vector<std::string>& aNames) override {
    return oBase_.ListSubdirectories(sPattern, aNames);
  }
  int64_t ListFiles(std::string_view sPattern, std::vector<std::string>& aNames) override {
    return oBase_.ListFiles(sPattern, aNames);
  }
  void ListDirectory(std::string_view sDirectory, std::string_view sFilePattern,
                     std::vector<std::string>& aSubdirectories, std::vector<std::string>& aFiles) override {
    oBase_.ListDirectory(sDirectory, sFilePattern, aSubdirectories, aFiles);
  }
  bool DirExists(std::string_view sPath) override { return oBase_.DirExists(sPath); }
  int64_t UnlistableDirectories() const override { return oBase_.UnlistableDirectories(); }
  IoError MakeDirectories(std::string_view sPath) override { return oBase_.MakeDirectories(sPath); }
  IoError Copy(std::string_view sSource, std::string_view sTarget) override { return oBase_.Copy(sSource, sTarget); }
  IoError Rename(std::string_view sOld, std::string_view sNew) override { return oBase_.Rename(sOld, sNew); }
  IoError Remove(std::string_view sPath) override { return oBase_.Remove(sPath); }
  IoError CreateTemporary(std::string_view sTarget, FileHandle& hFile, std::string& sTemp) override {
    return oBase_.CreateTemporary(sTarget, hFile, sTemp);
  }
  IoError CreateNew(std::string_view sPath, FileHandle& hFile) override { return oBase_.CreateNew(sPath, hFile); }
  IoError CloseWritten(FileHandle hFile, FileStamp* pStamp = nullptr) override {
    return oBase_.CloseWritten(hFile, pStamp);
  }
  IoError SyncAll(const std::vector<std::string>& aPaths) override { return oBase_.SyncAll(aPaths); }
  IoError KeepAside(std::string_view sTarget, std::string& sAside) override {
    return oBase_.KeepAside(sTarget, sAside);
  }
  IoError MoveOver(std::string_view sSource, std::string_view sTarget) override {
    return oBase_.MoveOver(sSource, sTarget);
  }
  IoError ReplaceContent(std::string_view sPath, std::string_view sText) override {
    return oBase_.ReplaceContent(sPath, sText);
  }
  int ReadWholeFile(std::string_view sPath, std::string& sText) const override {
    return oBase_.ReadWholeFile(sPath, sText);
  }
  bool HoldsExactly(std::string_view sPath, std::string_view sText) const override {
    return oBase_.HoldsExactly(sPath, sText);
  }
  int ReadFileStart(std::string_view sPath, size_t nMax, std::string& sText, bool& bWhole) const override {
    return oBase_.ReadFileStart(sPath, nMax, sText, bWhole);
  }
  int StampOf(std::string_view sPath, FileStamp& stamp) const override { return oBase_.StampOf(sPath, stamp); }
  void StampsIn(std::string_view sDirectory, const std::vector<std::string>& aNames, std::vector<FileStamp>& aStamps,
                std::vector<int>& aErrors) const override {
    oBase_.StampsIn(sDirectory, aNames, aStamps, aErrors);
  }
  std::string SystemPath(std::string_view sPath, PathForm eForm) const override {
    return oBase_.SystemPath(sPath, eForm);
  }
  std::vector<std::string> ResolvedPaths(const std::vector<std::string>& aPaths) const override {
    return oBase_.ResolvedPaths(aPaths);
  }
  void SetWorkingDirectory(std::string sDirectory) override { oBase_.SetWorkingDirectory(std::move(sDirectory)); }
  const std::string& WorkingDirectory() const override { return oBase_.WorkingDirectory(); }
  void SetListingErrorHandler(ListingErrorHandler fn) override { oBase_.SetListingErrorHandler(std::move(fn)); }
  std::unique_ptr<FileLock> NewLock() override { return oBase_.NewLock(); }

 protected:
  FileSystem& Base() const { return oBase_; }

 private:
  FileSystem& oBase_;
};

// Private-profile (INI file) access with Windows semantics.
class Profiles {
 public:
  virtual ~Profiles() = default;
  // Reads the value of sKey in sSection of sFile into sValue, or sDefault
  // when the key is missing.  Returns the number of characters read: 0 for a
  // missing key and for an empty value.
  virtual int64_t GetString(std::string_view sSection, std::string_view sKey, std::string_view sDefault,
                            std::string& sValue, std::string_view sFile) = 0;
  virtual bool WriteString(std::string_view sSection, std::string_view sKey, std::string_view sValue,
                           std::string_view sFile) = 0;
  virtual int64_t GetInt(std::string_view sSection, std::string_view sKey, int64_t nDefault,
                         std::string_view sFile) = 0;
  // Told that an expected profile file is missing.
  virtual void ProfileAbsent(bool bAbsent) = 0;
};

// The runtime's context values.
struct HostContext {
  WindowHandle hWndForm;  // current form window
  WindowHandle hWndMDI;   // MDI frame window
  WindowHandle hWndNULL;  // the null window handle
  WindowHandle hWndItem;  // current item window
  Number nwParam;         // current message's wParam
  Number nlParam;         // current message's lParam
  String sAppName;        // application name
  bool bStaticsAsWindows = false;
};

// The window system, as far as the library uses it.
class Windows {
 public:
  virtual ~Windows() = default;
  // The context values as they are now: the current item and form change
  // with the message being handled.
  virtual HostContext Context() = 0;
  virtual bool IsWindow(WindowHandle hWnd) = 0;
  // The window tree.  For a handle that names no window: the null handle,
  // type 0 and the empty name.
  virtual WindowHandle GetParent(WindowHandle hWnd) = 0;
  // The object type code of the window (a table window, a data field, ...).
  virtual int64_t GetObjectType(WindowHandle hWnd) = 0;
  // The name the application gave the object; empty for an unnamed one.
  virtual String GetItemName(WindowHandle hWnd) = 0;
  // Gives the window a font; FALSE when hWnd names no window.
  virtual bool SetFont(WindowHandle hWnd, std::string_view sName, Number nSize, Number nEnhancement) = 0;
  // Sets one of the window's colours, addressed by a Windows system colour
  // index (5 background, 8 text); FALSE when hWnd names no window.
  virtual bool SetColor(WindowHandle hWnd, int nIndex, Number nColor) = 0;
  // A font object for the toolkit: a non-zero handle, 0 on failure.
  virtual int64_t CreateFont(std::string_view sName, Number nSize, Number nEnhancement) = 0;
  virtual Number SendMessage(WindowHandle hWnd, int64_t nMessage, Number nwParam, Number nlParam) = 0;

  // Text and geometry.  Positions are relative to the parent window; sizes
  // and positions are in the runtime's window units and may have fractions.
  // A get on a handle that names no window answers FALSE with null values;
  // a set on one changes nothing and answers FALSE.  Numbers are passed as
  // the library computed them, nulls included: what a null means is the
  // window system's business.
  virtual String GetWindowText(WindowHandle hWnd) = 0;
  virtual bool GetWindowSize(WindowHandle hWnd, Number& nWidth, Number& nHeight) = 0;
  virtual bool SetWindowSize(WindowHandle hWnd, Number nWidth, Number nHeight) = 0;
  virtual bool GetWindowPosition(WindowHandle hWnd, Number& nLeft, Number& nTop) = 0;
  virtual bool SetWindowPosition(WindowHandle hWnd, Number nLeft, Number nTop) = 0;
  // The width of an object that has a width but no position or height of
  // its own (a table-window column); null for a handle that names no window.
  virtual Number GetObjectWidth(WindowHandle hWnd) = 0;
  virtual bool SetObjectWidth(WindowHandle hWnd, Number nWidth) = 0;
  // Marks the whole window for repainting, and repaints what is marked.
  virtual bool InvalidateWindow(WindowHandle hWnd) = 0;
  virtual bool UpdateWindow(WindowHandle hWnd) = 0;

  virtual void WaitCursor(bool bOn) = 0;
  // Shows a message box and returns the button pressed.
  virtual Number MessageBox(std::string_view sText, std::string_view sCaption, int64_t nStyle) = 0;
  virtual void Quit() = 0;
  // Whether the application has been asked to quit.  A host whose quit does
  // not end the process at once answers TRUE from then on, so that code
  // which would otherwise go on (a retry loop) can stop.
  virtual bool QuitRequested() const = 0;
  // The statics-as-windows switch of the context values.
  virtual void SetStaticsAsWindows(bool bOn) = 0;
};

// An external library bound by the module at load (one library-table slot).
class ExternalLibrary {
 public:
  using Entry = void (*)();
  virtual ~ExternalLibrary() = default;
  // The entry point with this export ordinal, or nullptr.
  virtual Entry FindOrdinal(int nOrdinal) = 0;
  // The entry point with this name, or nullptr.
  virtual Entry FindName(std::string_view sName) = 0;
};

// The host runtime itself: execution state, fatal errors, external libraries.
class Runtime {
 public:
  virtual ~Runtime() = default;
  virtual bool IsExecuting() = 0;
  // The current local date and time.
  virtual DateTime CurrentDateTime() = 0;
  // Reports a fatal error.  Never returns.
  [[noreturn]] virtual void FatalError(std::string_view sText) = 0;
  // Loads an external library by name ("User32", "uitk60", ...); nullptr
  // when the host has no such library.  The host owns the result.
  virtual ExternalLibrary* LoadLibrary(std::string_view sName) = 0;
  virtual void FreeLibrary(ExternalLibrary* pLibrary) = 0;
  // Two operations of the host application that the library only forwards:
  // what they do with their 32-bit argument is the host's business.
  // HostCommand runs a host command and returns its result.
  virtual int32_t HostCommand(int32_t nValue, int32_t nArg1, int32_t nArg2) = 0;
  // Fills three integers that the host reports for nValue; FALSE when it has
  // nothing to report (the three are set all the same).
  virtual bool QueryThreeNumbers(int32_t nValue, int32_t& nA, int32_t& nB, int32_t& nC) = 0;
};

// The host's database layer.  A handle names one connection; handle values
// are never reused within a process, so a stale handle names nothing.
//
// Errors: every failing operation records its error (LastError).  While an
// error handler is armed, an error is reported to it first; the handler's
// answer kSqlErrorHandled means it has dealt with the error (the failing
// operation returns FALSE and the host shows nothing), any other answer
// lets the host report the error in its own way as well.
struct SqlError {
  SqlHandle hSql;     // the handle, or null for a failed connect
  int64_t nCode = 0;  // the database's error code (0 when it has none)
  String sText;       // the database's own error text
};

// One statement's result rows: column names, then rows of values (a null
// value has no text).
struct SqlRows {
  std::vector<String> aColumns;
  std::vector<std::vector<std::optional<String>>> aRows;
  int64_t nChanged = 0;  // rows inserted, updated or deleted
};

inline constexpr int kSqlErrorHandled = 2;

class Sql {
 public:
  using ErrorHandler = std::function<int(const SqlError&)>;
  virtual ~Sql() = default;

  // Connects to the host's database; TRUE with a new handle in hSql.
  virtual bool Connect(SqlHandle& hSql) = 0;
  virtual bool Disconnect(SqlHandle hSql) = 0;
  // Runs one statement; its rows (if any) go to pRows when given.  A
  // statement outside BEGIN ... COMMIT is its own transaction.
  virtual bool Execute(SqlHandle hSql, std::string_view sStatement, SqlRows* pRows) = 0;
  virtual bool SetIsolationLevel(SqlHandle hSql, std::string_view sLevel) = 0;
  // Database parameters by number (2: the brand code; 5: the lock or busy
  // timeout in seconds).
  virtual bool GetParameter(SqlHandle hSql, int64_t nParameter, Number& nValue, String& sText) = 0;
  virtual bool SetParameter(SqlHandle hSql, int64_t nParameter, Number nValue, std::string_view sText) = 0;
  virtual bool SetHandleOption(SqlHandle hSql, int64_t nOption) = 0;
  virtual bool ClearHandleOption(SqlHandle hSql, int64_t nOption) = 0;
  virtual bool BrandSetup(SqlHandle hSql) = 0;
  // A borrower starts / stops using the handle.
  virtual bool BeginUse(SqlHandle hSql) = 0;
  virtual bool EndUse(SqlHandle hSql) = 0;

  // Arms fn (an empty fn disarms); returns the handler it replaces.
  virtual ErrorHandler SetErrorHandler(ErrorHandler fn) = 0;
  virtual SqlError LastError() = 0;
  // The logs that the framework profile has switched on ("" for off): the
  // host appends each statement to the SQL profile log and each connect and
  // disconnect with its elapsed time to the performance log.
  virtual void SetLogFiles(std::string_view sSqlProfileLog, std::string_view sPerformanceLog) = 0;
};

// Everything a Module asks of its host.  The pointers are not owned; each
// must stay valid for the lifetime of the Modules that use the Host.
struct Host {
  Runtime* pRuntime = nullptr;
  FileSystem* pFiles = nullptr;
  Profiles* pProfiles = nullptr;
  Windows* pWindows = nullptr;
  Sql* pSql = nullptr;
};

}  // namespace qv

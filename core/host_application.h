// SPDX-License-Identifier: Apache-2.0
// The host as a host application (the C boundary, the command, a test)
// sees it: the services a Module takes (core/host.h), and what the
// application sets and observes beyond them: the profile directory and the
// database, the SQL error reporter, the settings file, the window system's
// scripting side (windows made, answers scripted, message boxes answered)
// and the toolkit's list model (core/list_scripting.h).  Files, the working
// directory, listing errors and the lock are the file interface's
// (FileSystem).
//
// Each platform's assembly in host/ implements this one interface;
// MakeProcessHost, defined by the assembly the build links, makes the
// process's host, so nothing above host/ names a concrete host.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/host.h"
#include "core/list_scripting.h"
#include "core/values.h"

namespace qv {

// A message box the library asked the window system to show.
struct ShownBox {
  std::string sText;
  std::string sCaption;
  int64_t nStyle = 0;
};
// Answers a message box with the button pressed.
using BoxResponder = std::function<Number(const ShownBox&)>;

// The scripting side of the window system: a host application makes
// windows and scripts their answers, and reads back what the library did.
class WindowScripting {
 public:
  virtual ~WindowScripting() = default;

  // The runtime's context values (current form, MDI frame, null handle, ...).
  virtual HostContext& MutableContext() = 0;
  virtual void SetMessageParameters(Number nwParam, Number nlParam) = 0;
  // The responder answers every message box; without one a box is printed
  // to stderr and answered with OK.
  virtual void SetBoxResponder(BoxResponder fn) = 0;
  virtual bool QuitRequested() const = 0;

  virtual WindowHandle CreateWindow(WindowHandle hParent, int64_t nType, std::string sName) = 0;
  virtual bool SetText(WindowHandle hWnd, std::string sText) = 0;
  // Places a window inside its parent and sizes it, without a record.
  virtual bool Place(WindowHandle hWnd, Number nLeft, Number nTop, Number nWidth, Number nHeight) = 0;
  // The result hWnd gives to nMessage from now on (the close request, say).
  virtual bool SetMessageAnswer(WindowHandle hWnd, int64_t nMessage, Number nResult) = 0;
  // Where the window is inside its parent, and its size; FALSE for no window.
  virtual bool Placement(WindowHandle hWnd, Number& nLeft, Number& nTop, Number& nWidth, Number& nHeight) const = 0;
  // How often nMessage was sent to hWnd.
  virtual int64_t MessagesSent(WindowHandle hWnd, int64_t nMessage) const = 0;
  // How often the window was repainted; 0 for no window.
  virtual int PaintCount(WindowHandle hWnd) const = 0;
};

// What the process's host is made with.
struct HostSettings {
  // Where a bare profile name such as "Quorvane.ini" lives.
  std::string sProfileDir = ".";
  // The directory every drive letter ("C:") maps to; the POSIX host's only
  // (on Windows the library's paths are the system's own).
  std::string sDriveRoot = "/";
  // The database: a PostgreSQL connection string or the path of an SQLite
  // file; empty means the default database of the profile directory.
  std::string sDatabase;
  // Whether the application is executing; outside execution (a
  // design-time load) the library binds no external library.
  bool bExecuting = true;
};

class HostApplication {
 public:
  virtual ~HostApplication() = default;

  // The services, in the form a Module takes them.
  virtual Host GetHost() = 0;

  // Changes the settings the host was made with, for what is done next: a
  // new profile directory also moves the default database; a database
  // target, empty for the default, takes effect at the next connection.
  virtual void SetProfileDir(const std::string& sProfileDir) = 0;
  virtual const std::string& ProfileDir() const = 0;
  // Where the profile sFile is read and written, in this system's form.
  virtual std::string ProfilePath(std::string_view sFile) const = 0;
  virtual void SetDatabase(const std::string& sDatabase) = 0;
  // The database target the next connection uses.
  virtual const std::string& Database() const = 0;
  // sTarget as it may be shown: a password or secret hidden.
  virtual std::string RedactedDatabase(std::string_view sTarget) const = 0;
  // Told about every SQL error, also those the library handles itself.
  virtual void SetSqlErrorReporter(std::function<void(const SqlError&)> fn) = 0;

  // The settings command's file work, on a path in this system's form.
  // "" when the file at sPath can be read or is not there, else why not.
  virtual std::string SettingsFileUnreadable(const std::string& sPath) = 0;
  // Puts a new settings file at sPath whole or not at all: the profile
  // directory is made when missing, fnWrite writes the new file at the path
  // it is given (in a fresh private directory there), which is then renamed
  // over sPath.  "" or why not.
  virtual std::string ReplaceSettingsFile(const std::string& sPath,
                                          const std::function<bool(const std::string& sNewFile)>& fnWrite) = 0;

  virtual WindowScripting& Windows() = 0;
  virtual ListScripting& Lists() = 0;
};

// The host of this process on the platform the library is built for.
std::unique_ptr<HostApplication> MakeProcessHost(const HostSettings& settings);

}  // namespace qv

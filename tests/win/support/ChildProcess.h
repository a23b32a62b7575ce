#pragma once
// A program started by a test from the test's own folder. The destructor ends it if it
// still runs and closes its handles.

#include <string>

#include "platform/win32/Win32Handle.h"

namespace qvn::testing {

// The folder of the running test executable, ending in "\".
std::string TestExecutableFolder();

class ChildProcess {
 public:
  // Starts <test folder>\<program> with the given command-line argument text.
  // Raises std::runtime_error when it cannot be started.
  ChildProcess(const std::string& program, const std::string& arguments);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  DWORD Id() const { return id_; }
  HANDLE Process() const { return process_.get(); }

  // The top-level window with exactly this title, waited for up to timeoutMs; 0 if none came.
  static HWND WaitForWindow(const std::string& title, DWORD timeoutMs);
  // Waits up to timeoutMs for the process to end; true when it has.
  bool WaitForExit(DWORD timeoutMs) const;
  // Ends the process at once and waits until it has gone.
  void Kill();

 private:
  platform::win32::UniqueHandle process_;
  DWORD id_ = 0;
};

}  // namespace qvn::testing

#include "tests/win/support/ChildProcess.h"

#include <stdexcept>

namespace qvn::testing {

namespace {

constexpr DWORD PollMs = 50;
constexpr DWORD KillWaitMs = 10000;

}  // namespace

std::string TestExecutableFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments) {
  const std::string executable = TestExecutableFolder() + program;
  std::string commandLine = "\"" + executable + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info))
    throw std::runtime_error("cannot start " + executable + ", error " +
                             std::to_string(GetLastError()));
  CloseHandle(info.hThread);
  process_.reset(info.hProcess);
  id_ = info.dwProcessId;
}

ChildProcess::~ChildProcess() { Kill(); }

HWND ChildProcess::WaitForWindow(const std::string& title, DWORD timeoutMs) {
  const ULONGLONG until = GetTickCount64() + timeoutMs;
  for (;;) {
    if (HWND window = FindWindowA(nullptr, title.c_str())) return window;
    if (GetTickCount64() >= until) return nullptr;
    Sleep(PollMs);
  }
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) const {
  return WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

void ChildProcess::Kill() {
  if (WaitForExit(0)) return;
  TerminateProcess(process_.get(), 1);
  WaitForExit(KillWaitMs);
}

}  // namespace qvn::testing

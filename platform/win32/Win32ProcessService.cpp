#include "platform/win32/Win32ProcessService.h"

#include "platform/win32/WinApi.h"
// After windows.h, which defines what it uses.
#include <tlhelp32.h>

#include <cstring>

#include "platform/win32/Win32Handle.h"

namespace qvn::platform::win32 {

namespace {

// The single-byte variants: their image names are ANSI text, as the program's strings are.
using CreateSnapshotFunction = HANDLE(WINAPI*)(DWORD, DWORD);
using WalkFunction = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

static_assert(sizeof(PROCESSENTRY32::szExeFile[0]) == 1, "the single-byte process entry");
static_assert(sizeof(void*) != 8 || sizeof(PROCESSENTRY32) == 304);  // 296 on 32-bit Windows
static_assert(sizeof(OSVERSIONINFOA) == 148);

constexpr DWORD PlatformIdWindows9x = VER_PLATFORM_WIN32_WINDOWS;  // 1
constexpr DWORD PlatformIdWindowsNT = VER_PLATFORM_WIN32_NT;       // 2
constexpr DWORD AllProcesses = 0;  // the process id that tool help takes for "every process"

template <class Function>
Function LookUp(HMODULE module, const char* name) {
  // GetProcAddress hands out a generic function pointer; the cast names its real type.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

struct Win32ProcessService::ToolHelp {
  CreateSnapshotFunction createSnapshot = nullptr;
  WalkFunction first = nullptr;
  WalkFunction next = nullptr;
};

namespace {

class Win32Snapshot : public IProcessSnapshot {
 public:
  Win32Snapshot(HANDLE snapshot, Win32ProcessService::ToolHelp toolHelp)
      : snapshot_(snapshot), toolHelp_(toolHelp) {}

  bool First(ProcessEntry& entry) override { return Walk(toolHelp_.first, entry); }
  bool Next(ProcessEntry& entry) override { return Walk(toolHelp_.next, entry); }

 private:
  bool Walk(WalkFunction step, ProcessEntry& entry) {
    PROCESSENTRY32 record{};
    record.dwSize = sizeof(PROCESSENTRY32);
    if (!step(snapshot_.get(), &record)) return false;
    entry.processId = record.th32ProcessID;
    // The name ends at its first NUL, or at the end of the field if it has none.
    entry.exeFile.assign(record.szExeFile, strnlen(record.szExeFile, sizeof(record.szExeFile)));
    return true;
  }

  UniqueHandle snapshot_;
  Win32ProcessService::ToolHelp toolHelp_;
};

class Win32Process : public IProcessHandle {
 public:
  explicit Win32Process(HANDLE process) : process_(process) {}

  bool GetAffinityMask(std::uint64_t& processMask, std::uint64_t& systemMask) override {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (!GetProcessAffinityMask(process_.get(), &process, &system)) return false;
    processMask = process;
    systemMask = system;
    return true;
  }

  bool SetAffinityMask(std::uint64_t mask) override {
    return SetProcessAffinityMask(process_.get(), static_cast<DWORD_PTR>(mask)) != FALSE;
  }

 private:
  UniqueHandle process_;
};

}  // namespace

Win32ProcessService::Win32ProcessService() = default;
Win32ProcessService::~Win32ProcessService() = default;

const Win32ProcessService::ToolHelp& Win32ProcessService::LookUpToolHelp() {
  if (toolHelp_) return *toolHelp_;
  ToolHelp found;
  if (HMODULE kernel = GetModuleHandleA("kernel32.dll")) {
    found.createSnapshot = LookUp<CreateSnapshotFunction>(kernel, "CreateToolhelp32Snapshot");
    found.first = LookUp<WalkFunction>(kernel, "Process32First");
    found.next = LookUp<WalkFunction>(kernel, "Process32Next");
  }
  // One missing entry point makes the whole service unusable.
  if (!found.createSnapshot || !found.first || !found.next) found = ToolHelp{};
  toolHelp_ = std::make_unique<ToolHelp>(found);
  return *toolHelp_;
}

std::unique_ptr<IProcessSnapshot> Win32ProcessService::CreateSnapshot(std::uint32_t flags) {
  const ToolHelp& toolHelp = LookUpToolHelp();
  if (!toolHelp.createSnapshot) return nullptr;
  HANDLE snapshot = toolHelp.createSnapshot(flags, AllProcesses);
  if (snapshot == INVALID_HANDLE_VALUE || snapshot == nullptr) return nullptr;
  return std::make_unique<Win32Snapshot>(snapshot, toolHelp);
}

PlatformFamily Win32ProcessService::Family() const {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  if (!GetVersionExA(&version)) return PlatformFamily::Other;
  if (version.dwPlatformId == PlatformIdWindows9x) return PlatformFamily::Windows9x;
  if (version.dwPlatformId == PlatformIdWindowsNT) return PlatformFamily::WindowsNT;
  return PlatformFamily::Other;
}

std::unique_ptr<IProcessHandle> Win32ProcessService::Open(std::uint32_t processId,
                                                          std::uint32_t access) {
  HANDLE process = OpenProcess(access, FALSE, processId);
  if (!process) return nullptr;
  return std::make_unique<Win32Process>(process);
}

}  // namespace qvn::platform::win32

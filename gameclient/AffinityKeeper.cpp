#include "gameclient/AffinityKeeper.h"

#include <memory>

#include "settings/SQLConfFiles.h"

namespace qvn::gameclient {

namespace {

constexpr const char* SettingsSection = "Usage";
constexpr const char* AllCoresKey = "AllCores";
constexpr bool AllCoresDefault = false;

// Heap list, processes, threads and modules together (TH32CS_SNAPALL).
constexpr std::uint32_t SnapshotAllFlags = 15;
// All access rights to a process as they were defined before Windows Vista.
constexpr std::uint32_t ProcessAllAccess = 0x1F0FFF;
// Processors 0 to 3.
constexpr std::uint64_t WantedProcessors = 15;

constexpr std::int64_t NoProcess = -1;

// The text after the last backslash or drive colon.
std::string FileNamePart(const std::string& name) {
  const auto cut = name.find_last_of("\\:");
  return cut == std::string::npos ? name : name.substr(cut + 1);
}

}  // namespace

std::int64_t FindProcessId(platform::IProcessService& processes,
                           const platform::ITextServices& text, const std::string& imageName) {
  // The snapshot is released when it goes out of scope, on every path.
  const std::unique_ptr<platform::IProcessSnapshot> snapshot =
      processes.CreateSnapshot(SnapshotAllFlags);
  if (!snapshot) return NoProcess;

  const std::string wanted = text.UpperAnsi(
      processes.Family() == platform::PlatformFamily::WindowsNT ? FileNamePart(imageName)
                                                                : imageName);
  platform::ProcessEntry entry;
  for (bool more = snapshot->First(entry); more; more = snapshot->Next(entry)) {
    if (text.UpperAnsi(entry.exeFile) == wanted) return entry.processId;
  }
  return NoProcess;
}

void AffinityTick(TSQLConfigFile& settings, bool switchEnabled,
                  platform::IProcessService& processes, const platform::ITextServices& text) {
  if (!settings.ReadBool(SettingsSection, AllCoresKey, AllCoresDefault)) return;
  if (!switchEnabled) return;

  const std::int64_t processId = FindProcessId(processes, text, GameProcessName);
  if (processId == NoProcess) return;

  const std::unique_ptr<platform::IProcessHandle> process =
      processes.Open(static_cast<std::uint32_t>(processId), ProcessAllAccess);
  if (!process) return;

  std::uint64_t processMask = 0;
  std::uint64_t systemMask = 0;
  if (!process->GetAffinityMask(processMask, systemMask)) return;

  // Processors that the system lacks cannot be granted: on fewer than four the wanted mask
  // is narrowed to those there are, so that setting it can succeed. An empty mask is never
  // valid and is not tried.
  const std::uint64_t target = WantedProcessors & systemMask;
  if (target != 0 && processMask != target) process->SetAffinityMask(target);
}

}  // namespace qvn::gameclient

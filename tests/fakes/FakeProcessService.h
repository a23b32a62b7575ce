#pragma once
// A process service for tests: a scripted list of processes, each with its affinity, and
// counters of what the code under test asked for. Snapshots, opens, mask reads and mask
// sets can each be made to fail.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Processes.h"

namespace qvn::testing {

struct FakeProcess {
  std::uint32_t id = 0;
  std::string imageName;
  std::uint64_t processMask = 1;
  std::uint64_t systemMask = 15;
  bool openFails = false;
  bool readFails = false;
  bool setFails = false;
};

class FakeProcessService : public platform::IProcessService {
 public:
  std::unique_ptr<platform::IProcessSnapshot> CreateSnapshot(std::uint32_t flags) override;
  platform::PlatformFamily Family() const override { return family; }
  std::unique_ptr<platform::IProcessHandle> Open(std::uint32_t processId,
                                                 std::uint32_t access) override;

  // The process with the given id, or nullptr.
  FakeProcess* Find(std::uint32_t processId);

  // Script: the processes in snapshot order, and the system's answers.
  std::vector<FakeProcess> processes;
  platform::PlatformFamily family = platform::PlatformFamily::WindowsNT;
  bool snapshotFails = false;

  // What happened: calls (failed ones included) and their arguments.
  int snapshots = 0;
  int liveSnapshots = 0;  // taken and not yet released
  int opens = 0;
  int liveHandles = 0;  // opened and not yet closed
  int reads = 0;
  int sets = 0;
  std::vector<std::uint32_t> snapshotFlags;
  std::vector<std::uint32_t> openedIds;
  std::vector<std::uint32_t> openAccess;
  std::vector<std::uint64_t> masksSet;
};

}  // namespace qvn::testing

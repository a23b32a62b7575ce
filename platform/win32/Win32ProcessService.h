#pragma once
// Processes through the tool-help functions of kernel32 (looked up by name on first use, so
// that a system without them is a failure to take a snapshot rather than a failure to
// start) and the process affinity functions.

#include "platform/Processes.h"

namespace qvn::platform::win32 {

class Win32ProcessService : public IProcessService {
 public:
  // Nothing is looked up until the first snapshot.
  Win32ProcessService();
  ~Win32ProcessService() override;

  std::unique_ptr<IProcessSnapshot> CreateSnapshot(std::uint32_t flags) override;
  PlatformFamily Family() const override;
  std::unique_ptr<IProcessHandle> Open(std::uint32_t processId, std::uint32_t access) override;

  // The three tool-help entry points, all present or all null.
  struct ToolHelp;

 private:
  const ToolHelp& LookUpToolHelp();

  std::unique_ptr<ToolHelp> toolHelp_;  // null until the first look-up
};

}  // namespace qvn::platform::win32

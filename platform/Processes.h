#pragma once
// Processes of the system: a tool-help snapshot, and the affinity of one process.

#include <cstdint>
#include <memory>
#include <string>

namespace qvn::platform {

struct ProcessEntry {
  std::uint32_t processId = 0;
  std::string exeFile;  // the image name as the snapshot reports it (ANSI, up to 260 characters)
};

// A snapshot of the system's processes; the destructor releases it.
class IProcessSnapshot {
 public:
  virtual ~IProcessSnapshot() = default;
  // First and Next fill entry and return true, or return false after the last entry.
  virtual bool First(ProcessEntry& entry) = 0;
  virtual bool Next(ProcessEntry& entry) = 0;
};

// An open process; the destructor closes the handle.
class IProcessHandle {
 public:
  virtual ~IProcessHandle() = default;
  // Reads the process and system affinity masks; false on failure.
  virtual bool GetAffinityMask(std::uint64_t& processMask, std::uint64_t& systemMask) = 0;
  // Sets the process affinity mask; false on failure.
  virtual bool SetAffinityMask(std::uint64_t mask) = 0;
};

enum class PlatformFamily { Windows9x, WindowsNT, Other };

class IProcessService {
 public:
  virtual ~IProcessService() = default;
  // A snapshot taken with the given tool-help flags for all processes (process id 0),
  // or nullptr when it cannot be taken (tool-help missing included).
  virtual std::unique_ptr<IProcessSnapshot> CreateSnapshot(std::uint32_t flags) = 0;
  virtual PlatformFamily Family() const = 0;
  // Opens a process with the given access rights, not inheritable; nullptr on failure.
  virtual std::unique_ptr<IProcessHandle> Open(std::uint32_t processId, std::uint32_t access) = 0;
};

}  // namespace qvn::platform

#include "tests/fakes/FakeProcessService.h"

namespace qvn::testing {

namespace {

// Entries are copied when the snapshot is taken, as a real snapshot freezes the list.
class FakeSnapshot : public platform::IProcessSnapshot {
 public:
  FakeSnapshot(std::vector<platform::ProcessEntry> entries, int& live)
      : entries_(std::move(entries)), live_(live) {
    ++live_;
  }
  ~FakeSnapshot() override { --live_; }

  bool First(platform::ProcessEntry& entry) override {
    next_ = 0;
    return Next(entry);
  }
  bool Next(platform::ProcessEntry& entry) override {
    if (next_ >= entries_.size()) return false;
    entry = entries_[next_++];
    return true;
  }

 private:
  std::vector<platform::ProcessEntry> entries_;
  std::size_t next_ = 0;
  int& live_;
};

// Reads and sets go to the service's record of the process, so a test sees their effect.
class FakeHandle : public platform::IProcessHandle {
 public:
  FakeHandle(FakeProcessService& service, std::uint32_t id) : service_(service), id_(id) {
    ++service_.liveHandles;
  }
  ~FakeHandle() override { --service_.liveHandles; }

  bool GetAffinityMask(std::uint64_t& processMask, std::uint64_t& systemMask) override {
    ++service_.reads;
    const FakeProcess* process = service_.Find(id_);
    if (!process || process->readFails) return false;
    processMask = process->processMask;
    systemMask = process->systemMask;
    return true;
  }

  bool SetAffinityMask(std::uint64_t mask) override {
    ++service_.sets;
    service_.masksSet.push_back(mask);
    FakeProcess* process = service_.Find(id_);
    // As the system does: a mask naming a processor that is not there, or none, is refused.
    if (!process || process->setFails || mask == 0 || (mask & ~process->systemMask) != 0)
      return false;
    process->processMask = mask;
    return true;
  }

 private:
  FakeProcessService& service_;
  std::uint32_t id_;
};

}  // namespace

std::unique_ptr<platform::IProcessSnapshot> FakeProcessService::CreateSnapshot(
    std::uint32_t flags) {
  ++snapshots;
  snapshotFlags.push_back(flags);
  if (snapshotFails) return nullptr;
  std::vector<platform::ProcessEntry> entries;
  for (const FakeProcess& p : processes) entries.push_back({p.id, p.imageName});
  return std::make_unique<FakeSnapshot>(std::move(entries), liveSnapshots);
}

std::unique_ptr<platform::IProcessHandle> FakeProcessService::Open(std::uint32_t processId,
                                                                   std::uint32_t access) {
  ++opens;
  openedIds.push_back(processId);
  openAccess.push_back(access);
  const FakeProcess* process = Find(processId);
  if (!process || process->openFails) return nullptr;
  return std::make_unique<FakeHandle>(*this, processId);
}

FakeProcess* FakeProcessService::Find(std::uint32_t processId) {
  for (FakeProcess& p : processes)
    if (p.id == processId) return &p;
  return nullptr;
}

}  // namespace qvn::testing

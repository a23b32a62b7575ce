#include "tests/fakes/FaultyFileSystem.h"

#include <algorithm>

namespace qvn::testing {

namespace {

class FaultyFile : public platform::IFile {
 public:
  FaultyFile(std::unique_ptr<platform::IFile> real, FaultyFileSystem::Faults& faults,
             platform::IFileSystem& files, std::u16string path, bool grows)
      : real_(std::move(real)), faults_(faults), files_(files), path_(std::move(path)), grows_(grows) {}

  std::size_t Read(void* buffer, std::size_t count) override {
    const std::size_t got = real_->Read(buffer, count);
    if (grows_) {
      grows_ = false;
      auto writer = files_.Open(path_, platform::FileAccess::Write,
                                platform::ShareRead | platform::ShareWrite,
                                platform::FileDisposition::OpenExisting);
      writer->Seek(0, platform::SeekOrigin::End);
      writer->Write(faults_.growth.data(), faults_.growth.size());
    }
    return got;
  }

  std::size_t Write(const void* data, std::size_t count) override {
    const std::uint64_t offset = real_->Seek(0, platform::SeekOrigin::Current);
    std::size_t allowed = count;
    if (faults_.writesUntilFailure > 0 && --faults_.writesUntilFailure == 0)
      allowed = std::min(count, faults_.keptOnFailure);
    if (faults_.capacity)
      allowed = static_cast<std::size_t>(
          std::min<std::uint64_t>(allowed, *faults_.capacity > offset ? *faults_.capacity - offset : 0));
    const std::size_t stored = allowed > 0 ? real_->Write(data, allowed) : 0;
    if (faults_.record)
      faults_.writes.push_back({offset, std::string(static_cast<const char*>(data), count), stored});
    return stored;
  }

  std::uint64_t Seek(std::int64_t offset, platform::SeekOrigin origin) override {
    return real_->Seek(offset, origin);
  }
  std::uint64_t Size() override { return real_->Size(); }
  void Truncate() override { real_->Truncate(); }
  void Flush() override { real_->Flush(); }

 private:
  std::unique_ptr<platform::IFile> real_;
  FaultyFileSystem::Faults& faults_;
  platform::IFileSystem& files_;
  std::u16string path_;
  bool grows_;
};

}  // namespace

void FaultyFileSystem::FailWrite(const std::u16string& path, int nth, std::size_t kept) {
  faults_[path].writesUntilFailure = nth;
  faults_[path].keptOnFailure = kept;
}

void FaultyFileSystem::LimitSize(const std::u16string& path, std::optional<std::uint64_t> capacity) {
  faults_[path].capacity = capacity;
}

void FaultyFileSystem::GrowWhileRead(const std::u16string& path, std::string extra, int times) {
  faults_[path].growth = std::move(extra);
  faults_[path].growthsLeft = times;
}

void FaultyFileSystem::RecordWrites(const std::u16string& path) { faults_[path].record = true; }

std::unique_ptr<platform::IFile> FaultyFileSystem::Open(const std::u16string& path,
                                                        platform::FileAccess access, unsigned share,
                                                        platform::FileDisposition disposition) {
  auto file = real_.Open(path, access, share, disposition);
  // Every handle is wrapped, so that faults set while it is open apply to it.
  Faults& faults = faults_[path];
  const bool grows = faults.growthsLeft > 0 && access == platform::FileAccess::Read;
  if (grows) --faults.growthsLeft;
  return std::make_unique<FaultyFile>(std::move(file), faults, real_, path, grows);
}

}  // namespace qvn::testing

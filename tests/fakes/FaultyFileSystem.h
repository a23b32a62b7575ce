#pragma once
// A file system that passes every call to another one and injects, for chosen files, the
// faults that real disks and real programs cause: a write that stops short, a disk that
// fills up at a given file size, a file that another program extends while it is read. It
// can also record every write made to a file, with its position and bytes.
//
// Files are chosen by their path exactly as the code under test passes it. Faults apply to
// handles already open, too.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace qvn::testing {

class FaultyFileSystem : public platform::IFileSystem {
 public:
  struct WriteRecord {
    std::uint64_t offset = 0;
    std::string data;     // the bytes the caller asked to write
    std::size_t stored = 0;  // how many of them reached the file
  };

  explicit FaultyFileSystem(platform::IFileSystem& real) : real_(real) {}

  // The nth write to path from now on (1 for the next one) stores only kept bytes; the
  // writes before and after it work.
  void FailWrite(const std::u16string& path, int nth, std::size_t kept = 0);
  // The disk holding path is full once the file reaches capacity bytes: a write is cut off
  // there; making the file shorter frees the room again. Without a value the limit goes.
  void LimitSize(const std::u16string& path, std::optional<std::uint64_t> capacity);
  // After the first read through each of the next `times` handles opened on path, extra is
  // appended to the file, as if another program wrote to it meanwhile.
  void GrowWhileRead(const std::u16string& path, std::string extra, int times = 1);
  // Records every write to path from now on.
  void RecordWrites(const std::u16string& path);
  const std::vector<WriteRecord>& Writes(const std::u16string& path) { return faults_[path].writes; }

  std::unique_ptr<platform::IDirectoryListing> List(const std::u16string& pattern) const override {
    return real_.List(pattern);
  }
  std::optional<std::uint32_t> GetAttributes(const std::u16string& path) const override {
    return real_.GetAttributes(path);
  }
  void SetAttributes(const std::u16string& path, std::uint32_t attributes) override {
    real_.SetAttributes(path, attributes);
  }
  std::unique_ptr<platform::IFile> Open(const std::u16string& path, platform::FileAccess access,
                                        unsigned share, platform::FileDisposition disposition) override;
  bool RemoveFile(const std::u16string& path) noexcept override { return real_.RemoveFile(path); }
  void MakeDirectory(const std::u16string& path) override { real_.MakeDirectory(path); }
  void Rename(const std::u16string& from, const std::u16string& to, bool replaceExisting) override {
    real_.Rename(from, to, replaceExisting);
  }
  std::u16string CreateTemporaryFile(const std::u16string& folder, const std::u16string& prefix) override {
    return real_.CreateTemporaryFile(folder, prefix);
  }
  std::u16string TemporaryFolder() const override { return real_.TemporaryFolder(); }
  std::u16string CurrentDirectory() const override { return real_.CurrentDirectory(); }
  std::string LibraryPath(const std::u16string& path) const override { return real_.LibraryPath(path); }
  std::string ErrorMessage(std::uint32_t code) const override { return real_.ErrorMessage(code); }

  // The faults of one file; shared with its open handles.
  struct Faults {
    int writesUntilFailure = 0;  // 0: none pending
    std::size_t keptOnFailure = 0;
    std::optional<std::uint64_t> capacity;
    std::string growth;
    int growthsLeft = 0;
    bool record = false;
    std::vector<WriteRecord> writes;
  };

 private:
  platform::IFileSystem& real_;
  std::map<std::u16string, Faults> faults_;
};

}  // namespace qvn::testing

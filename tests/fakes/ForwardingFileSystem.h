#pragma once
// A file system that passes every call on to another one, for tests that change one
// operation (a write that stores less, an open that fails) and leave the rest real.

#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace qvn::testing {

class ForwardingFileSystem : public platform::IFileSystem {
 public:
  explicit ForwardingFileSystem(platform::IFileSystem& inner) : inner_(inner) {}

  std::unique_ptr<platform::IDirectoryListing> List(const std::u16string& pattern) const override {
    return inner_.List(pattern);
  }
  std::optional<std::uint32_t> GetAttributes(const std::u16string& path) const override {
    return inner_.GetAttributes(path);
  }
  void SetAttributes(const std::u16string& path, std::uint32_t attributes) override {
    inner_.SetAttributes(path, attributes);
  }
  std::unique_ptr<platform::IFile> Open(const std::u16string& path, platform::FileAccess access,
                                        unsigned share, platform::FileDisposition disposition) override {
    return inner_.Open(path, access, share, disposition);
  }
  bool RemoveFile(const std::u16string& path) noexcept override { return inner_.RemoveFile(path); }
  void MakeDirectory(const std::u16string& path) override { inner_.MakeDirectory(path); }
  void Rename(const std::u16string& from, const std::u16string& to, bool replaceExisting) override {
    inner_.Rename(from, to, replaceExisting);
  }
  std::u16string CreateTemporaryFile(const std::u16string& folder,
                                     const std::u16string& prefix) override {
    return inner_.CreateTemporaryFile(folder, prefix);
  }
  std::u16string TemporaryFolder() const override { return inner_.TemporaryFolder(); }
  std::u16string CurrentDirectory() const override { return inner_.CurrentDirectory(); }
  std::string LibraryPath(const std::u16string& path) const override { return inner_.LibraryPath(path); }
  std::string ErrorMessage(std::uint32_t code) const override { return inner_.ErrorMessage(code); }

 protected:
  platform::IFileSystem& inner_;
};

// A file that passes every call on to another one.
class ForwardingFile : public platform::IFile {
 public:
  explicit ForwardingFile(std::unique_ptr<platform::IFile> inner) : inner_(std::move(inner)) {}
  std::size_t Read(void* buffer, std::size_t count) override { return inner_->Read(buffer, count); }
  std::size_t Write(const void* data, std::size_t count) override { return inner_->Write(data, count); }
  std::uint64_t Seek(std::int64_t offset, platform::SeekOrigin origin) override {
    return inner_->Seek(offset, origin);
  }
  std::uint64_t Size() override { return inner_->Size(); }
  void Truncate() override { inner_->Truncate(); }
  void Flush() override { inner_->Flush(); }

 protected:
  std::unique_ptr<platform::IFile> inner_;
};

}  // namespace qvn::testing

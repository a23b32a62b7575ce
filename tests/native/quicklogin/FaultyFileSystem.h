#pragma once
// A file system that passes every call to a real one, except for the failures a test arms:
// a folder that cannot be made, a temporary file that cannot be created or opened, a disk
// that fills up after some bytes, a flush that fails, a rename that is refused. Armed errors
// carry the message that Windows gives them, full stop and line break included.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/OsError.h"

namespace qvn::testing {

class FaultyFileSystem : public platform::IFileSystem {
 public:
  explicit FaultyFileSystem(platform::IFileSystem& real) : real_(real) {}

  std::optional<std::uint32_t> makeDirectoryError;
  std::optional<std::uint32_t> createTemporaryError;
  std::optional<std::uint32_t> openError;
  std::optional<std::size_t> bytesUntilDiskFull;  // over all writes
  bool flushFails = false;
  std::optional<std::uint32_t> renameError;

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
                                        unsigned share, platform::FileDisposition disposition) override {
    if (openError) Fail(*openError);
    return std::make_unique<File>(*this, real_.Open(path, access, share, disposition));
  }
  bool RemoveFile(const std::u16string& path) noexcept override { return real_.RemoveFile(path); }
  void MakeDirectory(const std::u16string& path) override {
    if (makeDirectoryError) Fail(*makeDirectoryError);
    real_.MakeDirectory(path);
  }
  void Rename(const std::u16string& from, const std::u16string& to, bool replaceExisting) override {
    if (renameError) Fail(*renameError);
    real_.Rename(from, to, replaceExisting);
  }
  std::u16string CreateTemporaryFile(const std::u16string& folder,
                                     const std::u16string& prefix) override {
    if (createTemporaryError) Fail(*createTemporaryError);
    return real_.CreateTemporaryFile(folder, prefix);
  }
  std::u16string TemporaryFolder() const override { return real_.TemporaryFolder(); }
  std::u16string CurrentDirectory() const override { return real_.CurrentDirectory(); }
  std::string LibraryPath(const std::u16string& path) const override { return real_.LibraryPath(path); }
  std::string ErrorMessage(std::uint32_t code) const override { return real_.ErrorMessage(code) + ".\r\n"; }

 private:
  class File : public platform::IFile {
   public:
    File(FaultyFileSystem& owner, std::unique_ptr<platform::IFile> real)
        : owner_(owner), real_(std::move(real)) {}
    std::size_t Read(void* buffer, std::size_t count) override { return real_->Read(buffer, count); }
    std::size_t Write(const void* data, std::size_t count) override {
      auto& room = owner_.bytesUntilDiskFull;
      const std::size_t allowed = room ? std::min(count, *room) : count;
      const std::size_t written = real_->Write(data, allowed);
      if (room) *room -= written;
      return written;
    }
    std::uint64_t Seek(std::int64_t offset, platform::SeekOrigin origin) override {
      return real_->Seek(offset, origin);
    }
    std::uint64_t Size() override { return real_->Size(); }
    void Truncate() override { real_->Truncate(); }
    void Flush() override {
      if (owner_.flushFails) owner_.Fail(platform::oserror::WriteFault);
      real_->Flush();
    }

   private:
    FaultyFileSystem& owner_;
    std::unique_ptr<platform::IFile> real_;
  };

  [[noreturn]] void Fail(std::uint32_t code) const { throw platform::EOSError(code, ErrorMessage(code)); }

  platform::IFileSystem& real_;
};

}  // namespace qvn::testing

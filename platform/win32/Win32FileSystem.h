#pragma once
// The Windows file system through the UTF-16 (W) functions. Failures raise EOSError with the
// system's error code and its text; Write and RemoveFile report failure by their results.

#include "platform/FileSystem.h"

namespace qvn::platform::win32 {

class Win32FileSystem : public IFileSystem {
 public:
  std::unique_ptr<IDirectoryListing> List(const std::u16string& pattern) const override;
  std::optional<std::uint32_t> GetAttributes(const std::u16string& path) const override;
  void SetAttributes(const std::u16string& path, std::uint32_t attributes) override;
  std::unique_ptr<IFile> Open(const std::u16string& path, FileAccess access, unsigned share,
                              FileDisposition disposition) override;
  bool RemoveFile(const std::u16string& path) noexcept override;
  void MakeDirectory(const std::u16string& path) override;
  void Rename(const std::u16string& from, const std::u16string& to,
              bool replaceExisting) override;
  std::u16string CreateTemporaryFile(const std::u16string& folder,
                                     const std::u16string& prefix) override;
  std::u16string TemporaryFolder() const override;
  std::u16string CurrentDirectory() const override;
  // The path in UTF-8, which is what SQLite's Windows layer takes.
  std::string LibraryPath(const std::u16string& path) const override;
  std::string ErrorMessage(std::uint32_t code) const override;
};

}  // namespace qvn::platform::win32

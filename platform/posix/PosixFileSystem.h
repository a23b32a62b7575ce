#pragma once
// The file system on Linux, seen the way the program sees a Windows file system, so that
// the program's own path handling runs unchanged in native tests on real folders:
//
// - Paths are in Windows form. A drive "X:" maps to a folder chosen with MapDrive; Z: is
//   the root "/" unless mapped otherwise. "\" and "/" both separate; "\\?\" is accepted.
// - Names are looked up without regard to letter case when no exact match exists.
// - Attributes: Directory from the file type, ReadOnly from the owner's write permission,
//   Archive for plain files, Hidden for names beginning with "."; SetAttributes keeps the
//   hidden, system and archive bits in an extended attribute of the file.
// - Read-only files cannot be opened for writing, deleted or replaced, and files without the
//   owner's read permission cannot be opened for reading, also for root.
// - Sharing modes are enforced among the handles of this process, as Windows enforces them.
// - Errors carry Windows error codes and the English texts of their Windows messages.

#include <map>
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace qvn::platform::posix {

class PosixFileSystem : public IFileSystem {
 public:
  PosixFileSystem();
  ~PosixFileSystem() override;

  // Maps drive letter (A..Z) to a folder of the POSIX file system.
  void MapDrive(char16_t letter, const std::string& folder);
  // The POSIX path that a Windows-form path names (for tests that inspect files directly).
  std::string ToPosix(const std::u16string& path) const;
  // The Windows form of a POSIX path, through the mapped drives.
  std::u16string ToWindows(const std::string& posixPath) const;

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
  std::string LibraryPath(const std::u16string& path) const override;
  std::string ErrorMessage(std::uint32_t code) const override;

  class ShareTable;

 private:
  [[noreturn]] void Fail(std::uint32_t code) const;
  [[noreturn]] void FailErrno(int error, const std::string& posixPath) const;
  std::uint32_t ErrnoToCode(int error, const std::string& posixPath) const;

  std::map<char16_t, std::string> drives_;
  std::shared_ptr<ShareTable> shares_;
};

// Windows wildcard matching of one name: "*" any run, "?" one character, letter case
// ignored; "*.*" matches every name.
bool MatchesWildcard(std::u16string_view name, std::u16string_view pattern);

}  // namespace qvn::platform::posix

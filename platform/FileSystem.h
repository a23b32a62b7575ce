#pragma once
// Files and folders. All paths are UTF-16 in Windows form ("C:\Game\screenshots\a.bmp");
// the POSIX implementation maps that form onto its own file system (see posix/PosixFileSystem.h).
// Failures raise EOSError unless an operation says otherwise. (Names avoid those that
// <windows.h> defines as macros, such as DeleteFile or CreateDirectory.)

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Types.h"

namespace qvn::platform {

// File-attribute bits, as the Windows file system reports them.
namespace fileattr {
inline constexpr std::uint32_t ReadOnly = 0x0001;
inline constexpr std::uint32_t Hidden = 0x0002;
inline constexpr std::uint32_t System = 0x0004;
inline constexpr std::uint32_t VolumeLabel = 0x0008;
inline constexpr std::uint32_t Directory = 0x0010;
inline constexpr std::uint32_t Archive = 0x0020;
inline constexpr std::uint32_t Normal = 0x0080;
inline constexpr std::uint32_t Compressed = 0x0800;
inline constexpr std::uint32_t NotContentIndexed = 0x2000;
}  // namespace fileattr

// One entry of a folder listing.
struct DirEntry {
  std::u16string name;  // the name alone, no folder part
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  FileTime lastWriteTime = 0;
};

// An open folder search (find first / find next); the destructor closes it.
class IDirectoryListing {
 public:
  virtual ~IDirectoryListing() = default;
  // Fills entry with the next match and returns true, or returns false after the last one.
  virtual bool Next(DirEntry& entry) = 0;
};

enum class FileAccess { Read, Write, ReadWrite };

// What other openers of the same file are allowed while this handle is open.
enum FileShare : unsigned { ShareNone = 0, ShareRead = 1, ShareWrite = 2, ShareDelete = 4 };

enum class FileDisposition {
  OpenExisting,  // fail when the file does not exist
  CreateAlways,  // create, or empty an existing file
  CreateNew,     // fail when the file exists
};

enum class SeekOrigin { Begin, Current, End };

// An open file; the destructor closes it.
class IFile {
 public:
  virtual ~IFile() = default;
  // Reads up to count bytes; returns how many arrived (0 at the end of the file).
  // A failed read raises EOSError.
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Writes count bytes; returns how many were stored. A short count is how a failure (a full
  // disk, say) shows: Write does not raise, the caller decides what a short write means.
  virtual std::size_t Write(const void* data, std::size_t count) = 0;
  // Moves the file position; returns the new position from the start.
  virtual std::uint64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;
  virtual std::uint64_t Size() = 0;
  // Makes the current position the end of the file.
  virtual void Truncate() = 0;
  // Writes buffered data through to the disk.
  virtual void Flush() = 0;
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  // Lists the entries that match pattern: a folder, a separator and a name pattern with the
  // wildcards "*" and "?", matched without regard to letter case ("*.*" matches every name,
  // with or without a dot). Every entry is returned whatever its attributes, "." and ".."
  // included where the system reports them; filtering is the caller's. A folder that does not
  // exist or cannot be listed gives a listing that yields nothing.
  virtual std::unique_ptr<IDirectoryListing> List(const std::u16string& pattern) const = 0;

  // The attribute bits of a file or folder, or nothing when they cannot be read (no such path).
  virtual std::optional<std::uint32_t> GetAttributes(const std::u16string& path) const = 0;
  virtual void SetAttributes(const std::u16string& path, std::uint32_t attributes) = 0;

  virtual std::unique_ptr<IFile> Open(const std::u16string& path, FileAccess access,
                                      unsigned share, FileDisposition disposition) = 0;

  // Deletes a file; returns whether it was deleted. Never raises.
  virtual bool RemoveFile(const std::u16string& path) noexcept = 0;

  // Creates one folder (its parent must exist). An existing folder raises AlreadyExists.
  virtual void MakeDirectory(const std::u16string& path) = 0;

  // Renames a file, replacing an existing target when asked (the target must not be
  // read-only). Source and target are in the same folder or at least on the same volume.
  virtual void Rename(const std::u16string& from, const std::u16string& to,
                        bool replaceExisting) = 0;

  // Creates an empty file with a unique name in folder, the name beginning with prefix
  // (at most three characters are used), and returns its full path.
  virtual std::u16string CreateTemporaryFile(const std::u16string& folder,
                                             const std::u16string& prefix) = 0;
  // The system's folder for temporary files, ending in a separator.
  virtual std::u16string TemporaryFolder() const = 0;
  // The process's current working directory, without a trailing separator except at a root.
  virtual std::u16string CurrentDirectory() const = 0;

  // The same path as a C library that opens files itself (SQLite) must be given it: UTF-8,
  // in the system's own form.
  virtual std::string LibraryPath(const std::u16string& path) const = 0;

  // The system's message text for an error code (ANSI), as EOSError carries it.
  virtual std::string ErrorMessage(std::uint32_t code) const = 0;
};

}  // namespace qvn::platform

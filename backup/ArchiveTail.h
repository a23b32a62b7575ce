#pragma once
// The old part of an archive, from the first entry an update changes to the end of the file,
// kept in a temporary file while the update rewrites that part: entries behind the changed
// one are copied back from it, and a rollback puts it back whole. The temporary file is
// deleted when the copy goes.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace qvn {

class TArchiveTail {
 public:
  // Copies archive from start to its end into a new temporary file (prefix "FC") in folder.
  // A short write raises EZipWriterError 46; the archive is left as it was.
  TArchiveTail(platform::IFileSystem& files, const std::u16string& folder, platform::IFile& archive,
               std::uint64_t start);
  ~TArchiveTail();
  TArchiveTail(const TArchiveTail&) = delete;
  TArchiveTail& operator=(const TArchiveTail&) = delete;

  // Appends to the archive's current position the old entry whose local header was at
  // oldOffset (local header, name, extra field and compressedSize bytes of data).
  void CopyEntry(std::uint64_t oldOffset, std::uint64_t compressedSize, platform::IFile& archive);
  // Appends the whole old part at the archive's current position.
  void CopyAll(platform::IFile& archive);

 private:
  void Copy(platform::IFile& from, platform::IFile& to, std::uint64_t count);

  platform::IFileSystem& files_;
  std::u16string path_;
  std::unique_ptr<platform::IFile> copy_;
  std::uint64_t start_;
};

}  // namespace qvn

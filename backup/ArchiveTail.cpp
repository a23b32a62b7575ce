#include "backup/ArchiveTail.h"

#include <algorithm>
#include <vector>

#include "backup/ZipFormat.h"
#include "backup/ZipWriterError.h"

namespace qvn {

namespace {

constexpr std::size_t CopyBuffer = 512 * 1024;
constexpr std::size_t NameLengthOffset = 26;
constexpr std::size_t ExtraLengthOffset = 28;

std::uint16_t Get16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

TArchiveTail::TArchiveTail(platform::IFileSystem& files, const std::u16string& folder,
                           platform::IFile& archive, std::uint64_t start)
    : files_(files), path_(files.CreateTemporaryFile(folder, u"FC")), start_(start) {
  try {
    copy_ = files_.Open(path_, platform::FileAccess::ReadWrite, platform::ShareNone,
                        platform::FileDisposition::OpenExisting);
    const std::uint64_t end = archive.Seek(0, platform::SeekOrigin::End);
    archive.Seek(static_cast<std::int64_t>(start), platform::SeekOrigin::Begin);
    Copy(archive, *copy_, end - start);
  } catch (...) {
    copy_.reset();
    files_.RemoveFile(path_);
    throw;
  }
}

TArchiveTail::~TArchiveTail() {
  copy_.reset();
  files_.RemoveFile(path_);
}

void TArchiveTail::CopyEntry(std::uint64_t oldOffset, std::uint64_t compressedSize,
                             platform::IFile& archive) {
  unsigned char header[zipformat::LocalHeaderSize];
  copy_->Seek(static_cast<std::int64_t>(oldOffset - start_), platform::SeekOrigin::Begin);
  if (copy_->Read(header, sizeof header) != sizeof header) RaiseZipError(zipcode::StreamWrite);
  const std::uint64_t size = zipformat::LocalHeaderSize + Get16(header + NameLengthOffset) +
                             Get16(header + ExtraLengthOffset) + compressedSize;
  copy_->Seek(static_cast<std::int64_t>(oldOffset - start_), platform::SeekOrigin::Begin);
  Copy(*copy_, archive, size);
}

void TArchiveTail::CopyAll(platform::IFile& archive) {
  const std::uint64_t size = copy_->Seek(0, platform::SeekOrigin::End);
  copy_->Seek(0, platform::SeekOrigin::Begin);
  Copy(*copy_, archive, size);
}

void TArchiveTail::Copy(platform::IFile& from, platform::IFile& to, std::uint64_t count) {
  std::vector<unsigned char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(CopyBuffer, count)));
  while (count > 0) {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), count));
    const std::size_t got = from.Read(buffer.data(), wanted);
    if (got != wanted || to.Write(buffer.data(), got) != got) RaiseZipError(zipcode::StreamWrite);
    count -= got;
  }
}

}  // namespace qvn

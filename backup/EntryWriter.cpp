#include "backup/EntryWriter.h"

#include <zlib.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "backup/EntryNames.h"
#include "backup/RawDeflate.h"
#include "backup/ZipFormat.h"
#include "backup/ZipWriterError.h"
#include "platform/OsError.h"

namespace qvn {

namespace {

using platform::IFile;

// Source paths this long need the "\\?\" form to be opened at all.
constexpr std::size_t MaxPath = 260;
constexpr std::u16string_view LongPathPrefix = u"\\\\?\\";
constexpr std::size_t MaxStoredNameBytes = 0xFFFF;

struct CopiedData {
  std::uint32_t crc32 = 0;
  std::uint64_t written = 0;
  std::uint64_t read = 0;
};

void WriteAll(IFile& archive, const void* data, std::size_t size) {
  if (archive.Write(data, size) != size) RaiseZipError(zipcode::DiskFull);
}

// Reads up to count bytes; a read that fails counts as the end of the data, which the size
// check after the copy then reports.
std::size_t ReadChunk(IFile& source, unsigned char* buffer, std::size_t count) {
  try {
    return source.Read(buffer, count);
  } catch (const platform::EOSError&) {
    return 0;
  }
}

// Copies size bytes of source into the archive, deflated or stored as method says. Reading
// stops early when fewer bytes arrive than asked for.
CopiedData CopyData(IFile& source, std::uint64_t size, const TDirItem& item, IFile& archive) {
  const bool deflated = item.header.method == zipformat::MethodDeflated;
  const std::size_t bufferSize =
      static_cast<std::size_t>(std::min<std::uint64_t>(ChunkSize(item.compressionLevel), size));
  std::vector<unsigned char> input(bufferSize);
  std::vector<unsigned char> output;
  std::unique_ptr<TRawDeflate> deflate;
  if (deflated) {
    output.resize(DeflateOutputCapacity(bufferSize));
    deflate = std::make_unique<TRawDeflate>(item.compressionLevel);
  }

  CopiedData copied;
  uLong crc = crc32(0, nullptr, 0);
  while (copied.read < size) {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(bufferSize, size - copied.read));
    const std::size_t got = ReadChunk(source, input.data(), wanted);
    copied.read += got;
    if (got < wanted) break;
    crc = crc32(crc, input.data(), static_cast<uInt>(got));
    if (deflated) {
      const auto raw = deflate->Deflate(input.data(), got, output.data(), copied.read == size);
      WriteAll(archive, raw.data(), raw.size());
      copied.written += raw.size();
    } else {
      WriteAll(archive, input.data(), got);
      copied.written += got;
    }
  }
  copied.crc32 = static_cast<std::uint32_t>(crc);
  return copied;
}

}  // namespace

void WriteEntry(platform::IFileSystem& files, const platform::ITextServices& text,
                IFile& archive, TDirItem& item) {
  // The source path as messages show it, converted only when one needs it.
  const auto sourceText = [&] { return text.WideToAnsi(item.sourcePath); };
  const TStoredName stored = EncodeEntryName(text, item.name);
  if (stored.bytes.size() > MaxStoredNameBytes) RaiseZipError(zipcode::NameTooLong, {sourceText()});

  std::unique_ptr<IFile> source;
  if (!item.IsFolder()) {
    if (item.sourcePath.size() >= MaxPath && item.sourcePath.find(LongPathPrefix) == std::u16string::npos)
      RaiseZipError(zipcode::NameTooLong, {sourceText()});
    try {
      source = files.Open(item.sourcePath, platform::FileAccess::Read,
                          platform::ShareRead | platform::ShareWrite,
                          platform::FileDisposition::OpenExisting);
    } catch (const platform::EOSError&) {
      RaiseZipError(zipcode::CannotOpenSource, {sourceText()});
    }
  }

  const std::uint64_t offset = archive.Seek(0, platform::SeekOrigin::Current);
  const std::uint64_t sourceSize = source ? source->Size() : 0;
  if (offset >= zipformat::Limit32 || sourceSize >= zipformat::Limit32)
    RaiseZipError(zipcode::OffsetTooLarge, {sourceText()});

  zipformat::LocalHeader header;
  header.versionNeeded = zipformat::Version;
  header.flags = static_cast<std::uint16_t>(stored.utf8 ? item.header.flags | zipformat::FlagUtf8Name
                                                        : item.header.flags & ~zipformat::FlagUtf8Name);
  header.method = item.header.method;
  header.dosTime = item.header.dosTime;
  header.dosDate = item.header.dosDate;
  header.crc32 = item.header.crc32;
  header.uncompressedSize = static_cast<std::uint32_t>(sourceSize);
  header.nameLength = static_cast<std::uint16_t>(stored.bytes.size());

  // The header writes are checked like the data: a header cut short would leave an entry
  // that the central directory describes and no reader can find.
  std::string bytes;
  zipformat::AppendLocalHeader(bytes, header);
  bytes += stored.bytes;
  WriteAll(archive, bytes.data(), bytes.size());

  std::uint64_t sizeNow = 0;
  if (source) {
    if (sourceSize == 0) header.method = zipformat::MethodStored;
    const CopiedData copied = CopyData(*source, sourceSize, item, archive);
    sizeNow = source->Size();
    if (copied.read != sourceSize)
      RaiseZipError(zipcode::SizeChanged, {std::to_string(sourceSize), std::to_string(copied.read)});
    if (sizeNow != sourceSize)
      RaiseZipError(zipcode::SizeChanged, {std::to_string(sizeNow), std::to_string(copied.read)});
    if (copied.written >= zipformat::Limit32 || sizeNow >= zipformat::Limit32)
      RaiseZipError(zipcode::EntryTooLarge, {sourceText()});
    source.reset();

    header.crc32 = sourceSize == 0 ? 0 : copied.crc32;
    header.compressedSize = static_cast<std::uint32_t>(copied.written);
    bytes.clear();
    zipformat::AppendLocalHeader(bytes, header);
    archive.Seek(static_cast<std::int64_t>(offset), platform::SeekOrigin::Begin);
    WriteAll(archive, bytes.data(), bytes.size());
    archive.Seek(0, platform::SeekOrigin::End);
  }

  item.header.versionMadeBy = zipformat::Version;
  item.header.versionNeeded = zipformat::Version;
  item.header.flags = header.flags;
  item.header.method = header.method;
  item.header.crc32 = header.crc32;
  item.header.compressedSize = header.compressedSize;
  item.header.uncompressedSize = static_cast<std::uint32_t>(sizeNow);
  item.header.localHeaderOffset = static_cast<std::uint32_t>(offset);
  item.needs64 = false;
  item.uncompressedSize64 = sizeNow;
  item.compressedSize64 = header.compressedSize;
  item.localHeaderOffset64 = offset;
}

}  // namespace qvn

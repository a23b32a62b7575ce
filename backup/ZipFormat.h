#pragma once
// The fixed records of the archive file, serialised little-endian exactly as written: local
// file header, central file header, end of central directory and its ZIP64 counterparts.

#include <cstddef>
#include <cstdint>
#include <string>

#include "backup/DirItem.h"

namespace qvn::zipformat {

inline constexpr std::uint32_t LocalHeaderSignature = 0x04034B50;
inline constexpr std::uint32_t CentralHeaderSignature = 0x02014B50;
inline constexpr std::uint32_t EndSignature = 0x06054B50;
inline constexpr std::uint32_t Zip64EndSignature = 0x06064B50;
inline constexpr std::uint32_t Zip64LocatorSignature = 0x07064B50;

inline constexpr std::uint16_t Version = 20;       // host MS-DOS, format 2.0
inline constexpr std::uint16_t Zip64Version = 45;

inline constexpr std::uint16_t FlagFolder = 0x0002;
inline constexpr std::uint16_t FlagUtf8Name = 0x0800;

inline constexpr std::uint16_t MethodStored = 0;
inline constexpr std::uint16_t MethodDeflated = 8;

inline constexpr std::uint32_t PlaceholderCrc = 0xFFFFFFFF;

inline constexpr std::size_t LocalHeaderSize = 30;
inline constexpr std::size_t CentralHeaderSize = 46;
inline constexpr std::size_t EndRecordSize = 22;
inline constexpr std::size_t Zip64EndRecordSize = 56;
inline constexpr std::size_t Zip64LocatorSize = 20;

// Sizes and offsets from this value on do not fit the 32-bit fields.
inline constexpr std::uint64_t Limit32 = 0xFFFFFFFF;
// Entry counts from this value on do not fit the 16-bit fields.
inline constexpr std::uint64_t EntryCountLimit = 0xFFFF;

struct LocalHeader {
  std::uint16_t versionNeeded = Version;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint16_t dosTime = 0;
  std::uint16_t dosDate = 0;
  std::uint32_t crc32 = 0;
  std::uint32_t compressedSize = 0;
  std::uint32_t uncompressedSize = 0;
  std::uint16_t nameLength = 0;
  std::uint16_t extraLength = 0;
};

// Appends the 30 bytes of a local header.
void AppendLocalHeader(std::string& out, const LocalHeader& header);
// Appends the 46 bytes of a central header.
void AppendCentralHeader(std::string& out, const TCentralHeader& header);

// Appends the end records of a central directory of entryCount entries and size bytes
// starting at offset; the directory ends where these records begin, at
// offset + size. The ZIP64 record and locator come first when there are 65,535 entries
// or more, or when the records begin at or beyond 4 GiB; each 32-bit or 16-bit field of
// the end record is clipped to its maximum when the value does not fit.
void AppendEndRecords(std::string& out, std::uint64_t entryCount, std::uint64_t size,
                      std::uint64_t offset);

}  // namespace qvn::zipformat

#include "ZipLayout.h"

#include <stdexcept>

namespace qvn::testing {

namespace {

void Need(const std::string& bytes, std::uint64_t offset, std::uint64_t size) {
  if (offset + size > bytes.size()) throw std::runtime_error("record beyond the end of the file");
}

void ExpectSignature(const std::string& bytes, std::uint64_t offset, std::uint32_t signature) {
  if (Get32(bytes, offset) != signature) throw std::runtime_error("bad signature at " + std::to_string(offset));
}

}  // namespace

std::uint16_t Get16(const std::string& b, std::uint64_t o) {
  Need(b, o, 2);
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[o]) |
                                    (static_cast<unsigned char>(b[o + 1]) << 8));
}

std::uint32_t Get32(const std::string& b, std::uint64_t o) {
  return Get16(b, o) | (static_cast<std::uint32_t>(Get16(b, o + 2)) << 16);
}

std::uint64_t Get64(const std::string& b, std::uint64_t o) {
  return Get32(b, o) | (static_cast<std::uint64_t>(Get32(b, o + 4)) << 32);
}

ZipLayout ReadLayout(const std::string& b) {
  if (b.size() < 22) throw std::runtime_error("shorter than an end record");
  ZipLayout z;
  z.endRecordOffset = b.size() - 22;
  const std::uint64_t e = z.endRecordOffset;
  ExpectSignature(b, e, 0x06054B50);
  if (Get16(b, e + 4) != 0 || Get16(b, e + 6) != 0 || Get16(b, e + 20) != 0)
    throw std::runtime_error("disk numbers or comment length not zero");
  z.entriesOnDisk = Get16(b, e + 8);
  z.entriesTotal = Get16(b, e + 10);
  z.directorySize = Get32(b, e + 12);
  z.directoryOffset = Get32(b, e + 16);

  std::uint64_t count = z.entriesTotal, offset = z.directoryOffset, size = z.directorySize;
  if (e >= 20 && Get32(b, e - 20) == 0x07064B50) {
    z.zip64 = true;
    const std::uint64_t l = e - 20;
    if (Get32(b, l + 4) != 0 || Get32(b, l + 16) != 1) throw std::runtime_error("bad ZIP64 locator");
    z.zip64RecordOffset = Get64(b, l + 8);
    const std::uint64_t r = z.zip64RecordOffset;
    ExpectSignature(b, r, 0x06064B50);
    if (r + 56 != l || Get64(b, r + 4) != 44 || Get16(b, r + 12) != 45 || Get16(b, r + 14) != 45)
      throw std::runtime_error("bad ZIP64 end record");
    z.zip64Entries = Get64(b, r + 24);
    if (Get64(b, r + 32) != z.zip64Entries) throw std::runtime_error("ZIP64 counts differ");
    z.zip64DirectorySize = Get64(b, r + 40);
    z.zip64DirectoryOffset = Get64(b, r + 48);
    count = z.zip64Entries;
    size = z.zip64DirectorySize;
    offset = z.zip64DirectoryOffset;
  }

  std::uint64_t at = offset;
  for (std::uint64_t i = 0; i < count; ++i) {
    ExpectSignature(b, at, 0x02014B50);
    CentralRecord c;
    c.versionMadeBy = Get16(b, at + 4);
    c.versionNeeded = Get16(b, at + 6);
    c.flags = Get16(b, at + 8);
    c.method = Get16(b, at + 10);
    c.time = Get16(b, at + 12);
    c.date = Get16(b, at + 14);
    c.crc32 = Get32(b, at + 16);
    c.compressedSize = Get32(b, at + 20);
    c.uncompressedSize = Get32(b, at + 24);
    const std::uint16_t nameLength = Get16(b, at + 28);
    c.extraLength = Get16(b, at + 30);
    c.commentLength = Get16(b, at + 32);
    c.diskStart = Get16(b, at + 34);
    c.internalAttributes = Get16(b, at + 36);
    c.externalAttributes = Get32(b, at + 38);
    c.localOffset = Get32(b, at + 42);
    Need(b, at + 46, nameLength);
    c.name = b.substr(at + 46, nameLength);
    at += 46 + nameLength + c.extraLength + c.commentLength;
    z.entries.push_back(c);
  }
  if (at - offset != size) throw std::runtime_error("central directory size differs");
  return z;
}

LocalRecord ReadLocal(const std::string& b, std::uint64_t o) {
  ExpectSignature(b, o, 0x04034B50);
  LocalRecord l;
  l.versionNeeded = Get16(b, o + 4);
  l.flags = Get16(b, o + 6);
  l.method = Get16(b, o + 8);
  l.time = Get16(b, o + 10);
  l.date = Get16(b, o + 12);
  l.crc32 = Get32(b, o + 14);
  l.compressedSize = Get32(b, o + 18);
  l.uncompressedSize = Get32(b, o + 22);
  const std::uint16_t nameLength = Get16(b, o + 26);
  l.extraLength = Get16(b, o + 28);
  Need(b, o + 30, nameLength);
  l.name = b.substr(o + 30, nameLength);
  l.dataOffset = o + 30 + nameLength + l.extraLength;
  return l;
}

}  // namespace qvn::testing

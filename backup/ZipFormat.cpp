#include "backup/ZipFormat.h"

#include <algorithm>

namespace qvn::zipformat {

namespace {

void Put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, std::uint32_t v) {
  Put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<std::uint16_t>(v >> 16));
}

void Put64(std::string& out, std::uint64_t v) {
  Put32(out, static_cast<std::uint32_t>(v & 0xFFFFFFFF));
  Put32(out, static_cast<std::uint32_t>(v >> 32));
}

std::uint32_t Clip32(std::uint64_t v) { return static_cast<std::uint32_t>(std::min(v, Limit32)); }
std::uint16_t Clip16(std::uint64_t v) {
  return static_cast<std::uint16_t>(std::min(v, EntryCountLimit));
}

}  // namespace

void AppendLocalHeader(std::string& out, const LocalHeader& h) {
  Put32(out, LocalHeaderSignature);
  Put16(out, h.versionNeeded);
  Put16(out, h.flags);
  Put16(out, h.method);
  Put16(out, h.dosTime);
  Put16(out, h.dosDate);
  Put32(out, h.crc32);
  Put32(out, h.compressedSize);
  Put32(out, h.uncompressedSize);
  Put16(out, h.nameLength);
  Put16(out, h.extraLength);
}

void AppendCentralHeader(std::string& out, const TCentralHeader& h) {
  Put32(out, h.signature);
  Put16(out, h.versionMadeBy);
  Put16(out, h.versionNeeded);
  Put16(out, h.flags);
  Put16(out, h.method);
  Put16(out, h.dosTime);
  Put16(out, h.dosDate);
  Put32(out, h.crc32);
  Put32(out, h.compressedSize);
  Put32(out, h.uncompressedSize);
  Put16(out, h.nameLength);
  Put16(out, h.extraLength);
  Put16(out, h.commentLength);
  Put16(out, h.diskNumberStart);
  Put16(out, h.internalAttributes);
  Put32(out, h.externalAttributes);
  Put32(out, h.localHeaderOffset);
}

void AppendEndRecords(std::string& out, std::uint64_t entryCount, std::uint64_t size,
                      std::uint64_t offset) {
  const std::uint64_t end = offset + size;
  if (end >= Limit32 || entryCount >= EntryCountLimit) {
    Put32(out, Zip64EndSignature);
    Put64(out, Zip64EndRecordSize - 12);  // the size of the rest of the record
    Put16(out, Zip64Version);
    Put16(out, Zip64Version);
    Put32(out, 0);  // this disk
    Put32(out, 0);  // the disk where the central directory starts
    Put64(out, entryCount);
    Put64(out, entryCount);
    Put64(out, size);
    Put64(out, offset);

    Put32(out, Zip64LocatorSignature);
    Put32(out, 0);  // the disk holding the ZIP64 record
    Put64(out, end);
    Put32(out, 1);  // total number of disks
  }
  Put32(out, EndSignature);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, Clip16(entryCount));
  Put16(out, Clip16(entryCount));
  Put32(out, Clip32(size));
  Put32(out, Clip32(offset));
  Put16(out, 0);  // comment length
}

}  // namespace qvn::zipformat

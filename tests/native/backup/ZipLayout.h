#pragma once
// A walk over the records of a ZIP file, written for the tests from the format alone, so that
// they can check the writer's bytes field by field.

#include <cstdint>
#include <string>
#include <vector>

namespace qvn::testing {

std::uint16_t Get16(const std::string& bytes, std::uint64_t offset);
std::uint32_t Get32(const std::string& bytes, std::uint64_t offset);
std::uint64_t Get64(const std::string& bytes, std::uint64_t offset);

struct LocalRecord {
  std::uint16_t versionNeeded = 0, flags = 0, method = 0, time = 0, date = 0;
  std::uint32_t crc32 = 0, compressedSize = 0, uncompressedSize = 0;
  std::uint16_t extraLength = 0;
  std::string name;  // the stored bytes
  std::uint64_t dataOffset = 0;
};

struct CentralRecord {
  std::uint16_t versionMadeBy = 0, versionNeeded = 0, flags = 0, method = 0, time = 0, date = 0;
  std::uint32_t crc32 = 0, compressedSize = 0, uncompressedSize = 0;
  std::uint16_t extraLength = 0, commentLength = 0, diskStart = 0, internalAttributes = 0;
  std::uint32_t externalAttributes = 0, localOffset = 0;
  std::string name;  // the stored bytes
};

struct ZipLayout {
  // The end record as written (16-bit counts and 32-bit size and offset, clipped).
  std::uint16_t entriesOnDisk = 0, entriesTotal = 0;
  std::uint32_t directorySize = 0, directoryOffset = 0;
  std::uint64_t endRecordOffset = 0;
  bool zip64 = false;  // a ZIP64 record and locator stand before the end record
  std::uint64_t zip64Entries = 0, zip64DirectorySize = 0, zip64DirectoryOffset = 0;
  std::uint64_t zip64RecordOffset = 0;  // as the locator gives it
  std::vector<CentralRecord> entries;
};

// Reads the end record at the end of bytes (no archive comment), the ZIP64 records when
// present, and every central header. Raises std::runtime_error for anything malformed.
ZipLayout ReadLayout(const std::string& bytes);
LocalRecord ReadLocal(const std::string& bytes, std::uint64_t offset);

}  // namespace qvn::testing

#pragma once
// The entry record of the archive writer: one per archive entry, in archive order. Its fixed
// part is the entry's central-directory header field for field, written to the central
// directory as it stands; the rest is the writer's bookkeeping.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace qvn {

// The kind of change an update makes to an entry.
enum class TProcessOperation {
  poAdd = 0,     // a new entry
  poUpdate = 3,  // an existing entry replaced by a file of the same name
};

// The central file header without its variable parts (the format's field order and widths).
struct TCentralHeader {
  std::uint32_t signature = 0;
  std::uint16_t versionMadeBy = 0;
  std::uint16_t versionNeeded = 0;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint16_t dosTime = 0;
  std::uint16_t dosDate = 0;
  std::uint32_t crc32 = 0;
  std::uint32_t compressedSize = 0;
  std::uint32_t uncompressedSize = 0;
  std::uint16_t nameLength = 0;
  std::uint16_t extraLength = 0;
  std::uint16_t commentLength = 0;
  std::uint16_t diskNumberStart = 0;
  std::uint16_t internalAttributes = 0;
  std::uint32_t externalAttributes = 0;
  std::uint32_t localHeaderOffset = 0;
};

struct TExtraField {
  std::uint16_t headerId = 0;
  std::vector<std::uint8_t> data;  // its size is the field's data size
};

struct TDirItem {
  TCentralHeader header;
  std::u16string name;  // "/" between folders; a folder's name ends in "/"
  std::string comment;
  std::vector<TExtraField> extraFields;
  // Set when a 32-bit size or offset field holds 0xFFFFFFFF and the value lives below.
  bool needs64 = false;
  std::uint64_t uncompressedSize64 = 0;
  std::uint64_t compressedSize64 = 0;
  std::uint64_t localHeaderOffset64 = 0;
  bool modified = false;  // to be written by the running update
  std::string password;
  std::u16string sourcePath;  // full path; a folder's ends in "\"
  int compressionLevel = 0;
  TProcessOperation operation = TProcessOperation::poAdd;

  bool IsFolder() const { return (header.externalAttributes & platform::fileattr::Directory) != 0; }
  std::uint64_t LocalHeaderOffset() const {
    return needs64 && header.localHeaderOffset == 0xFFFFFFFFu ? localHeaderOffset64
                                                               : header.localHeaderOffset;
  }
  std::uint64_t CompressedSize() const {
    return needs64 && header.compressedSize == 0xFFFFFFFFu ? compressedSize64
                                                            : header.compressedSize;
  }
};

}  // namespace qvn

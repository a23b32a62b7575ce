#pragma once
// A folder search with an attribute filter, as the toolkit's FindFirst/FindNext give it:
// an entry that carries the hidden, system, volume-label or directory bit is skipped unless
// the filter has that bit too. Every other entry is returned, whatever its other bits.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace qvn::platform {

class FilteredSearch {
 public:
  FilteredSearch(const IFileSystem& files, const std::u16string& pattern, std::uint32_t filter);
  // Fills entry with the next admitted entry; false after the last one.
  bool Next(DirEntry& entry);

 private:
  std::unique_ptr<IDirectoryListing> listing_;
  std::uint32_t excluded_;
};

}  // namespace qvn::platform

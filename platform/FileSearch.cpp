#include "platform/FileSearch.h"

namespace qvn::platform {

namespace {
constexpr std::uint32_t FilterableBits =
    fileattr::Hidden | fileattr::System | fileattr::VolumeLabel | fileattr::Directory;
}

FilteredSearch::FilteredSearch(const IFileSystem& files, const std::u16string& pattern,
                               std::uint32_t filter)
    : listing_(files.List(pattern)), excluded_(~filter & FilterableBits) {}

bool FilteredSearch::Next(DirEntry& entry) {
  while (listing_->Next(entry)) {
    if ((entry.attributes & excluded_) == 0) return true;
  }
  return false;
}

}  // namespace qvn::platform

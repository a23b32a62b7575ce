#pragma once
// Writing the central directory and the end records that close every committed update.

#include <cstdint>
#include <span>

#include "backup/DirItem.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace qvn {

// Writes, from the archive's current end, one central header with its name for each item in
// order, then the end records (ZIP64 ones first when there are 65,535 entries or more or the
// directory ends at or beyond 4 GiB), and leaves the position behind them. Each name is
// encoded afresh; the item's name length becomes the stored byte count and its UTF-8 flag
// is set or cleared to match. Every byte must reach the file: a short write raises
// EZipWriterError 46 and leaves what was written. Returns the directory's offset.
std::uint64_t WriteCentralDirectory(platform::IFile& archive, const platform::ITextServices& text,
                                    std::span<TDirItem> items);

}  // namespace qvn

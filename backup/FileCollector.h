#pragma once
// The collection half of AddByMask: walks the folder tree that a mask names and gives every
// file and folder it accepts an entry record. Nothing is read from the files and nothing is
// written; the commit that follows writes the records.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "backup/ArchivePaths.h"
#include "backup/EntryList.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace qvn {

struct TCollectionSettings {
  std::u16string base;  // the folder that masks and entry names are relative to
  std::uint32_t filter = 0;  // file-attribute bits; the directory bit gives folders entries
  std::vector<std::u16string> exclusions;
  bool recurse = true;
  int compressionLevel = 1;  // for files; folders get 0
  std::uint16_t method = 8;  // for files with data
  std::vector<std::u16string> noCompressionMasks;  // files whose path matches are stored
};

class TFileCollector {
 public:
  // entries: the writer's list; records are appended to it, or replace those of the same
  // name (letter case aside) in their place. Entries before committedCount come from earlier
  // commits: replacing one of them is an update, anything else an addition.
  TFileCollector(const platform::IFileSystem& files, const platform::ITextServices& text,
                 const platform::IClock& clock, TCollectionSettings settings,
                 TEntryList& entries, std::size_t committedCount);

  // Collects what mask selects, depth first: a folder's files in listing order, then for
  // each subfolder its own entry and everything inside it. The folder the mask names gets no
  // entry. A folder that is missing or cannot be listed adds nothing. Attributes, sizes and
  // times come from the listings; folders carry the current time.
  void Collect(const std::u16string& mask);

 private:
  void SearchLevel(const std::u16string& fullMask, const std::u16string& levelMask, bool recurse);
  void SearchSubfolders(const std::u16string& folder, const std::u16string& fullMask,
                        const std::u16string& levelMask, bool recurse);
  bool ProcessFound(const std::u16string& folder, const platform::DirEntry& found);
  void Add(const std::u16string& path, const platform::DirEntry& found);
  bool Excluded(const std::u16string& upperPath, bool folder) const;

  const platform::IFileSystem& files_;
  const platform::ITextServices& text_;
  const platform::IClock& clock_;
  TCollectionSettings settings_;
  std::vector<TExclusionMask> exclusions_;
  TEntryList& entries_;
  std::size_t committedCount_;
  std::u16string passedMask_;
};

}  // namespace qvn

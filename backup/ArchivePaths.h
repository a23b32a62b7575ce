#pragma once
// Path and mask rules of the file collection: wildcard matching, masks resolved against a
// folder, entry names relative to the base folder, and exclusion masks. Text only; nothing
// here touches the file system.

#include <string>
#include <string_view>

#include "platform/Text.h"

namespace qvn {

// Whether the whole text matches the whole mask: "*" stands for any run of characters
// (separators included, and none), "?" for exactly one; every other character matches
// itself. The mask "*.*" matches every text. Both arguments must be upper-cased already.
bool MatchesUpperMask(std::u16string_view text, std::u16string_view mask);

// The same without regard to letter case (both upper-cased by the user's locale).
bool MatchesMask(const platform::ITextServices& text, std::u16string_view value,
                 std::u16string_view mask);

// mask resolved against folder into a full mask: "\x" and "x" are taken below folder, ".\x"
// too; a lone separator names folder itself; a network path ("\\server\..."), a mask with a
// drive colon and one that climbs with "..\" or "../" stay as they are. A separator is put
// between folder and mask unless folder ends with one.
std::u16string ResolveMask(const std::u16string& mask, const std::u16string& folder);

// The entry name of path inside the archive, relative to base (a folder, with or without
// trailing separator): one trailing separator and then one trailing "." are dropped, the
// leading folders that path shares with base (compared without regard to letter case, empty
// components ignored) are cut off, and "\" becomes "/". The rest keeps the spelling of path.
// A path outside base keeps its full form without the drive or the network server.
std::u16string EntryNameOf(const platform::ITextServices& text, std::u16string path,
                           const std::u16string& base);

// path made absolute against currentDirectory (which has no trailing separator except at a
// root): a path with a drive or a network path stays, "\x" goes on the current drive.
std::u16string ExpandPath(const std::u16string& path, const std::u16string& currentDirectory);

// One exclusion mask. A mask with a drive excludes the paths of its folder that match it
// and, when its file-name part is "*.*", everything below its folder; the mask "*.*"
// excludes everything; a mask without a drive is matched against the whole path (so that
// "*.tmp" excludes every such file). Folders are tested with a trailing separator on the
// path, and on the mask unless it ends in "*".
class TExclusionMask {
 public:
  TExclusionMask(const platform::ITextServices& text, const std::u16string& mask);
  // upperPath: the path upper-cased by the user's locale.
  bool Excludes(const std::u16string& upperPath, bool folder) const;

 private:
  std::u16string fileMask_;
  std::u16string folderMask_;
};

}  // namespace qvn

#pragma once
// The screenshot converter's timer tick: while "ToJPEG" is on and a game folder is stored,
// converts up to eleven BMP files of the game's "screenshots" folder into JPEG files and
// deletes the converted BMP files. Failures of single files are passed over silently.
//
// Every entry that matches "*.bmp" is tried, hidden, system and read-only files and folders
// included, in the order the folder search gives them; "." and ".." are passed over. Each
// becomes the JPEG file that JpegNameFor names, written completely before it replaces an
// existing file of that name (see WriteJpegFile), and the BMP file is deleted only after
// that; whether the deletion succeeds is not looked at, so a read-only BMP file is converted
// again at every tick. An entry that fails (not a BMP file, held open for writing by the
// game, a target that cannot be replaced) changes nothing and does not count.

#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace qvn {

class TSQLConfigFile;

class TScreenshotConverter {
 public:
  TScreenshotConverter(platform::IFileSystem& files, const platform::ITextServices& text);
  // One tick. "ToJPEG" (false when not stored) and "GameFolder" are read from the store
  // at every tick, the folder once more for each path formed, nothing kept between reads.
  // Only errors of the settings store while the tick decides whether and where to search
  // propagate; within a file's conversion every error is that file's failure.
  void Tick(TSQLConfigFile& settings);

 private:
  platform::IFileSystem& files_;
  const platform::ITextServices& text_;
};

}  // namespace qvn

#pragma once
// The screenshot converter's timer tick: while "ToJPEG" is on and a game folder is stored,
// converts up to eleven BMP files of the game's "screenshots" folder into JPEG files and
// deletes the converted BMP files. Failures of single files are passed over silently.

#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace qvn {

class TSQLConfigFile;

class TScreenshotConverter {
 public:
  TScreenshotConverter(platform::IFileSystem& files, const platform::ITextServices& text);
  // One tick; only errors of the settings store propagate.
  void Tick(TSQLConfigFile& settings);

 private:
  platform::IFileSystem& files_;
  const platform::ITextServices& text_;
};

}  // namespace qvn

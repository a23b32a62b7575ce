#include "screenshots/ScreenshotConverter.h"

#include "platform/FileSearch.h"
#include "screenshots/ImageFiles.h"
#include "screenshots/ScreenshotNames.h"
#include "settings/SQLConfFiles.h"

namespace qvn {

namespace {

constexpr const char* Section = "Usage";
constexpr const char* SwitchKey = "ToJPEG";
constexpr const char* GameFolderKey = "GameFolder";

const std::u16string ScreenshotsSubfolder = u"\\screenshots\\";
const std::u16string BmpPattern = u"*.bmp";
// Every kind of entry: read-only, hidden, system, volume label, folder, archive (63).
constexpr std::uint32_t EveryEntry = platform::fileattr::ReadOnly | platform::fileattr::Hidden |
                                     platform::fileattr::System | platform::fileattr::VolumeLabel |
                                     platform::fileattr::Directory | platform::fileattr::Archive;
constexpr int MaxConversionsPerTick = 11;

// The screenshots folder with its trailing separator, from the game folder as stored now.
// Each path is formed from a fresh read of the setting; nothing is kept between them.
std::u16string ScreenshotsFolder(TSQLConfigFile& settings, const platform::ITextServices& text) {
  return text.AnsiToWide(settings.ReadString(Section, GameFolderKey)) + ScreenshotsSubfolder;
}

// Converts one entry and deletes its BMP file; whether the deletion succeeds is not looked at.
// Returns false, having changed nothing, when the entry cannot be converted.
bool ConvertEntry(TSQLConfigFile& settings, platform::IFileSystem& files,
                  const platform::ITextServices& text, const std::u16string& name) noexcept {
  try {
    const std::u16string target = JpegNameFor(name, text);
    if (target.empty()) return false;
    {
      const Bitmap bitmap = ReadBitmapFile(files, text, ScreenshotsFolder(settings, text) + name);
      WriteJpegFile(files, text, bitmap, ScreenshotsFolder(settings, text) + target);
    }  // the image is released before the source goes
    files.RemoveFile(ScreenshotsFolder(settings, text) + name);
    return true;
  } catch (...) {
    return false;  // timer work shows nothing; the file is tried again at the next tick
  }
}

}  // namespace

TScreenshotConverter::TScreenshotConverter(platform::IFileSystem& files,
                                           const platform::ITextServices& text)
    : files_(files), text_(text) {}

void TScreenshotConverter::Tick(TSQLConfigFile& settings) {
  if (!settings.ReadBool(Section, SwitchKey, false)) return;
  if (settings.ReadString(Section, GameFolderKey).empty()) return;

  platform::FilteredSearch search(files_, ScreenshotsFolder(settings, text_) + BmpPattern, EveryEntry);
  int converted = 0;
  platform::DirEntry entry;
  while (converted < MaxConversionsPerTick && search.Next(entry)) {
    if (entry.name == u"." || entry.name == u"..") continue;
    if (ConvertEntry(settings, files_, text_, entry.name)) ++converted;
  }
}

}  // namespace qvn

// Reading BMP files, writing JPEG files and converting a screenshots folder through the real
// Win32 file system, with its own sharing rules, attributes and replacing moves.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "BmpFiles.h"
#include "JpegSegments.h"
#include "platform/OsError.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Text.h"
#include "screenshots/ImageErrors.h"
#include "screenshots/ImageFiles.h"
#include "screenshots/ScreenshotConverter.h"
#include "settings/SQLConfFiles.h"
#include "tests/win/support/TestFolder.h"

namespace qvn {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;
using platform::FileAccess;
using platform::FileDisposition;

class ScreenshotFilesWinTest : public ::testing::Test {
 protected:
  void Create(const std::u16string& path, const std::string& content) {
    auto file = files.Open(path, FileAccess::Write, platform::ShareNone, FileDisposition::CreateAlways);
    ASSERT_EQ(file->Write(content.data(), content.size()), content.size());
  }
  std::string Content(const std::u16string& path) {
    auto file = files.Open(path, FileAccess::Read, platform::ShareRead, FileDisposition::OpenExisting);
    std::string content(static_cast<std::size_t>(file->Size()), '\0');
    content.resize(file->Read(content.data(), content.size()));
    return content;
  }
  // The names in a folder, sorted, in ANSI.
  std::vector<std::string> Names(const std::u16string& in) {
    std::vector<std::string> names;
    auto listing = files.List(in + u"\\*");
    for (platform::DirEntry e; listing->Next(e);)
      if (e.name != u"." && e.name != u"..") names.push_back(text.WideToAnsi(e.name));
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::vector<int> Markers(const std::string& jpeg) {
    std::vector<int> markers;
    for (const auto& s : testing::Segments(jpeg)) markers.push_back(s.marker);
    return markers;
  }

  testing::TestFolder folder{"screenshots"};
  platform::win32::Win32FileSystem files;
  platform::win32::Win32Text text;
  const std::string bmp = testing::Bmp24(testing::PhotographicPicture(64, 48));
};

TEST_F(ScreenshotFilesWinTest, ReadsABmpFileAndWritesAJpegFileInItsPlace) {
  Create(folder / u"shot.bmp", bmp);
  Create(folder / u"shot.jpg", "the old picture");
  const Bitmap bitmap = ReadBitmapFile(files, text, folder / u"shot.bmp");
  EXPECT_EQ(bitmap.width, 64u);
  EXPECT_EQ(bitmap.height, 48u);
  WriteJpegFile(files, text, bitmap, folder / u"shot.jpg");
  EXPECT_THAT(Markers(Content(folder / u"shot.jpg")),
              ElementsAre(0xD8, 0xE0, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA, 0xD9));
  EXPECT_THAT(Names(folder.Path()), ElementsAre("shot.bmp", "shot.jpg")) << "no temporary file left";
}

TEST_F(ScreenshotFilesWinTest, AReadOnlyTargetStaysAsItWas) {
  Create(folder / u"shot.jpg", "the old picture");
  files.SetAttributes(folder / u"shot.jpg", platform::fileattr::ReadOnly);
  try {
    WriteJpegFile(files, text, testing::Decode(bmp), folder / u"shot.jpg");
    FAIL() << "written";
  } catch (const EImageFileError& e) {
    EXPECT_THAT(std::string(e.what()),
                StartsWith("Cannot create file \"" + folder.Ansi("shot.jpg") + "\". " +
                           files.ErrorMessage(platform::oserror::AccessDenied)));
  }
  EXPECT_EQ(Content(folder / u"shot.jpg"), "the old picture");
  EXPECT_THAT(Names(folder.Path()), ElementsAre("shot.jpg"));
}

// The game writes its screenshot through a handle of its own: the converter leaves the file
// alone until that handle is closed, then converts it.
TEST_F(ScreenshotFilesWinTest, ConverterWaitsForAScreenshotStillBeingWritten) {
  files.MakeDirectory(folder / u"screenshots");
  const std::u16string shots = folder / u"screenshots";
  Create(shots + u"\\busy.bmp", bmp);
  Create(shots + u"\\SHOT.BMP", bmp);
  const std::u16string database = folder / u"brisklet.db";
  TSQLConfigFile settings(text.WideToAnsi(database), files.LibraryPath(database));
  settings.WriteString("Usage", "GameFolder", folder.Ansi());
  settings.WriteBool("Usage", "ToJPEG", true);
  TScreenshotConverter converter(files, text);
  {
    const auto game = files.Open(shots + u"\\busy.bmp", FileAccess::Write,
                                 platform::ShareRead | platform::ShareWrite, FileDisposition::OpenExisting);
    EXPECT_THROW(ReadBitmapFile(files, text, shots + u"\\busy.bmp"), EImageFileError);
    converter.Tick(settings);
    EXPECT_THAT(Names(shots), ElementsAre("SHOT.jpg", "busy.bmp"));
  }
  converter.Tick(settings);
  EXPECT_THAT(Names(shots), ElementsAre("SHOT.jpg", "busy.jpg"));
  EXPECT_THAT(Markers(Content(shots + u"\\busy.jpg")).back(), 0xD9);
}

}  // namespace
}  // namespace qvn

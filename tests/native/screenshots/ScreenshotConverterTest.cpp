#include "screenshots/ScreenshotConverter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "BmpFiles.h"
#include "JpegReading.h"
#include "platform/Utf.h"
#include "platform/posix/PosixText.h"
#include "settings/SQLConfFiles.h"
#include "tests/fakes/TempFolder.h"

namespace qvn {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using platform::FileAccess;
using platform::FileDisposition;

class ScreenshotConverterTest : public ::testing::Test {
 protected:
  ScreenshotConverterTest() : settings(temp.Posix() + "/brisklet.db"), converter(temp.Files(), text) {
    settings.WriteString("Usage", "GameFolder", "C:\\Game");
    settings.WriteBool("Usage", "ToJPEG", true);
    temp.MakeFolder("Game/screenshots");
  }

  // A screenshot in the game's folder; by default a real BMP file.
  void Shot(const std::string& name, const std::string& content = Bmp()) {
    temp.Write("Game/screenshots/" + name, content);
  }
  static std::string Bmp() { return testing::Bmp24(testing::PhotographicPicture(8, 6)); }
  std::u16string WindowsPath(const std::string& name) {
    return u"C:\\Game\\screenshots\\" + platform::Utf8ToUtf16(name);
  }

  // The names in the screenshots folder, sorted, UTF-8.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(temp.Posix() + "/Game/screenshots"))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::size_t Count(const std::string& extension) const {
    const auto names = Names();
    return static_cast<std::size_t>(std::count_if(names.begin(), names.end(), [&](const std::string& n) {
      return n.size() >= extension.size() && n.compare(n.size() - extension.size(), extension.size(), extension) == 0;
    }));
  }
  // Whether the file is the JPEG of the 8-by-6 screenshot.
  bool IsShotJpeg(const std::string& name) const {
    try {
      const auto decoded = testing::DecodeJpeg(temp.Read("Game/screenshots/" + name));
      return decoded.width == 8 && decoded.height == 6;
    } catch (const std::exception&) {
      return false;
    }
  }

  testing::TempFolder temp;
  platform::posix::PosixText text;
  TSQLConfigFile settings;
  TScreenshotConverter converter;
};

TEST_F(ScreenshotConverterTest, TouchesNothingWhileSwitchedOffOrWithoutGameFolder) {
  Shot("a.bmp");
  const std::vector<std::pair<std::string, std::string>> states = {
      {"false", "C:\\Game"}, {"yes", "C:\\Game"}, {"true", ""}};
  for (const auto& [toJpeg, folder] : states) {
    settings.WriteString("Usage", "ToJPEG", toJpeg);
    settings.WriteString("Usage", "GameFolder", folder);
    converter.Tick(settings);
    EXPECT_THAT(Names(), ElementsAre("a.bmp")) << toJpeg << " " << folder;
  }
}

TEST_F(ScreenshotConverterTest, MissingFolderOrNoBmpFilesIsQuiet) {
  Shot("a.jpg", "x");
  Shot("readme.txt", "x");
  converter.Tick(settings);
  EXPECT_THAT(Names(), ElementsAre("a.jpg", "readme.txt"));
  settings.WriteString("Usage", "GameFolder", "C:\\Nowhere");
  EXPECT_NO_THROW(converter.Tick(settings));
}

TEST_F(ScreenshotConverterTest, ConvertsElevenATickAndDeletesTheBmpFiles) {
  for (int i = 0; i < 12; ++i) Shot("shot" + std::to_string(100 + i) + ".bmp");
  converter.Tick(settings);
  EXPECT_EQ(Count(".jpg"), 11u);
  EXPECT_THAT(Count(".bmp"), 1u);
  EXPECT_TRUE(IsShotJpeg("shot100.jpg"));
  converter.Tick(settings);
  EXPECT_EQ(Count(".jpg"), 12u);
  EXPECT_EQ(Count(".bmp"), 0u);
  EXPECT_TRUE(IsShotJpeg("shot111.jpg"));
}

// Entries that fail are passed over without being counted; eleven good ones still go.
TEST_F(ScreenshotConverterTest, FailingEntriesAheadDoNotCount) {
  Shot("a1.bmp", "not a bitmap at all");
  Shot("a2.bmp", std::string("\xFF\xD8\xFF\xE0", 4));
  Shot("a3.bmp");  // still being written by the game
  temp.MakeFolder("Game/screenshots/a4old.bmp");
  Shot("a5.bmp", Bmp().substr(0, 30));  // ends inside its header
  for (int i = 0; i < 12; ++i) Shot("b" + std::to_string(10 + i) + ".bmp");
  const auto writer = temp.Files().Open(WindowsPath("a3.bmp"), FileAccess::Write,
                                        platform::ShareRead | platform::ShareWrite, FileDisposition::OpenExisting);
  converter.Tick(settings);
  EXPECT_EQ(Count(".jpg"), 11u);
  EXPECT_THAT(Names(), ::testing::IsSupersetOf({"a1.bmp", "a2.bmp", "a3.bmp", "a4old.bmp", "a5.bmp", "b21.bmp"}));
  EXPECT_EQ(Names().size(), 5u + 11u + 1u) << "no JPEG of a failed entry, no temporary file";
}

TEST_F(ScreenshotConverterTest, TargetNamesReplaceBmpAndNeverTheSource) {
  // Names on the POSIX side are UTF-8; the second is beyond Windows-1251.
  const std::string cyrillic = platform::Utf16ToUtf8(u"Скриншот 01.bmp");
  const std::string cjk = "\xE5\x90\x8D.BMP";
  for (const std::string& name : {std::string("a.bmp.bmp"), std::string("my.bmpshot.bmp"),
                                  std::string("SHOT.BMP"), std::string("x.Bmp"), cyrillic, cjk})
    Shot(name);
  converter.Tick(settings);
  EXPECT_THAT(Names(), ElementsAre("SHOT.jpg", "a.jpg.jpg", "my.jpgshot.jpg", "x.jpg",
                                   platform::Utf16ToUtf8(u"Скриншот 01.jpg"), "\xE5\x90\x8D.jpg"));
  EXPECT_TRUE(IsShotJpeg("SHOT.jpg"));
  EXPECT_TRUE(IsShotJpeg("\xE5\x90\x8D.jpg"));
}

TEST_F(ScreenshotConverterTest, HiddenFilesGoReadOnlyFilesAreConvertedAgainEachTick) {
  Shot("hidden.bmp");
  Shot("locked.bmp");
  temp.Files().SetAttributes(WindowsPath("hidden.bmp"), platform::fileattr::Hidden);
  temp.Files().SetAttributes(WindowsPath("locked.bmp"), platform::fileattr::ReadOnly);
  converter.Tick(settings);
  EXPECT_THAT(Names(), ElementsAre("hidden.jpg", "locked.bmp", "locked.jpg"));
  std::filesystem::remove(temp.Posix() + "/Game/screenshots/locked.jpg");
  converter.Tick(settings);
  EXPECT_THAT(Names(), ElementsAre("hidden.jpg", "locked.bmp", "locked.jpg"));
  EXPECT_TRUE(IsShotJpeg("locked.jpg"));
}

TEST_F(ScreenshotConverterTest, AFolderNamedLikeABmpFileIsNeverCounted) {
  temp.MakeFolder("Game/screenshots/old.bmp");
  for (int i = 0; i < 11; ++i) Shot("s" + std::to_string(10 + i) + ".bmp");
  converter.Tick(settings);
  EXPECT_EQ(Count(".jpg"), 11u);
  EXPECT_THAT(Names(), ::testing::Contains("old.bmp"));
  EXPECT_TRUE(std::filesystem::is_directory(temp.Posix() + "/Game/screenshots/old.bmp"));
}

TEST_F(ScreenshotConverterTest, ZeroByteFileBecomesAZeroByteJpeg) {
  Shot("empty.bmp", "");
  converter.Tick(settings);
  EXPECT_THAT(Names(), ElementsAre("empty.jpg"));
  EXPECT_EQ(temp.Read("Game/screenshots/empty.jpg"), "");
}

TEST_F(ScreenshotConverterTest, AnExistingJpegIsReplacedOnlyByACompleteConversion) {
  Shot("shot.bmp");
  Shot("shot.jpg", "older picture");
  Shot("bad.bmp", "garbage");
  Shot("bad.jpg", "older picture");
  testing::BmpFile wide;  // readable, but too wide for the encoder
  wide.width = 65501;
  wide.height = 1;
  wide.pixels = std::string(65501 * 3 + 1, '\x40');
  Shot("wide.bmp", wide.Build());
  Shot("wide.jpg", "older picture");
  Shot("ro.bmp");
  Shot("ro.jpg", "older picture");
  temp.Files().SetAttributes(WindowsPath("ro.jpg"), platform::fileattr::ReadOnly);

  converter.Tick(settings);
  EXPECT_TRUE(IsShotJpeg("shot.jpg"));
  for (const char* kept : {"bad.jpg", "wide.jpg", "ro.jpg"})
    EXPECT_EQ(temp.Read(std::string("Game/screenshots/") + kept), "older picture") << kept;
  EXPECT_THAT(Names(), ElementsAre("bad.bmp", "bad.jpg", "ro.bmp", "ro.jpg", "shot.jpg", "wide.bmp", "wide.jpg"));
}

TEST_F(ScreenshotConverterTest, AFileHeldOpenForWritingWaitsForALaterTick) {
  Shot("busy.bmp");
  {
    const auto game = temp.Files().Open(WindowsPath("busy.bmp"), FileAccess::ReadWrite,
                                        platform::ShareRead, FileDisposition::OpenExisting);
    converter.Tick(settings);
    EXPECT_THAT(Names(), ElementsAre("busy.bmp"));
  }
  converter.Tick(settings);
  EXPECT_THAT(Names(), ElementsAre("busy.jpg"));
}

TEST_F(ScreenshotConverterTest, DriveRootAsGameFolder) {
  settings.WriteString("Usage", "GameFolder", "C:\\");
  temp.Write("screenshots/root.bmp", Bmp());
  converter.Tick(settings);
  EXPECT_TRUE(temp.Exists("screenshots/root.jpg"));
  EXPECT_FALSE(temp.Exists("screenshots/root.bmp"));
}

TEST_F(ScreenshotConverterTest, SettingsErrorsReachTheCaller) {
  Shot("a.bmp");
  std::ofstream(temp.Posix() + "/brisklet.db", std::ios::binary | std::ios::trunc)
      << std::string(4096, 'x');
  EXPECT_THROW(converter.Tick(settings), ESQLConfigError);
  EXPECT_THAT(Names(), ElementsAre("a.bmp"));
}

}  // namespace
}  // namespace qvn

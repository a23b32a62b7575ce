// The backup command on real folders: its stages, its archive name, the settings it reads,
// and how each failure ends it.

#include "backup/BackupCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "ArchiveReaders.h"
#include "ZipLayout.h"
#include "backup/ZipWriterError.h"
#include "platform/Utf.h"
#include "platform/posix/PosixText.h"
#include "settings/SQLConfFiles.h"
#include "tests/fakes/FakeMessageBoxes.h"
#include "tests/fakes/FaultyFileSystem.h"
#include "tests/fakes/FixedClock.h"
#include "tests/fakes/TempFolder.h"

namespace qvn::testing {
namespace {

using platform::DialogButton;
namespace fs = std::filesystem;

const std::string EndRecordAlone = std::string("PK\x05\x06", 4) + std::string(18, '\0');
const std::u16string Screenshot = u"Скрин 1.bmp";

class BackupCommandTest : public ::testing::Test {
 protected:
  BackupCommandTest()
      : settings(std::make_unique<TSQLConfigFile>(
            "C:\\Prog\\brisklet.db", (temp.MakeFolder("Prog"), temp.Files().LibraryPath(u"C:\\Prog\\brisklet.db")))),
        env{*settings,
            files,
            text,
            clock,
            boxes,
            "C:\\Prog\\",
            [this] { return documents; },
            [this](const std::string& s) { log.push_back("status " + s); },
            [this] {
              log.push_back("messages");
              if (onMessages) onMessages(++messageRounds);
            }} {
    settings->WriteString("Usage", "GameFolder", "C:\\Game");
    temp.Write("Game/Interface/a.lua", "print('a')");
    temp.Write("Game/Interface/Addons/x/y.lua", std::string(20000, 'y'));
    temp.Write("Users/U/Documents/Quorvane/cfg.txt", "config");
    temp.Write("Game/screenshots/" + platform::Utf16ToUtf8(Screenshot), std::string(5000, '\x7F'));
  }

  std::string Posix(const std::string& relative) const { return temp.Posix() + "/" + relative; }
  std::string ArchivePosix() const { return Posix("Prog/09-12-2025.zip"); }
  std::vector<ExpectedEntry> AllEntries() const {
    return {{"interface/a.lua", Posix("Game/Interface/a.lua")},
            {"interface/Addons/", ""},
            {"interface/Addons/x/", ""},
            {"interface/Addons/x/y.lua", Posix("Game/Interface/Addons/x/y.lua")},
            {"Quorvane/cfg.txt", Posix("Users/U/Documents/Quorvane/cfg.txt")},
            {"screenshots/" + platform::Utf16ToUtf8(Screenshot),
             Posix("Game/screenshots/" + platform::Utf16ToUtf8(Screenshot))}};
  }
  static std::vector<ExpectedEntry> Without(std::vector<ExpectedEntry> entries, const std::string& prefix) {
    std::erase_if(entries, [&](const ExpectedEntry& e) { return e.name.starts_with(prefix); });
    return entries;
  }

  TempFolder temp;
  platform::posix::PosixText text;
  FixedClock clock;  // 9 December 2025
  FakeMessageBoxes boxes;
  FaultyFileSystem files{temp.Files()};
  std::unique_ptr<TSQLConfigFile> settings;
  std::string documents = "C:\\Users\\U\\Documents";
  std::vector<std::string> log;  // status texts and message rounds, in order
  std::function<void(int round)> onMessages;
  int messageRounds = 0;
  BackupEnvironment env;
};

TEST_F(BackupCommandTest, WritesTheThreeStagesInOrderIntoTheDatedArchive) {
  CreateBackup(env);
  EXPECT_EQ(log, (std::vector<std::string>{"status Interface...", "messages", "status Documents...",
                                           "messages", "status Screenshots...", "messages", "status "}));
  ExpectReadersAccept(ArchivePosix(), AllEntries());

  // The Cyrillic name in code page 866, without the UTF-8 flag.
  const auto layout = ReadLayout(temp.Read("Prog/09-12-2025.zip"));
  const auto& shot = layout.entries.back();
  EXPECT_EQ(shot.name, "screenshots/\x91\xAA\xE0\xA8\xAD 1.bmp");
  EXPECT_EQ(shot.flags & 0x0800, 0);
  EXPECT_TRUE(temp.Files().RemoveFile(u"C:\\Prog\\09-12-2025.zip")) << "the archive is closed";
}

struct ScreenshotsCase {
  const char* stored;  // nullptr: never stored
  bool included;
};

class StoreScreenshotsTest : public BackupCommandTest,
                             public ::testing::WithParamInterface<ScreenshotsCase> {};

TEST_P(StoreScreenshotsTest, TheStoredSettingDecidesTheThirdStage) {
  const auto c = GetParam();
  if (c.stored) settings->WriteString("Usage", "StoreScreenshots", c.stored);
  CreateBackup(env);
  EXPECT_EQ(std::count(log.begin(), log.end(), "status Screenshots..."), c.included ? 1 : 0);
  ExpectReadersAccept(ArchivePosix(), c.included ? AllEntries() : Without(AllEntries(), "screenshots/"));
}

INSTANTIATE_TEST_SUITE_P(Values, StoreScreenshotsTest,
                         ::testing::Values(ScreenshotsCase{"false", false}, ScreenshotsCase{nullptr, true},
                                           ScreenshotsCase{"true", true}));

TEST_F(BackupCommandTest, WithAllThreeFoldersMissingTheArchiveIsTheEndRecordAlone) {
  fs::remove_all(Posix("Game"));
  fs::remove_all(Posix("Users"));
  CreateBackup(env);
  EXPECT_EQ(temp.Read("Prog/09-12-2025.zip"), EndRecordAlone);
  ExpectReadersAccept(ArchivePosix(), {});
}

TEST_F(BackupCommandTest, ASecondBackupOnTheSameDayReplacesTheFirst) {
  temp.Write("Prog/08-12-2025.zip", "yesterday's");
  CreateBackup(env);
  fs::remove(Posix("Game/Interface/a.lua"));
  temp.Write("Game/Interface/new.lua", "new");
  CreateBackup(env);
  auto expected = Without(AllEntries(), "interface/a.lua");
  expected.insert(expected.begin(), {"interface/new.lua", Posix("Game/Interface/new.lua")});
  ExpectReadersAccept(ArchivePosix(), expected);
  EXPECT_EQ(temp.Read("Prog/08-12-2025.zip"), "yesterday's");
}

TEST_F(BackupCommandTest, ABackupRunningPastMidnightKeepsTheNameOfTheDayItStarted) {
  clock.SetTimes({{2025, 12, 31, 23, 59, 58, 0}, {2026, 1, 1, 0, 0, 3, 0}});
  CreateBackup(env);
  EXPECT_TRUE(temp.Exists("Prog/31-12-2025.zip"));
  EXPECT_FALSE(temp.Exists("Prog/01-01-2026.zip"));
}

TEST_F(BackupCommandTest, StagesOneAndThreeUseTheStoredGameFolderEvenAtADriveRoot) {
  settings->WriteString("Usage", "GameFolder", "C:\\");
  temp.Write("interface/root.lua", "root");
  temp.Write("Screenshots/shot.bmp", "BM");
  CreateBackup(env);
  ExpectReadersAccept(ArchivePosix(), {{"interface/root.lua", Posix("interface/root.lua")},
                                       {"Quorvane/cfg.txt", Posix("Users/U/Documents/Quorvane/cfg.txt")},
                                       {"screenshots/shot.bmp", Posix("Screenshots/shot.bmp")}});
}

TEST_F(BackupCommandTest, TheThirdStageReadsTheGameFolderAgain) {
  temp.Write("Other/screenshots/other.bmp", "BM other");
  onMessages = [&](int round) {
    if (round == 3) settings->WriteString("Usage", "GameFolder", "C:\\Other");
  };
  CreateBackup(env);
  auto expected = Without(AllEntries(), "screenshots/");
  expected.push_back({"screenshots/other.bmp", Posix("Other/screenshots/other.bmp")});
  ExpectReadersAccept(ArchivePosix(), expected);
}

struct LockedCase {
  DialogButton answer;
  bool interfaceKept;
};

class LockedFileTest : public BackupCommandTest, public ::testing::WithParamInterface<LockedCase> {};

TEST_P(LockedFileTest, IgnoreLeavesTheFileOutAndAbortTheWholeStage) {
  temp.Write("Game/Interface/b.lua", "held by the game");
  fs::permissions(Posix("Game/Interface/b.lua"), fs::perms::none);
  boxes.answers = {GetParam().answer};
  CreateBackup(env);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, "Confirm");
  EXPECT_EQ(boxes.shown[0].text, "Cannot open file \"C:\\Game\\interface\\b.lua\" - Native error: "
                                 "00033. File processing error, possibly disk is full");
  ExpectReadersAccept(ArchivePosix(), GetParam().interfaceKept ? AllEntries()
                                                               : Without(AllEntries(), "interface/"));
}

INSTANTIATE_TEST_SUITE_P(Answers, LockedFileTest,
                         ::testing::Values(LockedCase{DialogButton::Ignore, true},
                                           LockedCase{DialogButton::Abort, false}));

TEST_F(BackupCommandTest, AnOldArchiveThatCannotBeDeletedEndsTheCommandUntouched) {
  const std::u16string path = u"C:\\Prog\\09-12-2025.zip";
  const std::string message =
      "Не удалось удалить старый архив \"C:\\Prog\\09-12-2025.zip\": файл занят другой программой "
      "или защищён от записи. Backup не создан";
  for (const bool heldOpen : {true, false}) {
    SCOPED_TRACE(heldOpen ? "held open by another program" : "write-protected");
    temp.Write("Prog/09-12-2025.zip", "an old archive");
    std::unique_ptr<platform::IFile> holder;
    if (heldOpen)
      holder = temp.Files().Open(path, platform::FileAccess::ReadWrite, platform::ShareRead | platform::ShareWrite,
                                 platform::FileDisposition::OpenExisting);
    else
      temp.Files().SetAttributes(path, platform::fileattr::ReadOnly);
    try {
      CreateBackup(env);
      ADD_FAILURE() << "the command went on";
    } catch (const EBackupError& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
    EXPECT_EQ(temp.Read("Prog/09-12-2025.zip"), "an old archive");
    EXPECT_TRUE(log.empty());
    holder.reset();
    temp.Files().SetAttributes(path, 0);
    ASSERT_TRUE(temp.Files().RemoveFile(path));
  }
}

TEST_F(BackupCommandTest, AFullDiskInAStageEndsTheCommandWithTheEarlierStagesKept) {
  const std::u16string path = u"C:\\Prog\\09-12-2025.zip";
  onMessages = [&](int round) {
    if (round == 2) files.LimitSize(path, fs::file_size(ArchivePosix()));
  };
  int code = 0;
  try {
    CreateBackup(env);
  } catch (const EZipWriterError& e) {
    code = e.Code();
  }
  EXPECT_EQ(code, 46);
  EXPECT_EQ(log, (std::vector<std::string>{"status Interface...", "messages", "status Documents...",
                                           "messages"}))
      << "the status keeps the failing stage's text";
  EXPECT_TRUE(boxes.shown.empty());
  ExpectReadersAccept(ArchivePosix(), Without(Without(AllEntries(), "Quorvane/"), "screenshots/"));
  EXPECT_TRUE(temp.Files().RemoveFile(path)) << "the archive is closed";
}

TEST_F(BackupCommandTest, AnArchiveThatCannotBeCreatedEndsTheCommandBeforeAnyStage) {
  env.programFolder = "C:\\Missing\\";
  try {
    CreateBackup(env);
    ADD_FAILURE() << "the command went on";
  } catch (const EZipFileError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot create file \"C:\\Missing\\09-12-2025.zip\". The system cannot find the path specified");
  }
  EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace qvn::testing

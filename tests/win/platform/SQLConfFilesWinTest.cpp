// The settings store on real files of the Windows file system, through SQLite's own
// Windows layer.

#include "settings/SQLConfFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Text.h"
#include "tests/win/support/TestFolder.h"

namespace qvn {
namespace {

using ::testing::HasSubstr;

class SQLConfFilesWinTest : public ::testing::Test {
 protected:
  // The store as the program opens it: its path in ANSI for messages, UTF-8 for SQLite.
  std::unique_ptr<TSQLConfigFile> OpenStore(const std::u16string& path) {
    return std::make_unique<TSQLConfigFile>(text.WideToAnsi(path), files.LibraryPath(path));
  }

  testing::TestFolder folder{"settings"};
  platform::win32::Win32FileSystem files;
  platform::win32::Win32Text text;
};

TEST_F(SQLConfFilesWinTest, ValuesPersistInAFileBesideTheProgram) {
  // A folder name outside ASCII proves that the path reaches SQLite intact.
  files.MakeDirectory(folder / u"Кворвейн");
  const std::u16string path = folder / u"Кворвейн\\brisklet.db";
  {
    auto store = OpenStore(path);
    store->WriteString("Usage", "GameFolder", "C:\\Игры\\Кворвейн");
    store->WriteBool("Usage", "AllCores", true);
  }
  ASSERT_TRUE(files.GetAttributes(path).has_value());
  auto store = OpenStore(path);
  EXPECT_EQ(store->ReadString("Usage", "GameFolder"), "C:\\Игры\\Кворвейн");
  EXPECT_TRUE(store->ReadBool("Usage", "AllCores", false));
  EXPECT_FALSE(store->ReadBool("Usage", "ToJPEG", false));
}

TEST_F(SQLConfFilesWinTest, AReadOnlyFileCanBeReadButNotWritten) {
  const std::u16string path = folder / u"brisklet.db";
  OpenStore(path)->WriteString("Usage", "GameFolder", "C:\\Game");
  files.SetAttributes(path, platform::fileattr::ReadOnly);

  auto store = OpenStore(path);
  EXPECT_EQ(store->ReadString("Usage", "GameFolder"), "C:\\Game");
  try {
    store->WriteString("Usage", "GameFolder", "D:\\Other");
    ADD_FAILURE() << "a read-only database was written";
  } catch (const ESQLConfigError& e) {
    EXPECT_STREQ(e.what(), "attempt to write a readonly database");
  }
  EXPECT_EQ(store->ReadString("Usage", "GameFolder"), "C:\\Game");
}

TEST_F(SQLConfFilesWinTest, AFileUnderAMissingFolderCannotBeOpened) {
  const std::u16string path = folder / u"missing\\brisklet.db";
  try {
    OpenStore(path);
    ADD_FAILURE() << "opened a database under a missing folder";
  } catch (const ESQLConfigOpenError& e) {
    EXPECT_EQ(std::string(e.what()),
              "File \"" + text.WideToAnsi(path) + "\" not found or not an sqlite database.");
  }
  EXPECT_FALSE(files.GetAttributes(folder / u"missing").has_value());
}

}  // namespace
}  // namespace qvn

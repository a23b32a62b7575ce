#include "platform/posix/PosixFileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/FileSearch.h"
#include "platform/OsError.h"
#include "tests/fakes/TempFolder.h"

namespace qvn::platform::posix {
namespace {

struct WildcardCase {
  const char16_t* name;
  const char16_t* pattern;
  bool matches;
};

class WildcardTest : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardTest, MatchesTheWindowsWay) {
  const auto& c = GetParam();
  EXPECT_EQ(MatchesWildcard(c.name, c.pattern), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WildcardTest,
    ::testing::Values(WildcardCase{u"README", u"*.*", true}, WildcardCase{u".", u"*.*", true},
                      WildcardCase{u"shot.bmp", u"*.bmp", true},
                      WildcardCase{u"SHOT.BMP", u"*.bmp", true},
                      WildcardCase{u"Скрин.BMP", u"скрин.bmp", true},
                      WildcardCase{u"shot.bmpx", u"*.bmp", false},
                      WildcardCase{u"a.bmp.bmp", u"*.bmp", true},
                      WildcardCase{u"ab", u"a?", true}, WildcardCase{u"a", u"a?", false},
                      WildcardCase{u"Addons", u"addons", true}, WildcardCase{u"x", u"*", true},
                      WildcardCase{u"name", u"name.*", true}));

class PosixFileSystemTest : public ::testing::Test {
 protected:
  std::vector<DirEntry> ListAll(const std::u16string& pattern) {
    std::vector<DirEntry> entries;
    auto listing = files().List(pattern);
    for (DirEntry e; listing->Next(e);) entries.push_back(e);
    return entries;
  }
  PosixFileSystem& files() { return temp.Files(); }
  testing::TempFolder temp;
};

TEST_F(PosixFileSystemTest, DrivePathsMapOntoTheFolderAndIgnoreLetterCase) {
  temp.Write("Game/Interface/Login.lua", "x");
  EXPECT_EQ(files().ToPosix(u"C:\\Game\\Interface\\Login.lua"), temp.Posix() + "/Game/Interface/Login.lua");
  EXPECT_EQ(files().ToPosix(u"c:/game/INTERFACE/login.LUA"), temp.Posix() + "/Game/Interface/Login.lua");
  EXPECT_EQ(files().ToPosix(u"\\\\?\\C:\\Game\\new\\file"), temp.Posix() + "/Game/new/file");
  EXPECT_EQ(files().ToPosix(u"C:\\Game\\.\\x\\..\\Interface"), temp.Posix() + "/Game/Interface");
  EXPECT_EQ(files().ToWindows(temp.Posix() + "/Game/Interface"), u"C:\\Game\\Interface");
  EXPECT_EQ(files().ToWindows(temp.Posix()), u"C:\\");
  EXPECT_EQ(files().ToWindows("/usr/share"), u"Z:\\usr\\share");
}

TEST_F(PosixFileSystemTest, ListsMatchesInNameOrderWithAttributesSizesAndTimes) {
  temp.Write("s/b.bmp", "12345");
  temp.Write("s/A.BMP", "");
  temp.Write("s/c.jpg", "x");
  temp.Write("s/.hidden.bmp", "x");
  temp.MakeFolder("s/old.bmp");
  const auto entries = ListAll(u"C:\\s\\*.bmp");
  std::vector<std::u16string> names;
  for (const auto& e : entries) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u".hidden.bmp", u"A.BMP", u"b.bmp", u"old.bmp"}));
  EXPECT_EQ(entries[0].attributes, fileattr::Archive | fileattr::Hidden);
  EXPECT_EQ(entries[2].attributes, fileattr::Archive);
  EXPECT_EQ(entries[2].size, 5u);
  EXPECT_EQ(entries[3].attributes, fileattr::Directory);
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto ticks = static_cast<FileTime>(std::chrono::duration_cast<std::chrono::seconds>(now).count() + 11644473600ll) * 10'000'000;
  EXPECT_NEAR(static_cast<double>(entries[2].lastWriteTime), static_cast<double>(ticks), 600e7);

  EXPECT_TRUE(ListAll(u"C:\\missing\\*.*").empty());
  EXPECT_TRUE(ListAll(u"C:\\s\\").empty());
}

TEST_F(PosixFileSystemTest, FilteredSearchSkipsWhatTheFilterLacks) {
  temp.Write("s/plain.txt", "");
  temp.Write("s/hidden.txt", "");
  temp.MakeFolder("s/sub");
  files().SetAttributes(u"C:\\s\\hidden.txt", fileattr::Hidden | fileattr::System);
  const auto names = [&](std::uint32_t filter) {
    std::vector<std::u16string> found;
    FilteredSearch search(files(), u"C:\\s\\*", filter);
    for (DirEntry e; search.Next(e);)
      if (e.name != u"." && e.name != u"..") found.push_back(e.name);
    return found;
  };
  EXPECT_EQ(names(fileattr::Archive), std::vector<std::u16string>{u"plain.txt"});
  EXPECT_EQ(names(fileattr::Archive | fileattr::Hidden | fileattr::System),
            (std::vector<std::u16string>{u"hidden.txt", u"plain.txt"}));
  EXPECT_EQ(names(63), (std::vector<std::u16string>{u"hidden.txt", u"plain.txt", u"sub"}));
}

TEST_F(PosixFileSystemTest, AttributesAreKeptAndReadOnlyIsEnforcedAsOnWindows) {
  temp.Write("f.txt", "old");
  const std::u16string path = u"C:\\f.txt";
  files().SetAttributes(path, fileattr::ReadOnly | fileattr::Hidden);
  EXPECT_EQ(files().GetAttributes(path), fileattr::ReadOnly | fileattr::Hidden);

  try {
    files().Open(path, FileAccess::Write, ShareNone, FileDisposition::CreateAlways);
    FAIL() << "opened a read-only file for writing";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.Code(), oserror::AccessDenied);
    EXPECT_STREQ(e.what(), "Access is denied");
  }
  EXPECT_FALSE(files().RemoveFile(path));
  temp.Write("g.txt", "new");
  EXPECT_THROW(files().Rename(u"C:\\g.txt", path, true), EOSError);
  EXPECT_EQ(temp.Read("f.txt"), "old");

  files().SetAttributes(path, fileattr::Archive);
  EXPECT_EQ(files().GetAttributes(path), fileattr::Archive);
  files().Rename(u"C:\\g.txt", path, true);
  EXPECT_EQ(temp.Read("f.txt"), "new");
  EXPECT_TRUE(files().RemoveFile(path));
  EXPECT_FALSE(files().GetAttributes(path).has_value());
}

TEST_F(PosixFileSystemTest, SharingModesApplyAmongOpenHandles) {
  temp.Write("a.zip", "");
  const std::u16string path = u"C:\\a.zip";
  auto exclusive = files().Open(path, FileAccess::ReadWrite, ShareNone, FileDisposition::OpenExisting);
  try {
    files().Open(path, FileAccess::Read, ShareRead | ShareWrite, FileDisposition::OpenExisting);
    FAIL() << "shared an exclusive file";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.Code(), oserror::SharingViolation);
  }
  EXPECT_FALSE(files().RemoveFile(path));
  exclusive.reset();

  auto writer = files().Open(path, FileAccess::Write, ShareRead, FileDisposition::OpenExisting);
  EXPECT_NO_THROW(files().Open(path, FileAccess::Read, ShareRead | ShareWrite, FileDisposition::OpenExisting));
  EXPECT_THROW(files().Open(path, FileAccess::Read, ShareRead, FileDisposition::OpenExisting), EOSError)
      << "a reader that denies writing cannot join a writer";
}

TEST_F(PosixFileSystemTest, ErrorsCarryWindowsCodes) {
  const auto codeOf = [](auto&& action) -> std::uint32_t {
    try {
      action();
    } catch (const EOSError& e) {
      return e.Code();
    }
    return 0;
  };
  temp.MakeFolder("d");
  EXPECT_EQ(codeOf([&] { files().Open(u"C:\\none.txt", FileAccess::Read, ShareRead, FileDisposition::OpenExisting); }),
            oserror::FileNotFound);
  EXPECT_EQ(codeOf([&] { files().Open(u"C:\\no\\x.txt", FileAccess::Write, ShareNone, FileDisposition::CreateAlways); }),
            oserror::PathNotFound);
  EXPECT_EQ(codeOf([&] { files().Open(u"C:\\d", FileAccess::Read, ShareRead, FileDisposition::OpenExisting); }),
            oserror::AccessDenied);
  EXPECT_EQ(codeOf([&] { files().MakeDirectory(u"C:\\d"); }), oserror::AlreadyExists);
  EXPECT_EQ(codeOf([&] { files().MakeDirectory(u"C:\\no\\sub"); }), oserror::PathNotFound);
  EXPECT_EQ(files().ErrorMessage(oserror::PathNotFound), "The system cannot find the path specified");
}

TEST_F(PosixFileSystemTest, FilesReadWriteSeekTruncate) {
  auto f = files().Open(u"C:\\data.bin", FileAccess::ReadWrite, ShareNone, FileDisposition::CreateNew);
  EXPECT_EQ(f->Write("hello world", 11), 11u);
  EXPECT_EQ(f->Seek(5, SeekOrigin::Begin), 5u);
  f->Truncate();
  EXPECT_EQ(f->Size(), 5u);
  f->Seek(0, SeekOrigin::Begin);
  char buffer[16] = {};
  EXPECT_EQ(f->Read(buffer, sizeof buffer), 5u);
  EXPECT_EQ(std::string(buffer), "hello");
  f->Flush();
  f.reset();
  EXPECT_THROW(files().Open(u"C:\\data.bin", FileAccess::Write, ShareNone, FileDisposition::CreateNew), EOSError);
}

TEST_F(PosixFileSystemTest, TemporaryFilesAreUniqueAndCreated) {
  const auto a = files().CreateTemporaryFile(u"C:\\", u"FCx-long");
  const auto b = files().CreateTemporaryFile(u"C:\\", u"FC");
  EXPECT_NE(a, b);
  EXPECT_EQ(a.substr(0, 6), u"C:\\FCx");
  EXPECT_TRUE(files().GetAttributes(a).has_value());
  EXPECT_THROW(files().CreateTemporaryFile(u"C:\\missing", u"FC"), EOSError);
}

}  // namespace
}  // namespace qvn::platform::posix

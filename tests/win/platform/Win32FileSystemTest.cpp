#include "platform/win32/Win32FileSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

#include "platform/DosDateTime.h"
#include "platform/OsError.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/WideText.h"
#include "tests/win/support/TestFolder.h"

namespace qvn {
namespace {

using platform::EOSError;
using platform::FileAccess;
using platform::FileDisposition;
using platform::win32::ToWide;
namespace fileattr = platform::fileattr;
namespace oserror = platform::oserror;

constexpr std::uint32_t NegativeSeek = 131;  // ERROR_NEGATIVE_SEEK

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void Create(const std::u16string& name, const std::string& content) {
    auto file = files.Open(folder / name, FileAccess::Write, platform::ShareNone,
                           FileDisposition::CreateAlways);
    ASSERT_EQ(file->Write(content.data(), content.size()), content.size());
  }
  std::string Content(const std::u16string& name) {
    auto file = files.Open(folder / name, FileAccess::Read, platform::ShareRead,
                           FileDisposition::OpenExisting);
    std::string content(static_cast<std::size_t>(file->Size()), '\0');
    content.resize(file->Read(content.data(), content.size()));
    return content;
  }
  // Sets the last-write time with the system's own call, outside the layer under test.
  void Touch(const std::u16string& name, FILETIME time) {
    HANDLE handle = CreateFileW(ToWide(folder / name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(handle, nullptr, nullptr, &time));
    CloseHandle(handle);
  }
  // Expects fn to raise EOSError with code and the layer's text for it.
  template <class Fn>
  void ExpectOSError(Fn fn, std::uint32_t code) {
    try {
      fn();
      ADD_FAILURE() << "no error raised, expected code " << code;
    } catch (const EOSError& e) {
      EXPECT_EQ(e.Code(), code);
      EXPECT_EQ(std::string(e.what()), files.ErrorMessage(code));
    }
  }

  testing::TestFolder folder{"files"};
  platform::win32::Win32FileSystem files;
};

FILETIME FileTimeOf(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME utc{};
  utc.wYear = year;
  utc.wMonth = month;
  utc.wDay = day;
  utc.wHour = hour;
  utc.wMinute = minute;
  utc.wSecond = second;
  FILETIME time{};
  SystemTimeToFileTime(&utc, &time);
  return time;
}

std::uint64_t Ticks(FILETIME time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

TEST_F(Win32FileSystemTest, ListingShowsAttributeBitsSizesAndTimes) {
  Create(u"plain.txt", "hello");
  Create(u"hidden.dat", "h");
  Create(u"system.sys", "sys!");
  Create(u"readonly.TXT", "abc");
  files.MakeDirectory(folder / u"sub");
  const FILETIME written = FileTimeOf(2021, 3, 14, 15, 9, 27);
  for (const auto* name : {u"plain.txt", u"hidden.dat", u"system.sys", u"readonly.TXT"})
    Touch(name, written);
  files.SetAttributes(folder / u"hidden.dat", fileattr::Hidden);
  files.SetAttributes(folder / u"system.sys", fileattr::System | fileattr::Archive);
  files.SetAttributes(folder / u"readonly.TXT", fileattr::ReadOnly);

  std::map<std::u16string, platform::DirEntry> found;
  auto listing = files.List(folder / u"*.*");
  for (platform::DirEntry entry; listing->Next(entry);) found[entry.name] = entry;

  constexpr std::uint32_t Interesting =
      fileattr::ReadOnly | fileattr::Hidden | fileattr::System | fileattr::Directory;
  const struct {
    const char16_t* name;
    std::uint32_t bits;
    std::uint64_t size;
  } expected[] = {
      {u"plain.txt", 0, 5},
      {u"hidden.dat", fileattr::Hidden, 1},
      {u"system.sys", fileattr::System, 4},
      {u"readonly.TXT", fileattr::ReadOnly, 3},
      {u"sub", fileattr::Directory, 0},
  };
  EXPECT_TRUE(found.count(u".") && found.count(u".."));
  EXPECT_EQ(found.size(), std::size(expected) + 2);
  for (const auto& e : expected) {
    SCOPED_TRACE(&e - expected);
    ASSERT_TRUE(found.count(e.name));
    EXPECT_EQ(found[e.name].attributes & Interesting, e.bits);
    EXPECT_EQ(found[e.name].size, e.size);
    EXPECT_EQ(files.GetAttributes(folder / e.name).value_or(0) & Interesting, e.bits);
  }

  // The time as the archive will store it, checked against the system's own DOS conversion.
  const platform::FileTime time = found[u"plain.txt"].lastWriteTime;
  EXPECT_EQ(time, Ticks(written));
  FILETIME local{};
  WORD dosDate = 0;
  WORD dosTime = 0;
  ASSERT_TRUE(FileTimeToLocalFileTime(&written, &local));
  ASSERT_TRUE(FileTimeToDosDateTime(&local, &dosDate, &dosTime));
  const platform::DosDateTime dos =
      platform::ToDosDateTime(platform::win32::Win32Clock().ToLocal(time));
  EXPECT_EQ(dos.date, dosDate);
  EXPECT_EQ(dos.time, dosTime);
}

TEST_F(Win32FileSystemTest, PatternsIgnoreLetterCaseAndMissingFoldersListNothing) {
  Create(u"a.txt", "");
  Create(u"B.TXT", "");
  Create(u"c.bmp", "");
  std::vector<std::u16string> names;
  auto listing = files.List(folder / u"*.txt");
  for (platform::DirEntry entry; listing->Next(entry);) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"B.TXT", u"a.txt"}));

  platform::DirEntry entry;
  EXPECT_FALSE(files.List(folder / u"missing\\*.*")->Next(entry));
  EXPECT_FALSE(files.GetAttributes(folder / u"missing").has_value());
}

struct OpenFailure {
  const char* name;
  const char16_t* path;
  FileAccess access;
  FileDisposition disposition;
  std::uint32_t code;
};

// Failure output names the case instead of dumping its bytes.
void PrintTo(const OpenFailure& c, std::ostream* os) { *os << c.name; }

class Win32OpenFailureTest : public Win32FileSystemTest,
                             public ::testing::WithParamInterface<OpenFailure> {};

TEST_P(Win32OpenFailureTest, CarriesTheSystemCodeAndText) {
  Create(u"locked.txt", "x");
  files.SetAttributes(folder / u"locked.txt", fileattr::ReadOnly);
  Create(u"here.txt", "x");
  const OpenFailure& c = GetParam();
  ExpectOSError([&] { files.Open(folder / c.path, c.access, platform::ShareRead, c.disposition); },
                c.code);
  const std::string text = files.ErrorMessage(c.code);
  ASSERT_FALSE(text.empty());
  // The form the program shows inside its own sentences: no full stop, no line break.
  EXPECT_EQ(text.find_last_not_of(". \r\n"), text.size() - 1) << text;
  EXPECT_EQ(text.find("Error "), std::string::npos) << text;
}

const OpenFailure OpenFailures[] = {
    {"FolderMissing", u"nowhere\\a.txt", FileAccess::Read, FileDisposition::OpenExisting,
     oserror::PathNotFound},
    {"CreateInMissingFolder", u"nowhere\\a.txt", FileAccess::Write, FileDisposition::CreateAlways,
     oserror::PathNotFound},
    {"FileMissing", u"absent.txt", FileAccess::Read, FileDisposition::OpenExisting,
     oserror::FileNotFound},
    {"ReadOnlyForWriting", u"locked.txt", FileAccess::Write, FileDisposition::OpenExisting,
     oserror::AccessDenied},
    {"ReadOnlyRecreated", u"locked.txt", FileAccess::Write, FileDisposition::CreateAlways,
     oserror::AccessDenied},
    {"CreateNewOnExisting", u"here.txt", FileAccess::Write, FileDisposition::CreateNew,
     oserror::FileExists},
};

INSTANTIATE_TEST_SUITE_P(Cases, Win32OpenFailureTest, ::testing::ValuesIn(OpenFailures),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(Win32FileSystemTest, ErrorTextsWithoutSystemTextNameTheCode) {
  EXPECT_EQ(files.ErrorMessage(0x20001234u), "Error 536875572");
}

TEST_F(Win32FileSystemTest, SharingIsEnforcedBetweenHandles) {
  Create(u"shared.txt", "data");
  const std::u16string path = folder / u"shared.txt";
  {
    auto exclusive = files.Open(path, FileAccess::Read, platform::ShareNone,
                                FileDisposition::OpenExisting);
    ExpectOSError([&] { files.Open(path, FileAccess::Read, platform::ShareRead,
                                   FileDisposition::OpenExisting); },
                  oserror::SharingViolation);
  }
  auto reader = files.Open(path, FileAccess::Read, platform::ShareRead,
                           FileDisposition::OpenExisting);
  auto secondReader = files.Open(path, FileAccess::Read, platform::ShareRead,
                                 FileDisposition::OpenExisting);
  ExpectOSError([&] { files.Open(path, FileAccess::Write, platform::ShareRead | platform::ShareWrite,
                                 FileDisposition::OpenExisting); },
                oserror::SharingViolation);
  EXPECT_FALSE(files.RemoveFile(path));  // opened without delete sharing
}

TEST_F(Win32FileSystemTest, ReadWriteSeekTruncateAndFlush) {
  auto file = files.Open(folder / u"data.bin", FileAccess::ReadWrite, platform::ShareNone,
                         FileDisposition::CreateNew);
  EXPECT_EQ(file->Write("0123456789", 10), 10u);
  file->Flush();
  EXPECT_EQ(file->Seek(-6, platform::SeekOrigin::End), 4u);
  file->Truncate();
  EXPECT_EQ(file->Size(), 4u);
  EXPECT_EQ(file->Seek(1, platform::SeekOrigin::Begin), 1u);
  EXPECT_EQ(file->Seek(1, platform::SeekOrigin::Current), 2u);
  char buffer[16] = {};
  EXPECT_EQ(file->Read(buffer, sizeof buffer), 2u);
  EXPECT_EQ(std::string(buffer, 2), "23");
  EXPECT_EQ(file->Read(buffer, sizeof buffer), 0u);
  ExpectOSError([&] { file->Seek(-1, platform::SeekOrigin::Begin); }, NegativeSeek);

  // A handle without write access stores nothing, and says so without raising.
  file.reset();
  auto reader = files.Open(folder / u"data.bin", FileAccess::Read, platform::ShareRead,
                           FileDisposition::OpenExisting);
  EXPECT_EQ(reader->Write("x", 1), 0u);
  reader.reset();
  EXPECT_EQ(Content(u"data.bin"), "0123");
}

TEST_F(Win32FileSystemTest, FoldersRenamesAndRemovals) {
  files.MakeDirectory(folder / u"made");
  EXPECT_EQ(files.GetAttributes(folder / u"made").value_or(0) & fileattr::Directory,
            fileattr::Directory);
  ExpectOSError([&] { files.MakeDirectory(folder / u"made"); }, oserror::AlreadyExists);
  ExpectOSError([&] { files.MakeDirectory(folder / u"no\\such"); }, oserror::PathNotFound);

  Create(u"old.txt", "old");
  Create(u"new.txt", "new");
  ExpectOSError([&] { files.Rename(folder / u"new.txt", folder / u"old.txt", false); },
                oserror::AlreadyExists);
  files.Rename(folder / u"new.txt", folder / u"old.txt", true);
  EXPECT_EQ(Content(u"old.txt"), "new");
  EXPECT_FALSE(files.GetAttributes(folder / u"new.txt").has_value());

  EXPECT_TRUE(files.RemoveFile(folder / u"old.txt"));
  EXPECT_FALSE(files.RemoveFile(folder / u"old.txt"));
}

TEST_F(Win32FileSystemTest, TemporaryFilesAndSystemFolders) {
  const std::u16string first = files.CreateTemporaryFile(folder.Path(), u"qvnx");
  const std::u16string second = files.CreateTemporaryFile(folder.Path(), u"qvnx");
  EXPECT_NE(first, second);
  for (const auto& path : {first, second}) {
    EXPECT_EQ(path.substr(0, folder.Path().size() + 4), folder.Path() + u"\\qvn");
    EXPECT_TRUE(std::isxdigit(path.at(folder.Path().size() + 4)));  // three letters kept
    EXPECT_TRUE(files.GetAttributes(path).has_value());
  }
  ExpectOSError([&] { files.CreateTemporaryFile(folder / u"missing", u"qvn"); },
                oserror::Directory);

  const std::u16string temp = files.TemporaryFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), u'\\');
  EXPECT_TRUE(files.GetAttributes(temp).value_or(0) & fileattr::Directory);

  const std::u16string before = files.CurrentDirectory();
  ASSERT_TRUE(SetCurrentDirectoryW(ToWide(folder.Path()).c_str()));
  EXPECT_EQ(files.CurrentDirectory(), folder.Path());
  SetCurrentDirectoryW(ToWide(before).c_str());
}

TEST_F(Win32FileSystemTest, LibraryPathsAreUtf8) {
  EXPECT_EQ(files.LibraryPath(u"C:\\Игры\\brisklet.db"),
            "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\brisklet.db");
}

}  // namespace
}  // namespace qvn

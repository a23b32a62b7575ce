// Collection on real folder trees: which files and folders become entries, in which order,
// under which names, with which attributes.

#include <algorithm>
#include <map>

#include "ArchiveReaders.h"
#include "WriterTestBed.h"
#include "platform/FileSystem.h"

namespace qvn::testing {
namespace {

namespace fileattr = platform::fileattr;

class FileCollectorTest : public WriterTestBed {
 protected:
  void SetUp() override {
    temp.Write("Game/Interface/a.txt", "a");
    temp.Write("Game/Interface/README", "no extension");
    temp.Write("Game/Interface/.hidden.lua", "hidden");
    temp.Write("Game/Interface/sys.dat", "system");
    temp.Write("Game/Interface/ro.txt", "read-only");
    temp.Write("Game/Interface/old.bak", "backup copy");
    temp.Write("Game/Interface/Addons/b.lua", "print(1)");
    temp.MakeFolder("Game/Interface/Addons/Empty");
    temp.Write("Game/Interface/.cache/c.txt", "cached");
    temp.Write("Users/U/Documents/Quorvane/cfg.txt", "config");
    temp.Files().SetAttributes(u"C:\\Game\\Interface\\sys.dat", fileattr::System | fileattr::Archive);
    temp.Files().SetAttributes(u"C:\\Game\\Interface\\ro.txt", fileattr::ReadOnly | fileattr::Archive);
  }
};

struct CollectCase {
  const char* what;
  const char16_t* base;
  const char16_t* mask;
  std::uint32_t filter;
  bool recurse;
  const char16_t* exclusion;
  std::vector<std::string> names;
};

const std::vector<std::string> WholeInterface = {
    "interface/.hidden.lua", "interface/a.txt", "interface/old.bak", "interface/README",
    "interface/ro.txt", "interface/sys.dat", "interface/.cache/", "interface/.cache/c.txt",
    "interface/Addons/", "interface/Addons/b.lua", "interface/Addons/Empty/"};

class CollectionTest : public FileCollectorTest, public ::testing::WithParamInterface<CollectCase> {};

TEST_P(CollectionTest, CollectsDepthFirstUnderNamesRelativeToTheBase) {
  const auto& c = GetParam();
  writer->SetRecurse(c.recurse);
  writer->SetBaseDir(c.base);
  writer->Open();
  writer->AddByMask(c.mask, c.filter, c.exclusion);
  EXPECT_EQ(EntryNames(), c.names) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Trees, CollectionTest,
    ::testing::Values(
        CollectCase{"every file and folder, hidden and system ones too", u"C:\\Game\\",
                    u"interface\\*.*", SearchEverything, true, u"", WholeInterface},
        CollectCase{"the archive bit alone: no folders, no hidden or system files",
                    u"C:\\Game\\", u"interface\\*.*", fileattr::Archive, true, u"",
                    {"interface/a.txt", "interface/old.bak", "interface/README", "interface/ro.txt",
                     "interface/.cache/c.txt", "interface/Addons/b.lua"}},
        CollectCase{"without subfolders", u"C:\\Game\\", u"interface\\*.*", fileattr::Archive,
                    false, u"",
                    {"interface/a.txt", "interface/old.bak", "interface/README", "interface/ro.txt"}},
        CollectCase{"the read-only bit alone", u"C:\\Game\\", u"interface\\*.*",
                    fileattr::ReadOnly, true, u"", {"interface/ro.txt"}},
        CollectCase{"an exclusion mask", u"C:\\Game\\", u"interface\\*.*", SearchEverything, true,
                    u"*.bak",
                    {"interface/.hidden.lua", "interface/a.txt", "interface/README",
                     "interface/ro.txt", "interface/sys.dat", "interface/.cache/",
                     "interface/.cache/c.txt", "interface/Addons/", "interface/Addons/b.lua",
                     "interface/Addons/Empty/"}},
        CollectCase{"an exact path", u"C:\\Game\\", u"C:\\Game\\Interface\\a.txt", SearchEverything,
                    true, u"", {"Interface/a.txt"}},
        CollectCase{"a missing folder", u"C:\\Game\\", u"screenshots\\*.*", SearchEverything, true,
                    u"", {}},
        CollectCase{"a base without trailing separator", u"C:\\Users\\U\\Documents",
                    u"Quorvane\\*.*", SearchEverything, true, u"", {"Quorvane/cfg.txt"}},
        CollectCase{"a drive root as game folder, with the separator doubled", u"C:\\\\",
                    u"users\\*.*", SearchEverything, true, u"",
                    {"users/U/", "users/U/Documents/", "users/U/Documents/Quorvane/",
                     "users/U/Documents/Quorvane/cfg.txt"}}));

TEST_F(FileCollectorTest, EntriesCarryTheAttributesTimesAndMethodsOfTheirItems) {
  writer->SetBaseDir(u"C:\\Game\\");
  writer->Open();
  writer->AddByMask(u"interface\\*.*", SearchEverything, u"");
  struct Expected {
    std::string name;
    std::uint32_t attributes;
  };
  const std::vector<Expected> expected = {
      {"interface/.hidden.lua", fileattr::Archive | fileattr::Hidden},
      {"interface/a.txt", fileattr::Archive},
      {"interface/ro.txt", fileattr::Archive | fileattr::ReadOnly},
      {"interface/sys.dat", fileattr::Archive | fileattr::System},
      {"interface/.cache/", fileattr::Directory | fileattr::Hidden},
      {"interface/Addons/", fileattr::Directory}};
  for (const auto& e : expected) {
    const auto& entries = writer->Entries();
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const TDirItem& item) { return Utf8(item.name) == e.name; });
    ASSERT_NE(found, entries.end()) << e.name;
    EXPECT_EQ(found->header.externalAttributes, e.attributes) << e.name;
    const bool folder = e.name.back() == '/';
    EXPECT_EQ(found->header.method, folder ? 0 : 8) << e.name;
    if (folder) {
      EXPECT_EQ(found->header.flags, 2) << e.name;
      EXPECT_EQ(found->header.crc32, 0u) << e.name;
      EXPECT_EQ(found->header.dosDate, ((2025 - 1980) << 9) | (12 << 5) | 9) << e.name;
      EXPECT_EQ(Utf8(found->sourcePath).back(), '\\') << e.name;
    }
  }
  writer->Close();
  std::vector<ExpectedEntry> read;
  const std::map<std::string, std::string> sources = {
      {"interface/.hidden.lua", "Game/Interface/.hidden.lua"}, {"interface/a.txt", "Game/Interface/a.txt"},
      {"interface/old.bak", "Game/Interface/old.bak"},         {"interface/README", "Game/Interface/README"},
      {"interface/ro.txt", "Game/Interface/ro.txt"},           {"interface/sys.dat", "Game/Interface/sys.dat"},
      {"interface/.cache/c.txt", "Game/Interface/.cache/c.txt"}, {"interface/Addons/b.lua", "Game/Interface/Addons/b.lua"}};
  for (const auto& name : WholeInterface)
    read.push_back({name, sources.count(name) ? Posix(sources.at(name)) : ""});
  ExpectReadersAccept(ArchivePosix(), read);
}

TEST_F(FileCollectorTest, TheArchiveInsideACollectedFolderIsLeftOut) {
  writer->SetFileName(u"C:\\Game\\Interface\\Addons\\backup.zip");
  writer->SetBaseDir(u"C:\\Game\\");
  writer->Open();
  writer->AddByMask(u"interface\\*.*", SearchEverything, u"");
  EXPECT_EQ(EntryNames(), WholeInterface);
  writer->Close();
  EXPECT_TRUE(temp.Exists("Game/Interface/Addons/backup.zip"));
}

TEST_F(FileCollectorTest, TheFirstComponentIsSpelledAsInTheMaskWhateverTheDiskSays) {
  writer->SetBaseDir(u"C:\\game\\");
  writer->Open();
  writer->AddByMask(u"INTERFACE\\*.*", fileattr::Archive, u"");
  EXPECT_EQ(EntryNames().front(), "INTERFACE/a.txt");
  EXPECT_EQ(EntryNames().back(), "INTERFACE/Addons/b.lua");
}

}  // namespace
}  // namespace qvn::testing

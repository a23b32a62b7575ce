// 65,535 entries: the counts no longer fit the end record, so the ZIP64 end record and its
// locator stand before it.

#include <fstream>

#include "ArchiveReaders.h"
#include "WriterTestBed.h"
#include "ZipLayout.h"

namespace qvn::testing {
namespace {

class ZipLargeTest : public WriterTestBed {};

TEST_F(ZipLargeTest, SixtyFiveThousandFiveHundredThirtyFiveEntriesGetTheZip64EndRecords) {
  constexpr int Count = 65535;
  temp.MakeFolder("src/many");
  std::vector<ExpectedEntry> expected;
  for (int i = 0; i < Count; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "%05d", i);
    std::ofstream(Posix("src/many/") + name);
    expected.push_back({std::string("many/") + name, Posix("src/many/") + name});
  }
  writer->SetBaseDir(u"C:\\src\\");
  writer->Open();
  writer->AddByMask(u"many\\*.*", SearchEverything, u"");
  writer->Close();

  const std::string bytes = ArchiveBytes();
  const ZipLayout layout = ReadLayout(bytes);
  EXPECT_TRUE(layout.zip64);
  EXPECT_EQ(layout.entriesOnDisk, 0xFFFF);
  EXPECT_EQ(layout.entriesTotal, 0xFFFF);
  EXPECT_EQ(layout.zip64Entries, static_cast<std::uint64_t>(Count));
  EXPECT_EQ(layout.directoryOffset, layout.zip64DirectoryOffset) << "offset and size fit";
  EXPECT_EQ(layout.directorySize, layout.zip64DirectorySize);
  EXPECT_EQ(layout.zip64RecordOffset, layout.zip64DirectoryOffset + layout.zip64DirectorySize);
  EXPECT_EQ(layout.entries.size(), static_cast<std::size_t>(Count));
  EXPECT_EQ(layout.entries.back().name, "many/65534");
  ExpectReadersAccept(ArchivePosix(), expected);
}

TEST_F(ZipLargeTest, OneEntryFewerKeepsThePlainEndRecord) {
  constexpr int Count = 65534;
  temp.MakeFolder("src/many");
  for (int i = 0; i < Count; ++i) std::ofstream(Posix("src/many/") + std::to_string(i));
  writer->SetBaseDir(u"C:\\src\\");
  writer->Open();
  writer->AddByMask(u"many\\*.*", SearchEverything, u"");
  writer->Close();
  const ZipLayout layout = ReadLayout(ArchiveBytes());
  EXPECT_FALSE(layout.zip64);
  EXPECT_EQ(layout.entriesTotal, Count);
}

}  // namespace
}  // namespace qvn::testing

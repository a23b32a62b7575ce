// The bytes of the archives the writer produces, field by field, and read back by
// independent readers.

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

#include "ArchiveReaders.h"
#include "WriterTestBed.h"
#include "ZipLayout.h"

namespace qvn::testing {
namespace {

// The fixed clock's time, 9 December 2025 14:30:16, in MS-DOS form.
constexpr std::uint16_t ClockDosTime = (14 << 11) | (30 << 5) | (16 / 2);
constexpr std::uint16_t ClockDosDate = ((2025 - 1980) << 9) | (12 << 5) | 9;

void SetLocalModificationTime(const std::string& posixPath, int year, int month, int day, int hour,
                              int minute, int second) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = -1;
  const timespec times[2] = {{std::mktime(&tm), 0}, {std::mktime(&tm), 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, posixPath.c_str(), times, 0), 0);
}

// Text that deflate can shrink but not to nothing: words drawn by a fixed generator.
std::string TextOfSize(std::size_t size) {
  static const char* words[] = {"local ", "function ", "end\n", "frame:", "SetPoint(", "\"TOP\", ",
                                "0, -12)\n", "if ", "then\n", "return ", "nil", "self.", "Show()\n"};
  std::string text;
  std::uint32_t state = 12345;
  while (text.size() < size) {
    state = state * 1103515245u + 12345u;
    text += words[(state >> 16) % (sizeof words / sizeof *words)];
  }
  text.resize(size);
  return text;
}

class ZipFormatTest : public WriterTestBed {};

TEST_F(ZipFormatTest, AnArchiveWithoutEntriesIsTheEndRecordAlone) {
  writer->Open();
  writer->Close();
  EXPECT_EQ(ArchiveBytes(), std::string("PK\x05\x06", 4) + std::string(18, '\0'));
  ExpectReadersAccept(ArchivePosix(), {});
}

TEST_F(ZipFormatTest, OneEmptyFileGivesThe108ByteArchive) {
  temp.Write("src/a.txt", "");
  SetLocalModificationTime(Posix("src/a.txt"), 2024, 5, 17, 10, 20, 31);
  writer->SetBaseDir(u"C:\\src\\");
  writer->Open();
  writer->AddByMask(u"*.*", SearchEverything, u"");
  writer->Close();

  const std::string bytes = ArchiveBytes();
  ASSERT_EQ(bytes.size(), 108u);
  const LocalRecord local = ReadLocal(bytes, 0);
  EXPECT_EQ(local.versionNeeded, 20);
  EXPECT_EQ(local.flags, 0);
  EXPECT_EQ(local.method, 0);
  EXPECT_EQ(local.time, (10 << 11) | (20 << 5) | 15);
  EXPECT_EQ(local.date, ((2024 - 1980) << 9) | (5 << 5) | 17);
  EXPECT_EQ(local.crc32, 0u);
  EXPECT_EQ(local.compressedSize, 0u);
  EXPECT_EQ(local.uncompressedSize, 0u);
  EXPECT_EQ(local.extraLength, 0);
  EXPECT_EQ(local.name, "a.txt");
  EXPECT_EQ(local.dataOffset, 35u);

  const ZipLayout layout = ReadLayout(bytes);
  EXPECT_FALSE(layout.zip64);
  EXPECT_EQ(layout.entriesOnDisk, 1);
  EXPECT_EQ(layout.entriesTotal, 1);
  EXPECT_EQ(layout.directoryOffset, 35u);
  EXPECT_EQ(layout.directorySize, 51u);
  ASSERT_EQ(layout.entries.size(), 1u);
  const CentralRecord& c = layout.entries[0];
  EXPECT_EQ(c.versionMadeBy, 20);
  EXPECT_EQ(c.versionNeeded, 20);
  EXPECT_EQ(c.flags, 0);
  EXPECT_EQ(c.method, 0);
  EXPECT_EQ(c.time, local.time);
  EXPECT_EQ(c.date, local.date);
  EXPECT_EQ(c.crc32, 0u);
  EXPECT_EQ(c.compressedSize, 0u);
  EXPECT_EQ(c.uncompressedSize, 0u);
  EXPECT_EQ(c.extraLength, 0);
  EXPECT_EQ(c.commentLength, 0);
  EXPECT_EQ(c.diskStart, 0);
  EXPECT_EQ(c.internalAttributes, 0);
  EXPECT_EQ(c.externalAttributes, 0x20u);
  EXPECT_EQ(c.localOffset, 0u);
  EXPECT_EQ(c.name, "a.txt");
  ExpectReadersAccept(ArchivePosix(), {{"a.txt", Posix("src/a.txt")}});
}

TEST_F(ZipFormatTest, AFolderEntryIsStoredWithFlagTwoAndTheTimeOfTheBackup) {
  temp.MakeFolder("src/data/Sub");
  writer->SetBaseDir(u"C:\\src\\");
  writer->Open();
  writer->AddByMask(u"data\\*.*", SearchEverything, u"");
  writer->Close();

  const std::string bytes = ArchiveBytes();
  const ZipLayout layout = ReadLayout(bytes);
  ASSERT_EQ(layout.entries.size(), 1u);
  const CentralRecord& c = layout.entries[0];
  const LocalRecord local = ReadLocal(bytes, c.localOffset);
  EXPECT_EQ(c.name, "data/Sub/");
  EXPECT_EQ(local.name, "data/Sub/");
  for (const auto& [method, flags, crc, compressed, size] :
       {std::tuple{c.method, c.flags, c.crc32, c.compressedSize, c.uncompressedSize},
        std::tuple{local.method, local.flags, local.crc32, local.compressedSize, local.uncompressedSize}}) {
    EXPECT_EQ(method, 0);
    EXPECT_EQ(flags, 2);
    EXPECT_EQ(crc, 0u);
    EXPECT_EQ(compressed, 0u);
    EXPECT_EQ(size, 0u);
  }
  EXPECT_EQ(c.externalAttributes, 0x10u);
  EXPECT_EQ(c.time, ClockDosTime);
  EXPECT_EQ(c.date, ClockDosDate);
  ExpectReadersAccept(ArchivePosix(), {{"data/Sub/", ""}});
}

struct ChunkCase {
  std::size_t size;
  std::size_t dataWrites;  // one per deflate call: sync flush for all chunks but the last
};

class ChunkTest : public ZipFormatTest, public ::testing::WithParamInterface<ChunkCase> {};

TEST_P(ChunkTest, EachChunkOfHalfAMebibyteIsOneDeflateCallAndTheHeaderIsCompletedInPlace) {
  const auto [size, dataWrites] = GetParam();
  temp.Write("src/f.lua", TextOfSize(size));
  writer->SetBaseDir(u"C:\\src\\");
  writer->Open();
  files.RecordWrites(archive);
  writer->AddByMask(u"*.*", SearchEverything, u"");
  writer->Close();

  // Written: header and name, the data chunk by chunk, the header again, the directory.
  const auto& writes = files.Writes(archive);
  ASSERT_EQ(writes.size(), dataWrites + 3);
  const std::string& first = writes[0].data;
  ASSERT_EQ(first.size(), 30u + 5);
  EXPECT_EQ(Get32(first, 14), 0xFFFFFFFFu) << "the CRC-32 placeholder";
  EXPECT_EQ(Get32(first, 18), 0u);
  EXPECT_EQ(Get32(first, 22), size);
  const std::string sync("\x00\x00\xFF\xFF", 4);
  for (std::size_t i = 1; i <= dataWrites; ++i) {
    const std::string& data = writes[i].data;
    const bool endsWithSync = data.size() >= 4 && data.compare(data.size() - 4, 4, sync) == 0;
    EXPECT_EQ(endsWithSync, i < dataWrites) << "data write " << i;
  }
  const auto& completion = writes[dataWrites + 1];
  EXPECT_EQ(completion.offset, 0u);
  ASSERT_EQ(completion.data.size(), 30u);

  const std::string bytes = ArchiveBytes();
  const LocalRecord local = ReadLocal(bytes, 0);
  const ZipLayout layout = ReadLayout(bytes);
  EXPECT_EQ(local.method, 8);
  EXPECT_EQ(local.crc32, layout.entries[0].crc32);
  EXPECT_EQ(local.compressedSize, layout.entries[0].compressedSize);
  EXPECT_EQ(local.uncompressedSize, size);
  EXPECT_EQ(layout.entries[0].uncompressedSize, size);
  EXPECT_EQ(DeflateVerdict(ArchivePosix(), 0, Posix("src/f.lua"), 524288, 1), "");
  ExpectReadersAccept(ArchivePosix(), {{"f.lua", Posix("src/f.lua")}});
}

INSTANTIATE_TEST_SUITE_P(Sizes, ChunkTest,
                         ::testing::Values(ChunkCase{1, 1}, ChunkCase{524288, 1},
                                           ChunkCase{524289, 2}, ChunkCase{3 * 524288 + 7, 4}));

TEST_F(ZipFormatTest, NamesAreStoredInCp866OrElseInUtf8FlaggedInBothHeaders) {
  const std::u16string cyrillic = u"Скрин.txt", chinese = u"截图.txt", emoji = u"\U0001F600.txt";
  for (const auto& name : {cyrillic, chinese, emoji}) temp.Write("src/data/" + Utf8(name), "x");
  writer->SetBaseDir(u"C:\\src\\");
  writer->Open();
  writer->AddByMask(u"data\\*.*", SearchEverything, u"");
  writer->Close();

  struct Expected {
    std::string stored;
    bool utf8;
  };
  const std::vector<Expected> expected = {
      {"data/\x91\xAA\xE0\xA8\xAD.txt", false},
      {"data/\xE6\x88\xAA\xE5\x9B\xBE.txt", true},
      {"data/\xF0\x9F\x98\x80.txt", true},
  };
  const std::string bytes = ArchiveBytes();
  const ZipLayout layout = ReadLayout(bytes);
  ASSERT_EQ(layout.entries.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const CentralRecord& c = layout.entries[i];
    const LocalRecord local = ReadLocal(bytes, c.localOffset);
    EXPECT_EQ(c.name, expected[i].stored);
    EXPECT_EQ(local.name, expected[i].stored);
    EXPECT_EQ((c.flags & 0x0800) != 0, expected[i].utf8) << i;
    EXPECT_EQ((local.flags & 0x0800) != 0, expected[i].utf8) << i;
  }
  ExpectReadersAccept(ArchivePosix(), {{"data/" + Utf8(cyrillic), Posix("src/data/" + Utf8(cyrillic))},
                                       {"data/" + Utf8(chinese), Posix("src/data/" + Utf8(chinese))},
                                       {"data/" + Utf8(emoji), Posix("src/data/" + Utf8(emoji))}});
}

TEST_F(ZipFormatTest, EntriesFollowEachOtherAndTheDirectoryFollowsTheLastEntry) {
  temp.Write("src/d/a.txt", TextOfSize(1000));
  temp.Write("src/d/b.txt", "");
  temp.Write("src/d/s/c.txt", TextOfSize(70000));
  writer->SetBaseDir(u"C:\\src\\");
  writer->Open();
  writer->AddByMask(u"d\\*.*", SearchEverything, u"");
  writer->Close();

  const std::string bytes = ArchiveBytes();
  const ZipLayout layout = ReadLayout(bytes);
  std::uint64_t expectedOffset = 0;
  for (const auto& c : layout.entries) {
    EXPECT_EQ(c.localOffset, expectedOffset) << c.name;
    const LocalRecord local = ReadLocal(bytes, c.localOffset);
    expectedOffset = local.dataOffset + c.compressedSize;
  }
  EXPECT_EQ(layout.directoryOffset, expectedOffset);
  EXPECT_EQ(layout.directoryOffset + layout.directorySize, layout.endRecordOffset);
  ExpectReadersAccept(ArchivePosix(), {{"d/a.txt", Posix("src/d/a.txt")},
                                       {"d/b.txt", Posix("src/d/b.txt")},
                                       {"d/s/", ""},
                                       {"d/s/c.txt", Posix("src/d/s/c.txt")}});
}

}  // namespace
}  // namespace qvn::testing

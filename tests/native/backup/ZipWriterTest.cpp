// The writer's transactions and failures: what the file holds after each update, what the
// user is asked, and how every failure leaves the archive.

#include <filesystem>
#include <functional>

#include "ArchiveReaders.h"
#include "WriterTestBed.h"
#include "ZipLayout.h"
#include "backup/ZipWriterError.h"
#include "platform/OsError.h"

namespace qvn::testing {
namespace {

using platform::DialogButton;
namespace fs = std::filesystem;

const std::string EndRecordAlone = std::string("PK\x05\x06", 4) + std::string(18, '\0');

// Text that deflate shrinks to about a tenth.
std::string Text(std::size_t size, char seed = 'a') {
  std::string text;
  for (std::size_t i = 0; text.size() < size; ++i)
    text += "line " + std::to_string(i * 7919 % 1000) + " " + std::string(1, static_cast<char>(seed + i % 3)) + "\n";
  text.resize(size);
  return text;
}

template <class Error>
std::string MessageOf(const std::function<void()>& action, int* code = nullptr) {
  try {
    action();
  } catch (const Error& e) {
    if constexpr (std::is_same_v<Error, EZipWriterError>) {
      if (code) *code = e.Code();
    }
    return e.what();
  }
  return "(nothing raised)";
}

class ZipWriterTest : public WriterTestBed {
 protected:
  void MakeUnreadable(const std::string& relative) {
    fs::permissions(Posix(relative), fs::perms::none);
  }
  void Stage(const std::u16string& base, const std::u16string& mask) {
    writer->SetBaseDir(base);
    writer->AddByMask(mask, SearchEverything, u"");
  }
  // The offsets of the central directory's entries, and where each entry's data ends.
  struct Span {
    std::uint64_t begin, end;
  };
  std::vector<Span> EntrySpans() const {
    const std::string bytes = ArchiveBytes();
    std::vector<Span> spans;
    for (const auto& c : ReadLayout(bytes).entries)
      spans.push_back({c.localOffset, ReadLocal(bytes, c.localOffset).dataOffset + c.compressedSize});
    return spans;
  }
};

TEST_F(ZipWriterTest, RefusesToStartWithoutANameOrAnOpenArchive) {
  int code = 0;
  writer->SetFileName(u"");
  EXPECT_EQ(MessageOf<EZipWriterError>([&] { writer->Open(); }, &code),
            "File name is blank. Specify appropriate file name - Native error: 00009");
  EXPECT_EQ(code, 9);
  EXPECT_EQ(MessageOf<EZipWriterError>([&] { writer->AddByMask(u"*.*", SearchEverything, u""); }, &code),
            "Archive is not open - Native error: 00013");
  EXPECT_EQ(code, 13);
}

TEST_F(ZipWriterTest, AFileThatCannotBeCreatedNamesThePathAndTheReason) {
  writer->SetFileName(u"C:\\missing\\a.zip");
  EXPECT_EQ(MessageOf<EZipFileError>([&] { writer->Open(); }),
            "Cannot create file \"C:\\missing\\a.zip\". The system cannot find the path specified");
  EXPECT_FALSE(writer->Active());
}

TEST_F(ZipWriterTest, AnExistingFileIsRefusedAndLeftAsItWas) {
  temp.Write("out/test.zip", "an old archive");
  EXPECT_EQ(MessageOf<EZipFileError>([&] { writer->Open(); }),
            "Cannot open file \"C:\\out\\test.zip\". The archive exists already; existing archives "
            "are never changed");
  EXPECT_FALSE(writer->Active());

  const auto holder = temp.Files().Open(archive, platform::FileAccess::ReadWrite, platform::ShareNone,
                                        platform::FileDisposition::OpenExisting);
  EXPECT_EQ(MessageOf<EZipFileError>([&] { writer->Open(); }),
            "Cannot open file \"C:\\out\\test.zip\". The process cannot access the file because it "
            "is being used by another process");
  EXPECT_EQ(ArchiveBytes(), "an old archive");
}

TEST_F(ZipWriterTest, TheArchiveIsHeldForThisWriterAloneUntilReleased) {
  writer->Open();
  EXPECT_THROW(temp.Files().Open(archive, platform::FileAccess::Read,
                                 platform::ShareRead | platform::ShareWrite,
                                 platform::FileDisposition::OpenExisting),
               platform::EOSError);
  EXPECT_FALSE(temp.Files().RemoveFile(archive));
  writer.reset();
  EXPECT_EQ(ArchiveBytes(), EndRecordAlone);
  EXPECT_TRUE(temp.Files().RemoveFile(archive));
}

TEST_F(ZipWriterTest, CloseNeverFailsAndDoesNothingTheSecondTime) {
  writer->Open();
  files.LimitSize(archive, 0);  // not even the end record fits
  EXPECT_NO_THROW(writer->Close());
  EXPECT_FALSE(writer->Active());
  EXPECT_NO_THROW(writer->Close());
  EXPECT_EQ(ArchiveBytes(), "");
}

TEST_F(ZipWriterTest, AStageThatCollectsNothingLeavesTheBytesUnchanged) {
  temp.Write("src/one/a.txt", Text(3000));
  writer->Open();
  Stage(u"C:\\src\\", u"one\\*.*");
  const std::string before = ArchiveBytes();
  Stage(u"C:\\src\\", u"missing\\*.*");
  temp.MakeFolder("src/empty");
  Stage(u"C:\\src\\", u"empty\\*.*");
  EXPECT_EQ(ArchiveBytes(), before);
  EXPECT_EQ(EntryNames(), std::vector<std::string>{"one/a.txt"});
}

TEST_F(ZipWriterTest, NewEntriesNeverTouchTheBytesOfEarlierOnes) {
  temp.Write("src/one/a.txt", Text(3000));
  temp.Write("src/two/b.txt", Text(5000, 'k'));
  writer->Open();
  Stage(u"C:\\src\\", u"one\\*.*");
  const std::uint64_t firstDirectory = ReadLayout(ArchiveBytes()).directoryOffset;
  const std::string firstEntries = ArchiveBytes().substr(0, firstDirectory);
  files.RecordWrites(archive);
  Stage(u"C:\\src\\", u"two\\*.*");
  for (const auto& w : files.Writes(archive)) EXPECT_GE(w.offset, firstDirectory);
  EXPECT_EQ(ArchiveBytes().substr(0, firstDirectory), firstEntries);
  EXPECT_EQ(EntrySpans()[1].begin, firstDirectory) << "the new entry takes the old directory's place";
  writer->Close();
  ExpectReadersAccept(ArchivePosix(), {{"one/a.txt", Posix("src/one/a.txt")},
                                       {"two/b.txt", Posix("src/two/b.txt")}});
}

TEST_F(ZipWriterTest, NestedUpdatesCommitOnceAtTheOutermostEnd) {
  temp.Write("src/one/a.txt", "a");
  temp.Write("src/two/b.txt", "b");
  writer->BeginUpdate();  // opens the writer
  ASSERT_TRUE(writer->Active());
  Stage(u"C:\\src\\", u"one\\*.*");
  Stage(u"C:\\src\\", u"two\\*.*");
  EXPECT_EQ(ArchiveBytes(), "") << "nothing is written before the outermost EndUpdate";
  writer->EndUpdate();
  writer->EndUpdate();  // without an update: nothing
  writer->Close();
  ExpectReadersAccept(ArchivePosix(), {{"one/a.txt", Posix("src/one/a.txt")},
                                       {"two/b.txt", Posix("src/two/b.txt")}});
}

TEST_F(ZipWriterTest, AbortInTheFirstStageLeavesTheEndRecordAndLaterStagesStillAdd) {
  temp.Write("src/one/a.txt", Text(4000));
  temp.Write("src/one/b.txt", "locked");
  temp.Write("src/two/c.txt", Text(100));
  MakeUnreadable("src/one/b.txt");
  boxes.answers = {DialogButton::Abort};
  writer->Open();
  Stage(u"C:\\src\\", u"one\\*.*");
  EXPECT_EQ(ArchiveBytes(), EndRecordAlone);
  EXPECT_TRUE(writer->Entries().empty());

  ASSERT_EQ(boxes.shown.size(), 1u);
  const auto& box = boxes.shown[0];
  EXPECT_EQ(box.caption, "Confirm");
  EXPECT_EQ(box.text, "Cannot open file \"C:\\src\\one\\b.txt\" - Native error: 00033. File "
                      "processing error, possibly disk is full");
  EXPECT_EQ(box.buttons, (std::vector{DialogButton::Abort, DialogButton::Retry, DialogButton::Ignore}));
  EXPECT_EQ(box.defaultButton, DialogButton::Retry);

  Stage(u"C:\\src\\", u"two\\*.*");
  writer->Close();
  ExpectReadersAccept(ArchivePosix(), {{"two/c.txt", Posix("src/two/c.txt")}});
}

TEST_F(ZipWriterTest, IgnoreLeavesJustThatEntryOut) {
  temp.Write("src/one/a.txt", Text(4000));
  temp.Write("src/one/b.txt", "locked");
  temp.Write("src/one/c.txt", Text(2000));
  MakeUnreadable("src/one/b.txt");
  boxes.answers = {DialogButton::Ignore};
  writer->Open();
  Stage(u"C:\\src\\", u"one\\*.*");
  EXPECT_EQ(EntryNames(), (std::vector<std::string>{"one/a.txt", "one/c.txt"}));
  writer->Close();
  ExpectReadersAccept(ArchivePosix(), {{"one/a.txt", Posix("src/one/a.txt")},
                                       {"one/c.txt", Posix("src/one/c.txt")}});
}

TEST_F(ZipWriterTest, AHandlerDecidesInsteadOfTheBox) {
  temp.Write("src/one/a.txt", "locked");
  temp.Write("src/one/b.txt", "b");
  MakeUnreadable("src/one/a.txt");
  int calls = 0;
  writer->OnProcessFileFailure = [&](const std::u16string& name, TProcessOperation operation,
                                     TFileExceptionAction& action, const std::string& message,
                                     int messageIndex, int code) {
    ++calls;
    EXPECT_EQ(Utf8(name), "C:\\src\\one\\a.txt");
    EXPECT_EQ(operation, TProcessOperation::poAdd);
    EXPECT_EQ(action, TFileExceptionAction::fxaIgnore);
    EXPECT_EQ(message, "Cannot open file \"C:\\src\\one\\a.txt\" - Native error: 00033");
    EXPECT_EQ(messageIndex, 33);
    EXPECT_EQ(code, 33);
  };
  writer->Open();
  Stage(u"C:\\src\\", u"one\\*.*");
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(EntryNames(), std::vector<std::string>{"one/b.txt"});
}

TEST_F(ZipWriterTest, RetryWritesTheEntryAgainBehindTheGapOfTheFailedAttempt) {
  temp.Write("src/one/a.txt", Text(3000));
  temp.Write("src/one/b.txt", Text(600000, 'p'));
  temp.Write("src/one/c.txt", Text(900));
  files.GrowWhileRead(u"C:\\src\\one\\b.txt", "appended meanwhile");
  boxes.answers = {DialogButton::Retry};
  writer->Open();
  Stage(u"C:\\src\\", u"one\\*.*");

  ASSERT_EQ(boxes.Texts(), std::vector<std::string>{
                               "Invalid compressed size, rfs.size = 600018, count = 600000 - Native "
                               "error: 00034. File processing error, possibly disk is full"});
  const auto spans = EntrySpans();
  ASSERT_EQ(spans.size(), 3u);
  EXPECT_GT(spans[1].begin, spans[0].end + 30) << "the failed attempt stays as a gap";
  EXPECT_EQ(spans[2].begin, spans[1].end);
  writer->Close();
  ExpectReadersAccept(ArchivePosix(), {{"one/a.txt", Posix("src/one/a.txt")},
                                       {"one/b.txt", Posix("src/one/b.txt")},
                                       {"one/c.txt", Posix("src/one/c.txt")}});
}

TEST_F(ZipWriterTest, AFileThatGrowsWhileReadAndIsIgnoredLeavesAGapNothingPointsInto) {
  temp.Write("src/one/a.txt", Text(3000));
  temp.Write("src/one/b.txt", Text(700000, 'p'));
  temp.Write("src/one/c.txt", Text(900));
  files.GrowWhileRead(u"C:\\src\\one\\b.txt", "x");
  boxes.answers = {DialogButton::Ignore};
  writer->Open();
  Stage(u"C:\\src\\", u"one\\*.*");

  const auto spans = EntrySpans();
  ASSERT_EQ(spans.size(), 2u);
  EXPECT_GT(spans[1].begin, spans[0].end + 30);
  EXPECT_EQ(ReadLayout(ArchiveBytes()).directoryOffset, spans[1].end);
  writer->Close();
  ExpectReadersAccept(ArchivePosix(), {{"one/a.txt", Posix("src/one/a.txt")},
                                       {"one/c.txt", Posix("src/one/c.txt")}});
}

TEST_F(ZipWriterTest, AShortWriteOfEntryDataAsksAndARetryWritesItAgain) {
  temp.Write("src/one/a.txt", Text(3000));
  temp.Write("src/one/b.txt", Text(50000));
  writer->Open();
  // Entry a.txt is written by three writes (header, data, completed header); the fifth write
  // is the first of b.txt's data.
  files.FailWrite(archive, 5, 100);
  Stage(u"C:\\src\\", u"one\\*.*");
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{
                               "Disk is full. There is not enough free space on disk. - Native error: "
                               "00065. File processing error, possibly disk is full"});
  const auto spans = EntrySpans();
  ASSERT_EQ(spans.size(), 2u);
  EXPECT_EQ(spans[1].begin, spans[0].end + 30 + 9 + 100) << "behind the header and the 100 bytes stored";
  writer->Close();
  ExpectReadersAccept(ArchivePosix(), {{"one/a.txt", Posix("src/one/a.txt")},
                                       {"one/b.txt", Posix("src/one/b.txt")}});
}

TEST_F(ZipWriterTest, AFullDiskDuringTheCentralDirectoryRollsTheFileBackByteForByte) {
  temp.Write("src/one/a.txt", Text(3000));
  temp.Write("src/two/b.txt", Text(20000, 'q'));
  temp.Write("src/two/c.txt", Text(30000, 'r'));

  // Where stage 2's directory starts, learnt from the same stages in another archive.
  std::uint64_t directory = 0;
  {
    auto reference = NewWriter();
    reference->SetFileName(u"C:\\out\\reference.zip");
    reference->Open();
    reference->SetBaseDir(u"C:\\src\\");
    reference->AddByMask(u"one\\*.*", SearchEverything, u"");
    reference->AddByMask(u"two\\*.*", SearchEverything, u"");
    reference->Close();
    directory = ReadLayout(temp.Read("out/reference.zip")).directoryOffset;
  }

  writer->Open();
  Stage(u"C:\\src\\", u"one\\*.*");
  const std::string before = ArchiveBytes();
  files.LimitSize(archive, directory + 50);
  int code = 0;
  EXPECT_EQ(MessageOf<EZipWriterError>([&] { Stage(u"C:\\src\\", u"two\\*.*"); }, &code),
            "Write to stream error - Native error: 00046");
  EXPECT_EQ(code, 46);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(ArchiveBytes(), before);
  EXPECT_EQ(EntryNames(), std::vector<std::string>{"one/a.txt"});

  files.LimitSize(archive, std::nullopt);
  Stage(u"C:\\src\\", u"two\\*.*");
  writer->Close();
  EXPECT_EQ(ArchiveBytes(), temp.Read("out/reference.zip"));
  ExpectReadersAccept(ArchivePosix(), {{"one/a.txt", Posix("src/one/a.txt")},
                                       {"two/b.txt", Posix("src/two/b.txt")},
                                       {"two/c.txt", Posix("src/two/c.txt")}});
}

TEST_F(ZipWriterTest, ASourcePathTooLongToOpenOffersAbortAndIgnore) {
  const std::string deep = "src/one/" + std::string(100, 'd') + "/" + std::string(100, 'e') + "/";
  temp.Write(deep + std::string(60, 'f') + ".txt", "x");
  temp.Write("src/one/short.txt", "y");
  boxes.answers = {DialogButton::Ignore};
  writer->Open();
  Stage(u"C:\\src\\", u"one\\*.*");

  ASSERT_EQ(boxes.shown.size(), 1u);
  const std::string path = "C:\\src\\one\\" + std::string(100, 'd') + "\\" + std::string(100, 'e') +
                           "\\" + std::string(60, 'f') + ".txt";
  EXPECT_EQ(boxes.shown[0].text, "File name is too long: \r\n\"" + path + "\" - Native error: 00061");
  EXPECT_EQ(boxes.shown[0].buttons, (std::vector{DialogButton::Abort, DialogButton::Ignore}));
  EXPECT_EQ(boxes.shown[0].defaultButton, DialogButton::Abort);
  const std::string d = "one/" + std::string(100, 'd') + "/";
  EXPECT_EQ(EntryNames(), (std::vector<std::string>{"one/short.txt", d, d + std::string(100, 'e') + "/"}));
}

// Names that differ only in letter case, collected by two calls: the later file replaces the
// earlier entry in its place, and the entries behind it are copied back from a temporary copy.
class ReplacementTest : public ZipWriterTest {
 protected:
  void SetUp() override {
    temp.Write("one/data/Readme.txt", Text(5000, 'o'));
    temp.Write("one/data/x.txt", Text(7000, 'x'));
    temp.Write("two/data/readme.txt", Text(9000, 'n'));
    temp.Write("two/data/new.txt", Text(100, 'w'));
    temp.MakeFolder("tmp");
    writer->SetTempDir(u"C:\\tmp\\");
    writer->Open();
    Stage(u"C:\\one\\", u"data\\*.*");
    first = ArchiveBytes();
  }
  bool TemporaryFolderEmpty() const { return fs::is_empty(Posix("tmp")); }
  std::string first;
};

TEST_F(ReplacementTest, TheLaterFileReplacesTheEntryInItsPlace) {
  Stage(u"C:\\two\\", u"DATA\\*.*");
  EXPECT_EQ(EntryNames(), (std::vector<std::string>{"DATA/readme.txt", "data/x.txt", "DATA/new.txt"}));
  EXPECT_TRUE(TemporaryFolderEmpty());
  writer->Close();
  ExpectReadersAccept(ArchivePosix(), {{"DATA/readme.txt", Posix("two/data/readme.txt")},
                                       {"data/x.txt", Posix("one/data/x.txt")},
                                       {"DATA/new.txt", Posix("two/data/new.txt")}});
}

TEST_F(ReplacementTest, AReplacementThatFailsAndIsIgnoredKeepsTheOldVersion) {
  MakeUnreadable("two/data/readme.txt");
  std::u16string asked;
  writer->OnProcessFileFailure = [&](const std::u16string& name, TProcessOperation operation,
                                     TFileExceptionAction& action, const std::string&, int, int) {
    asked = name;
    EXPECT_EQ(operation, TProcessOperation::poUpdate);
    action = TFileExceptionAction::fxaIgnore;
  };
  Stage(u"C:\\two\\", u"DATA\\*.*");
  EXPECT_EQ(Utf8(asked), "DATA/readme.txt");
  EXPECT_EQ(EntryNames(), (std::vector<std::string>{"data/Readme.txt", "data/x.txt", "DATA/new.txt"}));
  writer->Close();
  ExpectReadersAccept(ArchivePosix(), {{"data/Readme.txt", Posix("one/data/Readme.txt")},
                                       {"data/x.txt", Posix("one/data/x.txt")},
                                       {"DATA/new.txt", Posix("two/data/new.txt")}});
}

TEST_F(ReplacementTest, AnAbortedReplacementPutsTheOldTailBackByteForByte) {
  MakeUnreadable("two/data/new.txt");
  boxes.answers = {DialogButton::Abort};
  Stage(u"C:\\two\\", u"DATA\\*.*");
  EXPECT_EQ(ArchiveBytes(), first);
  EXPECT_EQ(EntryNames(), (std::vector<std::string>{"data/Readme.txt", "data/x.txt"}));
  EXPECT_TRUE(TemporaryFolderEmpty());
}

struct LevelCase {
  TCompressionLevel level;
  std::uint16_t method;
  int chunk;  // the deflate chunk, for deflated entries
  int zlibLevel;
};

class CompressionLevelTest : public ZipWriterTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(CompressionLevelTest, ChoosesMethodLevelAndChunkSize) {
  const auto c = GetParam();
  temp.Write("src/one/big.bmp", Text(2 * 1024 * 1024 + 5, 'b'));
  writer->SetCompressionLevel(c.level);
  writer->Open();
  Stage(u"C:\\src\\", u"one\\*.*");
  writer->Close();
  const std::string bytes = ArchiveBytes();
  const auto entry = ReadLayout(bytes).entries.at(0);
  EXPECT_EQ(entry.method, c.method);
  EXPECT_EQ(ReadLocal(bytes, 0).method, c.method);
  if (c.method == 8) {
    EXPECT_EQ(DeflateVerdict(ArchivePosix(), 0, Posix("src/one/big.bmp"), c.chunk, c.zlibLevel), "");
  } else {
    EXPECT_EQ(entry.compressedSize, entry.uncompressedSize);
  }
  ExpectReadersAccept(ArchivePosix(), {{"one/big.bmp", Posix("src/one/big.bmp")}});
}

INSTANTIATE_TEST_SUITE_P(Levels, CompressionLevelTest,
                         ::testing::Values(LevelCase{TCompressionLevel::clNone, 0, 0, 0},
                                           LevelCase{TCompressionLevel::clNormal, 8, 1048576, 6},
                                           LevelCase{TCompressionLevel::clMax, 8, 1572864, 9}));

TEST_F(ZipWriterTest, FilesMatchingANoCompressionMaskAreStored) {
  temp.Write("src/one/a.jpg", Text(4000));
  temp.Write("src/one/b.txt", Text(4000));
  writer->SetNoCompressionMasks({u"*.jpg"});
  writer->Open();
  Stage(u"C:\\src\\", u"one\\*.*");
  writer->Close();
  const auto entries = ReadLayout(ArchiveBytes()).entries;
  EXPECT_EQ(entries.at(0).method, 0);
  EXPECT_EQ(entries.at(1).method, 8);
  ExpectReadersAccept(ArchivePosix(), {{"one/a.jpg", Posix("src/one/a.jpg")},
                                       {"one/b.txt", Posix("src/one/b.txt")}});
}

}  // namespace
}  // namespace qvn::testing

#include "screenshots/ImageFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "BmpFiles.h"
#include "JpegReading.h"
#include "platform/OsError.h"
#include "platform/posix/PosixText.h"
#include "screenshots/ImageErrors.h"
#include "tests/fakes/ForwardingFileSystem.h"
#include "tests/fakes/TempFolder.h"

namespace qvn {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;
using platform::FileAccess;
using platform::FileDisposition;

class ImageFilesTest : public ::testing::Test {
 public:
  std::vector<std::string> Names(const std::u16string& folder = u"C:\\shots") {
    std::vector<std::string> names;
    auto listing = temp.Files().List(folder + u"\\*");
    for (platform::DirEntry e; listing->Next(e);)
      if (e.name != u"." && e.name != u"..") names.push_back(text.WideToAnsi(e.name));
    return names;
  }
  std::unique_ptr<platform::IFile> Hold(const std::u16string& path, FileAccess access, unsigned share) {
    return temp.Files().Open(path, access, share, FileDisposition::OpenExisting);
  }
  Bitmap Picture() {
    temp.Write("pictures/p.bmp", testing::Bmp24(testing::PhotographicPicture(48, 32)));
    return ReadBitmapFile(temp.Files(), text, u"C:\\pictures\\p.bmp");
  }

  testing::TempFolder temp;
  platform::posix::PosixText text;
};

TEST_F(ImageFilesTest, ReadsAFileAndClosesIt) {
  temp.Write("shots/a.bmp", testing::Bmp24({{{1, 2, 3}, {4, 5, 6}}}));
  const Bitmap bitmap = ReadBitmapFile(temp.Files(), text, u"C:\\shots\\a.bmp");
  EXPECT_EQ(bitmap.width, 2u);
  EXPECT_EQ(bitmap.height, 1u);
  EXPECT_NO_THROW(Hold(u"C:\\shots\\a.bmp", FileAccess::ReadWrite, platform::ShareNone));

  temp.Write("shots/empty.bmp", "");
  EXPECT_TRUE(ReadBitmapFile(temp.Files(), text, u"C:\\shots\\empty.bmp").IsEmpty());
}

// While the file is read, another reader may open it and a writer may not.
TEST_F(ImageFilesTest, LetsOthersReadButNotWriteWhileReading) {
  temp.Write("shots/a.bmp", testing::Bmp24({{{1, 2, 3}}}));
  struct Probe : testing::ForwardingFileSystem {
    using ForwardingFileSystem::ForwardingFileSystem;
    std::unique_ptr<platform::IFile> Open(const std::u16string& path, FileAccess access,
                                          unsigned share, FileDisposition disposition) override {
      auto file = inner_.Open(path, access, share, disposition);
      reader = inner_.Open(path, FileAccess::Read, platform::ShareRead | platform::ShareWrite,
                           FileDisposition::OpenExisting) != nullptr;
      try {
        inner_.Open(path, FileAccess::Write, platform::ShareRead | platform::ShareWrite,
                    FileDisposition::OpenExisting);
        writer = true;
      } catch (const platform::EOSError&) {
      }
      return file;
    }
    bool reader = false, writer = false;
  } probe(temp.Files());
  ReadBitmapFile(probe, text, u"C:\\shots\\a.bmp");
  EXPECT_TRUE(probe.reader);
  EXPECT_FALSE(probe.writer);
}

TEST_F(ImageFilesTest, SourcesThatCannotBeOpenedNameTheFileAndTheReason) {
  temp.Write("shots/busy.bmp", testing::Bmp24({{{1, 2, 3}}}));
  temp.MakeFolder("shots/folder.bmp");
  const auto writer = Hold(u"C:\\shots\\busy.bmp", FileAccess::Write, platform::ShareRead | platform::ShareWrite);
  const std::pair<std::u16string, std::string> cases[] = {
      {u"C:\\shots\\none.bmp", "Cannot open file \"C:\\shots\\none.bmp\". The system cannot find the file specified"},
      {u"C:\\shots\\busy.bmp", "Cannot open file \"C:\\shots\\busy.bmp\". The process cannot access the file "
                               "because it is being used by another process"},
      {u"C:\\shots\\folder.bmp", "Cannot open file \"C:\\shots\\folder.bmp\". Access is denied"},
  };
  for (const auto& [path, message] : cases) {
    try {
      ReadBitmapFile(temp.Files(), text, path);
      ADD_FAILURE() << message;
    } catch (const EImageFileError& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
  }
}

TEST_F(ImageFilesTest, WritesAJpegFileAndNothingElse) {
  const Bitmap bitmap = Picture();
  temp.Write("shots/old.jpg", "old");
  WriteJpegFile(temp.Files(), text, bitmap, u"C:\\shots\\new.jpg");
  WriteJpegFile(temp.Files(), text, bitmap, u"C:\\shots\\old.jpg");
  EXPECT_THAT(Names(), ElementsAre("new.jpg", "old.jpg"));
  EXPECT_EQ(temp.Read("shots/new.jpg"), temp.Read("shots/old.jpg"));
  const testing::Picture decoded = testing::DecodeWithDjpeg(temp.Posix() + "/shots/old.jpg");
  EXPECT_EQ(decoded.size(), 32u);
  EXPECT_EQ(decoded[0].size(), 48u);
}

TEST_F(ImageFilesTest, EmptyBitmapWritesAnEmptyFile) {
  temp.Write("shots/e.jpg", "old");
  WriteJpegFile(temp.Files(), text, Bitmap{}, u"C:\\shots\\e.jpg");
  EXPECT_EQ(temp.Read("shots/e.jpg"), "");
  EXPECT_THAT(Names(), ElementsAre("e.jpg"));
}

// A file system whose files store only part of what they are given, or fail to flush.
class FailingFiles : public testing::ForwardingFileSystem {
 public:
  FailingFiles(platform::IFileSystem& inner, bool shortWrites)
      : ForwardingFileSystem(inner), shortWrites_(shortWrites) {}
  std::unique_ptr<platform::IFile> Open(const std::u16string& path, FileAccess access,
                                        unsigned share, FileDisposition disposition) override {
    struct File : testing::ForwardingFile {
      File(std::unique_ptr<platform::IFile> f, bool s) : ForwardingFile(std::move(f)), shortWrites(s) {}
      std::size_t Write(const void* data, std::size_t count) override {
        return inner_->Write(data, shortWrites ? count / 2 : count);
      }
      void Flush() override {
        if (!shortWrites) throw platform::EOSError(platform::oserror::DiskFull, "There is not enough space on the disk");
        inner_->Flush();
      }
      bool shortWrites;
    };
    return std::make_unique<File>(inner_.Open(path, access, share, disposition), shortWrites_);
  }

 private:
  bool shortWrites_;
};

struct FailureCase {
  const char* name;
  std::function<std::unique_ptr<platform::IFile>(ImageFilesTest&)> prepare;  // may hold a file open
  enum { Real, ShortWrites, FailingFlush } files;
  bool tooWide;
  const char16_t* target;
  std::string message;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class WriteFailureTest : public ImageFilesTest, public ::testing::WithParamInterface<FailureCase> {};

// Whatever fails, the file that was there stays as it was and no temporary file is left.
TEST_P(WriteFailureTest, LeavesTheTargetAsItWasAndNoOtherFile) {
  const FailureCase& c = GetParam();
  temp.Write("shots/shot.jpg", "the old picture");
  const auto held = c.prepare(*this);
  const std::vector<std::string> before = Names();
  Bitmap bitmap = Picture();
  if (c.tooWide) {
    bitmap.width = 65501;
    bitmap.height = 1;
    bitmap.pixels.assign(bitmap.RowBytes(), 0);
  }
  FailingFiles failing(temp.Files(), c.files == FailureCase::ShortWrites);
  platform::IFileSystem& files = c.files == FailureCase::Real ? static_cast<platform::IFileSystem&>(temp.Files()) : failing;
  try {
    WriteJpegFile(files, text, bitmap, c.target);
    FAIL() << "written";
  } catch (const EImageFileError& e) {
    EXPECT_THAT(std::string(e.what()), StartsWith(c.message));
  }
  EXPECT_EQ(temp.Read("shots/shot.jpg"), "the old picture");
  EXPECT_EQ(Names(), before);
}

std::unique_ptr<platform::IFile> Nothing(ImageFilesTest&) { return nullptr; }
std::unique_ptr<platform::IFile> MakeTargetReadOnly(ImageFilesTest& test) {
  test.temp.Files().SetAttributes(u"C:\\shots\\shot.jpg", platform::fileattr::ReadOnly);
  return nullptr;
}
std::unique_ptr<platform::IFile> MakeFolderDirJpg(ImageFilesTest& test) {
  test.temp.MakeFolder("shots/dir.jpg");
  return nullptr;
}
// Another program reads the target and does not let it be deleted or replaced meanwhile.
std::unique_ptr<platform::IFile> HoldTarget(ImageFilesTest& test) {
  return test.Hold(u"C:\\shots\\shot.jpg", FileAccess::Read, platform::ShareRead | platform::ShareWrite);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, WriteFailureTest,
    ::testing::Values(
        FailureCase{"ReadOnlyTarget",
                    MakeTargetReadOnly,
                    FailureCase::Real, false, u"C:\\shots\\shot.jpg",
                    "Cannot create file \"C:\\shots\\shot.jpg\". Access is denied"},
        FailureCase{"TargetIsAFolder",
                    MakeFolderDirJpg,
                    FailureCase::Real, false, u"C:\\shots\\dir.jpg",
                    "Cannot create file \"C:\\shots\\dir.jpg\". Access is denied"},
        FailureCase{"TargetInUse",
                    HoldTarget,
                    FailureCase::Real, false, u"C:\\shots\\shot.jpg",
                    "Cannot create file \"C:\\shots\\shot.jpg\". The process cannot access the file"},
        FailureCase{"NoSuchFolder", Nothing, FailureCase::Real, false, u"C:\\nowhere\\shot.jpg",
                    "Cannot create file \"C:\\nowhere\\shot.jpg\". "},
        FailureCase{"EncoderRefusesTheImage", Nothing, FailureCase::Real, true, u"C:\\shots\\shot.jpg",
                    "JPEG error #"},
        FailureCase{"DiskFullWhileWriting", Nothing, FailureCase::ShortWrites, false,
                    u"C:\\shots\\shot.jpg", "Stream write error"},
        FailureCase{"DiskFullWhileFlushing", Nothing, FailureCase::FailingFlush, false,
                    u"C:\\shots\\shot.jpg", "Stream write error"}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace qvn

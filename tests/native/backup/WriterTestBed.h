#pragma once
// What the archive writer's tests share: a temporary drive C: seen through a file system
// that can inject faults, the Russian code pages, a fixed clock, scripted message boxes and
// a writer on C:\out\test.zip.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "backup/ZipWriter.h"
#include "platform/Utf.h"
#include "platform/posix/PosixText.h"
#include "tests/fakes/FakeMessageBoxes.h"
#include "tests/fakes/FaultyFileSystem.h"
#include "tests/fakes/FixedClock.h"
#include "tests/fakes/TempFolder.h"

namespace qvn::testing {

inline std::string Utf8(std::u16string_view text) { return platform::Utf16ToUtf8(text); }

class WriterTestBed : public ::testing::Test {
 protected:
  WriterTestBed() {
    temp.MakeFolder("out");
    writer = NewWriter();
  }

  std::unique_ptr<TZipWriter> NewWriter() {
    auto w = std::make_unique<TZipWriter>(TZipWriterServices{files, text, clock, boxes});
    w->SetFileName(archive);
    return w;
  }

  std::string ArchiveBytes() const { return temp.Read("out/test.zip"); }
  std::string ArchivePosix() const { return temp.Posix() + "/out/test.zip"; }
  std::string Posix(const std::string& relative) const { return temp.Posix() + "/" + relative; }

  // The entry names of the writer's list, in UTF-8.
  std::vector<std::string> EntryNames() const {
    std::vector<std::string> names;
    for (const auto& e : writer->Entries()) names.push_back(Utf8(e.name));
    return names;
  }

  TempFolder temp;
  platform::posix::PosixText text;
  FixedClock clock;
  FakeMessageBoxes boxes;
  FaultyFileSystem files{temp.Files()};
  const std::u16string archive = u"C:\\out\\test.zip";
  std::unique_ptr<TZipWriter> writer;
};

}  // namespace qvn::testing

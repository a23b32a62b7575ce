#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "BmpFiles.h"
#include "BmpKinds.h"
#include "JpegSegments.h"
#include "screenshots/ImageErrors.h"
#include "screenshots/JpegEncoder.h"

namespace qvn {
namespace {

std::string Encode(const Bitmap& bitmap) {
  const JpegBytes jpeg = EncodeJpeg(bitmap);
  return std::string(reinterpret_cast<const char*>(jpeg.Data()), jpeg.Size());
}

TEST(JpegOnWindowsTest, EveryKindEncodesToTheBaselineLayout) {
  for (const auto& kind : testing::BmpKinds()) {
    std::vector<int> markers;
    for (const auto& s : testing::Segments(Encode(testing::Decode(kind.file)))) markers.push_back(s.marker);
    EXPECT_THAT(markers, ::testing::ElementsAre(0xD8, 0xE0, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4,
                                                0xC4, 0xDA, 0xD9))
        << kind.name;
  }
}

TEST(JpegOnWindowsTest, RowOrderDoesNotChangeTheFile) {
  const testing::Picture picture = testing::PhotographicPicture(40, 30);
  testing::BmpFile topDown;
  topDown.width = 40;
  topDown.height = -30;
  std::vector<std::vector<std::uint32_t>> rows;
  for (const auto& row : picture) {
    rows.emplace_back();
    for (const auto& c : row) rows.back().push_back(c.blue | c.green << 8 | c.red << 16);
  }
  topDown.pixels = testing::PixelRows(3, rows);
  EXPECT_TRUE(Encode(testing::Decode(topDown.Build())) == Encode(testing::Decode(testing::Bmp24(picture))));
}

// Each refusal leaves the library by longjmp and comes back as an exception; the program,
// and the next encoding, go on as if nothing had happened.
TEST(JpegOnWindowsTest, LibraryErrorsComeBackAsExceptionsEveryTime) {
  Bitmap wide;
  wide.width = 65501;
  wide.height = 2;
  wide.pixels.assign(wide.RowBytes() * wide.height, 0x40);
  for (int i = 0; i < 100; ++i) {
    try {
      EncodeJpeg(wide);
      FAIL() << "encoded";
    } catch (const EJpegError& e) {
      ASSERT_EQ(e.Code(), JERR_IMAGE_TOO_BIG);
    }
  }
  wide.width = 65500;
  wide.pixels.assign(wide.RowBytes() * wide.height, 0x40);
  EXPECT_GT(EncodeJpeg(wide).Size(), 0u);
}

}  // namespace
}  // namespace qvn

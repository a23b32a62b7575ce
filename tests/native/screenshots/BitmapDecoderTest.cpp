#include "screenshots/BitmapDecoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "BmpFiles.h"
#include "BmpKinds.h"
#include "screenshots/BgrRows.h"
#include "screenshots/ImageErrors.h"

namespace qvn {
namespace {

using testing::BmpFile;
using testing::Decode;
using testing::Picture;
using testing::KindCase;
using testing::PixelRows;
using testing::Rgb;

constexpr Rgb R{255, 0, 0}, G{0, 255, 0}, B{0, 0, 255}, W{255, 255, 255}, K{0, 0, 0};

// What the encoder is handed: every row, from the top, as blue-green-red.
Picture Shown(const Bitmap& bitmap) {
  const BgrRowConverter converter(bitmap);
  Picture picture;
  std::vector<std::uint8_t> row(bitmap.width * 3);
  for (std::uint32_t y = 0; y < bitmap.height; ++y) {
    converter.Convert(bitmap.RowFromTop(y), row.data());
    picture.emplace_back();
    for (std::uint32_t x = 0; x < bitmap.width; ++x)
      picture.back().push_back({row[3 * x + 2], row[3 * x + 1], row[3 * x]});
  }
  return picture;
}

class BitmapKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(BitmapKindTest, DecodesToTheExpectedColoursPixelByPixel) {
  const Bitmap bitmap = Decode(GetParam().file);
  const Picture& expected = GetParam().expected;
  ASSERT_EQ(bitmap.height, expected.size());
  ASSERT_EQ(bitmap.width, expected[0].size());
  const Picture shown = Shown(bitmap);
  for (std::size_t y = 0; y < expected.size(); ++y)
    for (std::size_t x = 0; x < expected[y].size(); ++x) {
      const Rgb e = expected[y][x], s = shown[y][x];
      EXPECT_EQ(s, e) << "pixel " << x << "," << y << " from the top: " << int(s.red) << " "
                      << int(s.green) << " " << int(s.blue) << ", expected " << int(e.red) << " "
                      << int(e.green) << " " << int(e.blue);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, BitmapKindTest, ::testing::ValuesIn(testing::BmpKinds()),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(BitmapDecoderTest, EmptyInputIsTheEmptyBitmap) {
  const Bitmap bitmap = Decode("");
  EXPECT_EQ(bitmap.width, 0u);
  EXPECT_EQ(bitmap.height, 0u);
  EXPECT_TRUE(bitmap.pixels.empty());
}

TEST(BitmapDecoderTest, ZeroWidthHoldsNoPixels) {
  BmpFile f;
  f.width = 0;
  f.height = 100000;
  const Bitmap bitmap = Decode(f.Build());
  EXPECT_TRUE(bitmap.IsEmpty());
  EXPECT_TRUE(bitmap.pixels.empty());
}

struct ErrorCase {
  const char* name;
  std::string file;
  const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

std::string With(BmpFile f, void (*change)(BmpFile&)) {
  change(f);
  return f.Build();
}

// A built file with one 32-bit field overwritten.
std::string Patched(std::string file, std::size_t offset, std::uint32_t value) {
  for (int b = 0; b < 4; ++b) file[offset + b] = static_cast<char>(value >> (8 * b));
  return file;
}

std::vector<ErrorCase> Errors() {
  BmpFile rgb;
  rgb.width = 2;
  rgb.height = 2;
  rgb.pixels = PixelRows(3, {{1, 2}, {3, 4}});
  BmpFile indexed = rgb;
  indexed.bitsPerPixel = 8;
  indexed.colors.assign(256, Rgb{1, 2, 3});
  const std::string full = indexed.Build();
  const std::size_t tableStart = 14 + 40;
  BmpFile masked = rgb;
  masked.bitsPerPixel = 16;
  masked.compression = 3;
  masked.masks = {0xF800, 0x07E0, 0x001F};
  const std::string withMasks = masked.Build();

  using namespace imagemessages;
  return {
      {"JpegNamedBmp", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11), InvalidBitmap},
      {"OneByte", "B", InvalidBitmap},
      {"Planes2", With(rgb, [](BmpFile& f) { f.planes = 2; }), InvalidBitmap},
      {"HeaderSize20", With(rgb, [](BmpFile& f) { f.headerSize = 20; }), InvalidBitmap},
      {"Depth7", With(rgb, [](BmpFile& f) { f.bitsPerPixel = 7; }), InvalidBitmap},
      {"Rle8At24Bits", With(rgb, [](BmpFile& f) { f.compression = 1; }), InvalidBitmap},
      {"Rle4At8Bits", With(indexed, [](BmpFile& f) { f.compression = 2; }), InvalidBitmap},
      {"BitFieldsAt24Bits", With(rgb, [](BmpFile& f) { f.compression = 3; }), InvalidBitmap},
      {"CompressionJpeg", With(rgb, [](BmpFile& f) { f.compression = 4; }), InvalidBitmap},
      {"NegativeWidth", With(rgb, [](BmpFile& f) { f.width = -2; }), InvalidBitmap},
      {"EndsInFileHeader", std::string("BM\x36\x00\x00", 5), StreamRead},
      {"EndsInInfoHeader", full.substr(0, 14 + 20), StreamRead},
      {"EndsInMasks", withMasks.substr(0, 14 + 40 + 6), StreamRead},
      {"EndsInColorTable", full.substr(0, tableStart + 4 * 100 + 2), StreamRead},
      {"HugeColorCountInASmallFile", With(indexed, [](BmpFile& f) { f.colorsUsed = 0xFFFFFFFF; }), StreamRead},
      {"HugeHeaderSize", Patched(rgb.Build(), 14, 0xFFFFFFF0), StreamRead},
      // Headers that ask for far more pixel data than any screenshot: refused, not allocated.
      {"TooManyPixels", With(rgb, [](BmpFile& f) { f.width = 70000; f.height = 70000; }), OutOfMemory},
      {"TopDownHeightOfMinusTwoToThe31",
       With(rgb, [](BmpFile& f) { f.height = INT32_MIN; }), OutOfMemory},
      {"RowOfEightGigabytes",
       With(rgb, [](BmpFile& f) { f.width = INT32_MAX; f.height = 1; f.bitsPerPixel = 32; }), OutOfMemory},
  };
}

class BitmapErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(BitmapErrorTest, RaisesItsMessage) {
  try {
    Decode(GetParam().file);
    FAIL() << "decoded without an error";
  } catch (const EImageFileError& e) {
    EXPECT_STREQ(e.what(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(Errors, BitmapErrorTest, ::testing::ValuesIn(Errors()),
                         [](const auto& param) { return std::string(param.param.name); });

// A bottom-up file cut inside its pixel data: the rows stored first (the bottom ones) are
// there, the rest is black, up to the top.
TEST(BitmapDecoderTest, PixelDataCutShortLeavesTheMissingRowsBlack) {
  BmpFile f;
  f.width = 2;
  f.height = 3;
  f.pixels = PixelRows(3, {{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFFFF}, {0x00FF00, 0x00FF00}});
  const std::string file = f.Build();
  // Cut after the bottom row and the first pixel of the middle one.
  const Bitmap bitmap = Decode(file.substr(0, file.size() - 8 - 5));
  EXPECT_EQ(Shown(bitmap), (Picture{{K, K}, {B, K}, {R, G}}));

  const Bitmap headersOnly = Decode(file.substr(0, file.size() - f.pixels.size()));
  EXPECT_EQ(Shown(headersOnly), (Picture{{K, K}, {K, K}, {K, K}}));
}

// A size field smaller than the rows limits what is read; run-length data that stops early
// leaves the rest of the image at the table's first colour.
TEST(BitmapDecoderTest, ImageSizeFieldAndEarlyEndOfRunLengthData) {
  BmpFile f;
  f.width = 2;
  f.height = 2;
  f.pixels = PixelRows(3, {{0xFF0000, 0xFF0000}, {0x0000FF, 0x0000FF}});
  f.imageSize = 10;  // the bottom row and two bytes of the top one
  EXPECT_EQ(Shown(Decode(f.Build())), (Picture{{Rgb{0, 0, 255}, K}, {R, R}}));

  BmpFile rle;
  rle.width = 3;
  rle.height = 2;
  rle.bitsPerPixel = 8;
  rle.compression = 1;
  rle.colorsUsed = 2;
  rle.colors = {W, R};
  rle.pixels = std::string("\x02\x01\x00", 3);  // a run of two, then an escape cut short
  EXPECT_EQ(Shown(Decode(rle.Build())), (Picture{{W, W, W}, {R, R, W}}));
}

}  // namespace
}  // namespace qvn

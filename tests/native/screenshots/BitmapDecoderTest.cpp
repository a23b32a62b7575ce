#include "screenshots/BitmapDecoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "BmpFiles.h"
#include "screenshots/BgrRows.h"
#include "screenshots/ImageErrors.h"

namespace qvn {
namespace {

using testing::BmpFile;
using testing::Decode;
using testing::Picture;
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

struct KindCase {
  const char* name;
  std::string file;
  Picture expected;
};

void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }

// The 3-by-2 picture of the direct-colour kinds: red, green, blue above white, black, grey.
Picture Direct(Rgb grey) { return {{R, G, B}, {W, K, grey}}; }
constexpr Rgb Grey{90, 90, 90};

BmpFile Direct24(std::int32_t height, std::vector<std::vector<std::uint32_t>> rows) {
  BmpFile f;
  f.width = 3;
  f.height = height;
  f.pixels = PixelRows(3, rows);
  return f;
}

BmpFile Masked(unsigned bits, std::uint32_t headerSize, std::uint32_t compression,
               std::vector<std::uint32_t> masks, std::vector<std::vector<std::uint32_t>> rows) {
  BmpFile f;
  f.headerSize = headerSize;
  f.width = 3;
  f.height = 2;
  f.bitsPerPixel = static_cast<std::uint16_t>(bits);
  f.compression = compression;
  f.masks = std::move(masks);
  f.pixels = PixelRows(bits / 8, rows);
  return f;
}

Rgb Ramp256(int i) {
  return {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
          static_cast<std::uint8_t>(i * 7)};
}
Rgb Ramp16(int i) {
  return {static_cast<std::uint8_t>(i * 17), static_cast<std::uint8_t>(255 - i * 17), 0};
}

std::vector<KindCase> Kinds() {
  std::vector<KindCase> cases;
  const std::vector<std::vector<std::uint32_t>> bgr = {{0xFFFFFF, 0x000000, 0x5A5A5A},
                                                       {0xFF0000, 0x00FF00, 0x0000FF}};
  cases.push_back({"Rgb24BottomUp", Direct24(2, bgr).Build(), Direct(Grey)});
  cases.push_back({"Rgb24TopDown", Direct24(-2, {bgr[1], bgr[0]}).Build(), Direct(Grey)});
  {
    BmpFile f = Direct24(2, bgr);
    f.headerSize = 12;
    cases.push_back({"Rgb24CoreHeader", f.Build(), Direct(Grey)});
  }
  {
    BmpFile f = Direct24(2, bgr);
    f.headerSize = 108;
    cases.push_back({"Rgb24Header108", f.Build(), Direct(Grey)});
  }
  {
    BmpFile f = Direct24(2, bgr);
    f.colorsUsed = 2;
    f.colors = {K, K};
    cases.push_back({"Rgb24WithIgnoredColorTable", f.Build(), Direct(Grey)});
  }
  {
    BmpFile f = Direct24(2, bgr);
    f.gap = "gap!";
    cases.push_back({"Rgb24PixelsAtTheOffsetBehindAGap", f.Build(), Direct(Grey)});
    f.gap.clear();
    f.pixelOffset = 0;
    cases.push_back({"Rgb24OffsetZeroPixelsFollowTheHeader", f.Build(), Direct(Grey)});
  }
  cases.push_back({"Bgrx32FourthByteIgnored",
                   Masked(32, 40, 0, {}, {{0x12FFFFFF, 0xFF000000, 0x805A5A5A},
                                          {0x01FF0000, 0x7F00FF00, 0xFE0000FF}}).Build(),
                   Direct(Grey)});
  cases.push_back({"Rgba32BitFieldsAfterHeader",
                   Masked(32, 40, 3, {0x000000FF, 0x0000FF00, 0x00FF0000},
                          {{0xAAFFFFFF, 0xAA000000, 0xAA5A5A5A}, {0x000000FF, 0x0000FF00, 0x00FF0000}})
                       .Build(),
                   Direct(Grey)});
  cases.push_back({"Rgbx32BitFieldsInHeader124",
                   Masked(32, 124, 3, {0xFF000000, 0x00FF0000, 0x0000FF00},
                          {{0xFFFFFF01, 0x00000002, 0x5A5A5A03}, {0xFF000004, 0x00FF0005, 0x0000FF06}})
                       .Build(),
                   Direct(Grey)});
  // 5-bit 11 widens to 90 (11 * 255 / 31 = 90.5), 6-bit 22 to 89 (89.05).
  cases.push_back({"Rgb555WithoutBitFields",
                   Masked(16, 40, 0, {}, {{0x7FFF, 0x0000, 0x2D6B}, {0x7C00, 0x03E0, 0x001F}}).Build(),
                   Direct(Grey)});
  cases.push_back({"Rgb565BitFieldsAfterHeader",
                   Masked(16, 40, 3, {0xF800, 0x07E0, 0x001F},
                          {{0xFFFF, 0x0000, 0x5ACB}, {0xF800, 0x07E0, 0x001F}}).Build(),
                   Direct({90, 89, 90})});
  cases.push_back({"Rgb565BitFieldsInHeader108",
                   Masked(16, 108, 3, {0xF800, 0x07E0, 0x001F},
                          {{0xFFFF, 0x0000, 0x5ACB}, {0xF800, 0x07E0, 0x001F}}).Build(),
                   Direct({90, 89, 90})});
  {
    BmpFile f;
    f.width = 3;
    f.height = 2;
    f.bitsPerPixel = 8;
    for (int i = 0; i < 256; ++i) f.colors.push_back(Ramp256(i));
    f.pixels = PixelRows(1, {{128, 1, 254}, {0, 7, 255}});
    cases.push_back({"Indexed8FullTable", f.Build(),
                     {{Ramp256(0), Ramp256(7), Ramp256(255)}, {Ramp256(128), Ramp256(1), Ramp256(254)}}});
    f.height = -2;
    f.pixels = PixelRows(1, {{0, 7, 255}, {128, 1, 254}});
    cases.push_back({"Indexed8TopDown", f.Build(),
                     {{Ramp256(0), Ramp256(7), Ramp256(255)}, {Ramp256(128), Ramp256(1), Ramp256(254)}}});
  }
  {
    BmpFile f;
    f.width = 3;
    f.height = 2;
    f.bitsPerPixel = 8;
    f.colorsUsed = 3;
    f.colors = {R, G, B};
    f.pixels = PixelRows(1, {{2, 5, 0}, {0, 1, 2}});
    cases.push_back({"Indexed8ShortTableIndexBeyondIsBlack", f.Build(), {{R, G, B}, {B, K, R}}});
  }
  {
    BmpFile f;
    f.width = 2;
    f.height = 1;
    f.bitsPerPixel = 8;
    f.colorsUsed = 300;
    for (int i = 0; i < 300; ++i) f.colors.push_back(i < 256 ? Ramp256(i) : W);
    f.pixels = PixelRows(1, {{255, 3}});
    cases.push_back({"Indexed8TableOf300EntriesKeeps256", f.Build(), {{Ramp256(255), Ramp256(3)}}});
  }
  {
    BmpFile f;
    f.width = 5;
    f.height = 2;
    f.bitsPerPixel = 4;
    for (int i = 0; i < 16; ++i) f.colors.push_back(Ramp16(i));
    f.pixels = std::string("\xF0\xAB\xC0\x00" "\x12\x34\x50\x00", 8);
    cases.push_back({"Indexed4ColorsUsedZeroReads16", f.Build(),
                     {{Ramp16(1), Ramp16(2), Ramp16(3), Ramp16(4), Ramp16(5)},
                      {Ramp16(15), Ramp16(0), Ramp16(10), Ramp16(11), Ramp16(12)}}});
  }
  {
    BmpFile f;
    f.width = 10;
    f.height = 2;
    f.bitsPerPixel = 1;
    f.colors = {R, B};
    f.pixels = std::string("\x40\x80\x00\x00" "\xB0\x40\x00\x00", 8);
    cases.push_back({"Monochrome", f.Build(),
                     {{B, R, B, B, R, R, R, R, R, B}, {R, B, R, R, R, R, R, R, B, R}}});
  }
  {
    BmpFile f;
    f.headerSize = 12;
    f.width = 3;
    f.height = 2;
    f.bitsPerPixel = 8;
    f.colors.assign(256, K);
    f.colors[0] = R;
    f.colors[1] = G;
    f.colors[2] = B;
    f.colors[3] = W;
    f.pixels = PixelRows(1, {{3, 3, 0}, {0, 1, 2}});
    cases.push_back({"Indexed8CoreHeaderThreeByteEntries", f.Build(), {{R, G, B}, {W, W, R}}});
  }
  {
    // Bottom row: a run longer than the row, cut at its end. Middle: an absolute stretch of
    // three, padded, its fourth pixel never set. Top: a delta, a run, the end of the bitmap.
    BmpFile f;
    f.width = 4;
    f.height = 3;
    f.bitsPerPixel = 8;
    f.compression = 1;
    f.colorsUsed = 4;
    f.colors = {K, R, G, B};
    f.pixels = std::string("\x06\x01\x00\x00" "\x00\x03\x02\x03\x02\x00\x00\x00"
                           "\x00\x02\x01\x00\x02\x03\x00\x01", 20);
    f.imageSize = static_cast<std::uint32_t>(f.pixels.size());
    cases.push_back({"Rle8", f.Build(), {{K, B, B, K}, {G, B, G, K}, {R, R, R, R}}});
  }
  {
    // Bottom row: a run alternating the halves of its byte. Top: an absolute stretch of five
    // pixels in three bytes, padded to four.
    BmpFile f;
    f.width = 5;
    f.height = 2;
    f.bitsPerPixel = 4;
    f.compression = 2;
    for (int i = 0; i < 16; ++i) f.colors.push_back(Ramp16(i));
    f.pixels = std::string("\x05\x12\x00\x00" "\x00\x05\x34\x56\x60\x00" "\x00\x01", 12);
    f.imageSize = static_cast<std::uint32_t>(f.pixels.size());
    cases.push_back({"Rle4", f.Build(),
                     {{Ramp16(3), Ramp16(4), Ramp16(5), Ramp16(6), Ramp16(6)},
                      {Ramp16(1), Ramp16(2), Ramp16(1), Ramp16(2), Ramp16(1)}}});
  }
  return cases;
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

INSTANTIATE_TEST_SUITE_P(Kinds, BitmapKindTest, ::testing::ValuesIn(Kinds()),
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

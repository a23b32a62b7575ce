#include "screenshots/JpegEncoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "BmpFiles.h"
#include "JpegReading.h"
#include "screenshots/BitmapDecoder.h"
#include "screenshots/ImageErrors.h"
#include "tests/fakes/TempFolder.h"

namespace qvn {
namespace {

using testing::BmpFile;
using testing::Decode;
using testing::Picture;
using testing::PixelRows;
using testing::Rgb;

std::string Encode(const Bitmap& bitmap) {
  const JpegBytes jpeg = EncodeJpeg(bitmap);
  return std::string(reinterpret_cast<const char*>(jpeg.Data()), jpeg.Size());
}

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

// The positions in zig-zag order of the eight entries of a table's first row.
constexpr int FirstRowInZigZag[8] = {0, 1, 5, 6, 14, 15, 27, 28};

std::vector<int> FirstRow(const testing::Segment& dqt) {
  std::vector<int> row;
  for (int z : FirstRowInZigZag) row.push_back(static_cast<std::uint8_t>(dqt.payload[1 + z]));
  return row;
}

TEST(JpegEncoderTest, WritesExactlyTheBaselineJfifSegments) {
  const Bitmap bitmap = Decode(testing::Bmp24(testing::PhotographicPicture(37, 23)));
  const auto segments = testing::Segments(Encode(bitmap));
  std::vector<int> markers;
  for (const auto& s : segments) markers.push_back(s.marker);
  ASSERT_THAT(markers, ::testing::ElementsAre(0xD8, 0xE0, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4,
                                              0xC4, 0xDA, 0xD9));

  const auto& app0 = segments[1];
  EXPECT_EQ(app0.length, 16u);
  EXPECT_EQ(app0.payload, Bytes({'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}));

  EXPECT_EQ(segments[2].length, 67u);
  EXPECT_EQ(segments[2].payload[0], 0);  // 8-bit entries, table 0
  EXPECT_THAT(FirstRow(segments[2]), ::testing::ElementsAre(3, 2, 2, 3, 5, 8, 10, 12));
  EXPECT_EQ(segments[3].length, 67u);
  EXPECT_EQ(segments[3].payload[0], 1);
  EXPECT_THAT(FirstRow(segments[3]), ::testing::ElementsAre(3, 4, 5, 9, 20, 20, 20, 20));

  EXPECT_EQ(segments[4].length, 17u);
  EXPECT_EQ(segments[4].payload,
            Bytes({8, 0, 23, 0, 37, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}));

  // The standard tables: class and number, then the code counts by length (T.81, K.3).
  const std::vector<std::pair<std::size_t, std::string>> huffman = {
      {31, Bytes({0x00, 0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0})},
      {181, Bytes({0x10, 0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D})},
      {31, Bytes({0x01, 0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0})},
      {181, Bytes({0x11, 0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77})}};
  for (std::size_t i = 0; i < huffman.size(); ++i) {
    EXPECT_EQ(segments[5 + i].length, huffman[i].first) << "DHT " << i;
    EXPECT_EQ(segments[5 + i].payload.substr(0, 17), huffman[i].second) << "DHT " << i;
  }

  EXPECT_EQ(segments[9].length, 12u);
  EXPECT_EQ(segments[9].payload, Bytes({3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}));
}

TEST(JpegEncoderTest, DecodesCloseToTheSourceWithLibjpegAndDjpeg) {
  const Picture source = testing::PhotographicPicture(320, 240);
  const std::string jpeg = Encode(Decode(testing::Bmp24(source)));

  const testing::Decoded decoded = testing::DecodeJpeg(jpeg);
  EXPECT_EQ(decoded.width, 320);
  EXPECT_EQ(decoded.height, 240);
  EXPECT_EQ(decoded.components, 3);
  EXPECT_EQ(decoded.warnings, 0);
  const double psnr = testing::Psnr(source, decoded.picture);
  EXPECT_GE(psnr, 35.0);
  RecordProperty("psnr_db", std::to_string(psnr));

  testing::TempFolder folder;
  folder.Write("a.jpg", jpeg);
  EXPECT_EQ(testing::DecodeWithDjpeg(folder.Posix() + "/a.jpg"), decoded.picture);
}

// cjpeg, the library's own program, at the same settings, writes the same bytes.
TEST(JpegEncoderTest, MatchesCjpegAtTheSameSettings) {
  testing::TempFolder folder;
  for (auto [width, height] : {std::pair{333, 217}, {16, 16}, {1, 1}}) {
    const std::string bmp = testing::Bmp24(testing::PhotographicPicture(width, height));
    folder.Write("in.bmp", bmp);
    const std::string command = "cjpeg -dct float -quality 90 -sample 2x2 -outfile '" + folder.Posix() +
                                "/cjpeg.jpg' '" + folder.Posix() + "/in.bmp'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(Encode(Decode(bmp)) == folder.Read("cjpeg.jpg")) << width << " by " << height;
  }
}

// The same picture stored in every way that can hold it exactly gives the same file, so rows
// go in top first, 16-bit channels widen to full intensity, table colours are taken, and the
// fourth byte of 32-bit pixels plays no part.
TEST(JpegEncoderTest, EveryStorageOfOnePictureGivesIdenticalBytes) {
  constexpr int Width = 21, Height = 18;
  const Rgb red{255, 0, 0}, blue{0, 0, 255};
  auto isRed = [](int x, int y) { return (x / 5 + y / 4) % 2 == 0 || y < 3; };  // a red top band
  Picture picture(Height, std::vector<Rgb>(Width));
  std::vector<std::vector<std::uint32_t>> bgr, bgrx, bgrxNoise, rgb565, rgb555, indexed;
  for (int y = Height - 1; y >= 0; --y) {  // stored rows, bottom first
    bgr.emplace_back();
    bgrx.emplace_back();
    bgrxNoise.emplace_back();
    rgb565.emplace_back();
    rgb555.emplace_back();
    indexed.emplace_back();
    for (int x = 0; x < Width; ++x) {
      const bool r = isRed(x, y);
      picture[y][x] = r ? red : blue;
      bgr.back().push_back(r ? 0xFF0000 : 0x0000FF);
      bgrx.back().push_back(r ? 0xFF0000 : 0x0000FF);
      bgrxNoise.back().push_back((r ? 0xFF0000 : 0x0000FF) | static_cast<std::uint32_t>(x * 37 + y) << 24);
      rgb565.back().push_back(r ? 0xF800 : 0x001F);
      rgb555.back().push_back(r ? 0x7C00 : 0x001F);
      indexed.back().push_back(r ? 1 : 0);
    }
  }
  auto file = [&](unsigned bits, std::uint32_t compression, std::vector<std::uint32_t> masks,
                  const std::vector<std::vector<std::uint32_t>>& rows) {
    BmpFile f;
    f.width = Width;
    f.height = Height;
    f.bitsPerPixel = static_cast<std::uint16_t>(bits);
    f.compression = compression;
    f.masks = std::move(masks);
    f.pixels = PixelRows(bits >= 8 ? bits / 8 : 1, rows);
    return f;
  };
  BmpFile topDown = file(24, 0, {}, {bgr.rbegin(), bgr.rend()});
  topDown.height = -Height;
  BmpFile palette8 = file(8, 0, {}, indexed);
  palette8.colors = {blue, red};
  palette8.colorsUsed = 2;
  BmpFile palette1;  // one bit a pixel, packed by hand
  palette1.width = Width;
  palette1.height = Height;
  palette1.bitsPerPixel = 1;
  palette1.colors = {blue, red};
  for (const auto& row : indexed) {
    std::string packed(4, '\0');
    for (int x = 0; x < Width; ++x)
      if (row[x]) packed[x / 8] = static_cast<char>(packed[x / 8] | (0x80 >> (x % 8)));
    palette1.pixels += packed;
  }

  const Bitmap reference = Decode(file(24, 0, {}, bgr).Build());
  const Bitmap before = reference;
  const std::string expected = Encode(reference);
  EXPECT_EQ(reference.pixels, before.pixels) << "the caller's bitmap is left alone";
  const std::vector<std::pair<const char*, BmpFile>> storages = {
      {"24 bits top-down", topDown},
      {"32 bits", file(32, 0, {}, bgrx)},
      {"32 bits, varying fourth bytes", file(32, 0, {}, bgrxNoise)},
      {"32 bits, bit fields", file(32, 3, {0x00FF0000, 0x0000FF00, 0x000000FF}, bgrxNoise)},
      {"16 bits 5-6-5", file(16, 3, {0xF800, 0x07E0, 0x001F}, rgb565)},
      {"16 bits 5-5-5", file(16, 0, {}, rgb555)},
      {"8 bits, table", palette8},
      {"1 bit, table", palette1},
  };
  for (const auto& [name, storage] : storages)
    EXPECT_TRUE(Encode(Decode(storage.Build())) == expected) << name;

  // Upright: the red band is at the top of the decoded image.
  const Picture decoded = testing::DecodeJpeg(expected).picture;
  EXPECT_GT(decoded[0][10].red, 200);
  EXPECT_LT(decoded[0][10].blue, 60);
}

TEST(JpegEncoderTest, TinyImagesEncodeLikeAnyOther) {
  for (auto [width, height] : {std::pair{640, 1}, {1, 1}, {1, 17}, {17, 2}}) {
    const std::string jpeg = Encode(Decode(testing::Bmp24(testing::PhotographicPicture(width, height))));
    const testing::Decoded decoded = testing::DecodeJpeg(jpeg);
    EXPECT_EQ(decoded.width, width);
    EXPECT_EQ(decoded.height, height);
  }
}

TEST(JpegEncoderTest, EmptyBitmapGivesNoBytes) {
  EXPECT_EQ(EncodeJpeg(Bitmap{}).Size(), 0u);
  Bitmap noRows;
  noRows.width = 5;
  EXPECT_EQ(EncodeJpeg(noRows).Size(), 0u);
}

Bitmap Blank(std::uint32_t width, std::uint32_t height) {
  Bitmap bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.pixels.assign(bitmap.RowBytes() * height, 0x80);
  return bitmap;
}

TEST(JpegEncoderTest, SidesBeyond65500PixelsAreTheLibrarysError) {
  for (auto [width, height] : {std::pair{65501u, 1u}, {1u, 65501u}}) {
    try {
      EncodeJpeg(Blank(width, height));
      ADD_FAILURE() << width << " by " << height << " encoded";
    } catch (const EJpegError& e) {
      EXPECT_EQ(e.Code(), JERR_IMAGE_TOO_BIG);
      EXPECT_EQ(std::string(e.what()), "JPEG error #" + std::to_string(JERR_IMAGE_TOO_BIG));
    }
  }
  // The largest side that the library takes, read back by djpeg.
  testing::TempFolder folder;
  folder.Write("wide.jpg", Encode(Blank(65500, 2)));
  const Picture wide = testing::DecodeWithDjpeg(folder.Posix() + "/wide.jpg");
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_EQ(wide[0].size(), 65500u);
}

TEST(JpegEncoderTest, BitmapsThatDoNotHoldTheirRowsAreRefused) {
  Bitmap shortPixels = Blank(10, 10);
  shortPixels.pixels.resize(shortPixels.pixels.size() - 1);
  Bitmap oddDepth = Blank(10, 10);
  oddDepth.bitsPerPixel = 7;
  for (const Bitmap* bad : {&shortPixels, &oddDepth})
    EXPECT_THROW(EncodeJpeg(*bad), EImageFileError);
}

}  // namespace
}  // namespace qvn

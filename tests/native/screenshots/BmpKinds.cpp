#include "BmpKinds.h"

namespace qvn::testing {

namespace {

constexpr Rgb R{255, 0, 0}, G{0, 255, 0}, B{0, 0, 255}, W{255, 255, 255}, K{0, 0, 0};

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

}  // namespace

std::vector<KindCase> BmpKinds() {
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

}  // namespace qvn::testing

#pragma once
// A BMP image held in memory the way the file stores it: packed rows of 1, 4, 8, 16, 24 or 32
// bits per pixel, each row padded to a multiple of four bytes, in the file's row order.
// Run-length data is already expanded to plain rows of its depth.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvn {

// One colour-table entry.
struct BitmapColor {
  std::uint8_t blue = 0;
  std::uint8_t green = 0;
  std::uint8_t red = 0;
  std::uint8_t reserved = 0;
};

struct Bitmap {
  static constexpr std::size_t MaxColors = 256;

  std::uint32_t width = 0;   // pixels; 0 by 0 is the empty bitmap
  std::uint32_t height = 0;  // pixels, always positive; the order is in topDown
  unsigned bitsPerPixel = 24;
  bool topDown = false;  // false: the first row stored is the bottom row
  // Channel masks (red, green, blue) at 16 and 32 bits per pixel; files without bit fields
  // get the masks of their fixed layout (5-5-5, or blue, green, red, unused byte).
  std::array<std::uint32_t, 3> masks{};
  // The colour table as the file gives it, at most MaxColors entries. Pixels whose index
  // lies beyond it are black.
  std::vector<BitmapColor> colors;
  // RowBytes() * height bytes.
  std::vector<std::uint8_t> pixels;

  // The bytes of one stored row: width * bitsPerPixel bits, padded to a multiple of 32 bits.
  std::size_t RowBytes() const { return RowBytesFor(width, bitsPerPixel); }
  static std::size_t RowBytesFor(std::uint64_t width, unsigned bitsPerPixel) {
    return static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4);
  }
  // The stored row that shows as row y counted from the top.
  const std::uint8_t* RowFromTop(std::uint32_t y) const {
    const std::uint32_t stored = topDown ? y : height - 1 - y;
    return pixels.data() + static_cast<std::size_t>(stored) * RowBytes();
  }
  bool IsEmpty() const { return width == 0 || height == 0; }
};

}  // namespace qvn

#pragma once
// BMP files for tests, written field by field, so that each case shows in the test what the
// file holds; and the pictures that the tests expect them to show.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "screenshots/Bitmap.h"

namespace qvn::testing {

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

// A picture as it shows: rows from the top, pixels from the left.
using Picture = std::vector<std::vector<Rgb>>;

// Little-endian fields appended to a byte string.
class Fields {
 public:
  Fields& U8(std::uint32_t v);
  Fields& U16(std::uint32_t v);
  Fields& U32(std::uint32_t v);
  Fields& Raw(const std::string& bytes);
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// The parts of one BMP file. Build() writes the 14-byte file header, the bitmap header of
// headerSize bytes (core at 12, information header at 40 and more, zero-filled beyond the
// fields it knows), the masks after a header shorter than 52 bytes, the colour table, gap and
// the pixel data.
struct BmpFile {
  std::uint32_t headerSize = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: top-down
  std::uint16_t planes = 1;
  std::uint16_t bitsPerPixel = 24;
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::uint32_t colorsUsed = 0;
  std::uint32_t pixelsPerMeter = 0;  // both resolutions
  std::vector<std::uint32_t> masks;  // red, green, blue, written only when given
  std::vector<Rgb> colors;           // 4-byte entries, 3-byte after a core header
  std::string gap;                   // bytes between the table and the pixel data
  std::string pixels;
  std::optional<std::uint32_t> pixelOffset;  // the file header's field; by default correct

  std::string Build() const;
};

// Stored rows of pixel values of bytesPerPixel bytes each (little-endian), padded to four
// bytes, in the order given.
std::string PixelRows(unsigned bytesPerPixel, const std::vector<std::vector<std::uint32_t>>& rows);

// A bottom-up 24-bit file of the picture.
std::string Bmp24(const Picture& picture);

// The bitmap that the decoder makes of the file's bytes.
Bitmap Decode(const std::string& file);

// A picture with smooth shading, edges and fine texture, the way screenshots look.
Picture PhotographicPicture(int width, int height);

}  // namespace qvn::testing

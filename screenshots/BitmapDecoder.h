#pragma once
// Decoding BMP files: the 12-byte core header with 3-byte colour entries; the 40-byte
// information header and its longer variants (108, 124 bytes, or any other length of 40 or
// more); 1, 4, 8, 16, 24 and 32 bits per pixel; no compression, RLE8, RLE4, and bit fields at
// 16 and 32 bits; bottom-up and top-down rows. The decoder takes its bytes from an
// IBitmapBytes, so that it runs on files and on blocks of memory alike.

#include <cstddef>
#include <cstdint>
#include <span>

#include "screenshots/Bitmap.h"

namespace qvn {

// Where the decoder reads a file's bytes from.
class IBitmapBytes {
 public:
  virtual ~IBitmapBytes() = default;
  virtual std::uint64_t Size() = 0;
  // Reads up to count bytes at the current position; fewer only at the end.
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Moves to a position from the start, at most Size().
  virtual void Seek(std::uint64_t position) = 0;
};

class MemoryBitmapBytes : public IBitmapBytes {
 public:
  explicit MemoryBitmapBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Size() override { return bytes_.size(); }
  std::size_t Read(void* buffer, std::size_t count) override;
  void Seek(std::uint64_t position) override;

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// The most pixel data a bitmap may hold (rows times padded row size): 256 MiB, twice what an
// 8K screenshot at 32 bits per pixel needs. A header that asks for more is refused before
// anything is allocated, so that a few bytes of header cannot claim gigabytes.
inline constexpr std::size_t MaxBitmapPixelBytes = std::size_t{256} << 20;

// Decodes one BMP file. An empty input gives the empty bitmap (0 by 0). Pixel data cut short
// by the end of the input leaves the missing bytes zero. Raises EImageFileError:
// "Bitmap image is not valid" (no "BM" signature, planes other than 1, a header size below 40
// other than 12, negative width, a depth or compression not read), "Stream read error" (the
// input ends inside the headers, masks or colour table), "Out of memory" (more pixel data
// than MaxBitmapPixelBytes, or the allocation failed). Errors of the source propagate.
//
// Colour tables: as many entries as "colours used" says, or 2, 16 or 256 at 1, 4 or 8 bits
// when it is 0; at most Bitmap::MaxColors are kept and the rest is skipped. The pixel data
// starts at the file header's offset when that lies at or behind the end of the colour
// table, and right after the table otherwise (writers that leave the offset 0).
Bitmap DecodeBitmap(IBitmapBytes& bytes);

}  // namespace qvn

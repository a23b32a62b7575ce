#pragma once
// Expanding run-length BMP data (RLE8 and RLE4) into plain rows of 8 or 4 bits per pixel.

#include <cstdint>
#include <vector>

#include "screenshots/Bitmap.h"
#include "screenshots/BitmapDecoder.h"

namespace qvn {

// The compressed bytes, pulled from the current position of a source in chunks, up to a limit.
class RleBytes {
 public:
  RleBytes(IBitmapBytes& source, std::uint64_t limit);
  // The next byte, or false at the limit or the end of the source.
  bool Next(std::uint8_t& byte);

 private:
  IBitmapBytes& source_;
  std::uint64_t left_;
  std::vector<std::uint8_t> chunk_;
  std::size_t at_ = 0;
  std::size_t filled_ = 0;
};

// Expands the runs into bitmap.pixels (which must be sized and zero), in stored row order, at
// bitmap.bitsPerPixel (8 or 4). Runs and absolute stretches that reach beyond a row are cut at
// its end; deltas beyond the image and data after the last row are ignored. Pixels that the
// data never sets stay 0 (the colour table's first entry). Data that ends early, or an
// end-of-bitmap code, ends the expansion without an error.
void ExpandRle(RleBytes& input, Bitmap& bitmap);

}  // namespace qvn

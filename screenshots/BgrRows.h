#pragma once
// The working image of the encoder, one row at a time: each stored row of a bitmap turned
// into three bytes a pixel in the order blue, green, red. Colour-table depths take their
// table's colours, 16- and 32-bit pixels go through their channel masks, and the fourth byte
// of 32-bit pixels is dropped without any blending. Rows are made as the encoder asks for
// them, so the whole image is never copied.

#include <array>
#include <cstdint>

#include "screenshots/Bitmap.h"

namespace qvn {

// How stored rows can go to the encoder without being converted.
enum class DirectRows {
  None,  // every row must be converted
  Bgr,   // 24 bits: blue, green, red
  Bgrx,  // 32 bits with the fixed layout: blue, green, red, and a byte to ignore
};

DirectRows DirectRowsOf(const Bitmap& bitmap);

class BgrRowConverter {
 public:
  // Prepares the colour table and the mask tables. Raises EImageFileError ("Bitmap image is
  // not valid") for a depth other than 1, 4, 8, 16, 24 or 32, or pixel data shorter than
  // its rows.
  explicit BgrRowConverter(const Bitmap& bitmap);

  // Writes width * 3 bytes at out from the stored row given. Never raises.
  void Convert(const std::uint8_t* storedRow, std::uint8_t* out) const noexcept;

 private:
  // One colour channel of a 16- or 32-bit pixel: its bits, right-aligned, widened to 8 bits.
  struct Channel {
    std::uint32_t mask = 0;
    unsigned shift = 0;
    unsigned bits = 0;                 // the channel's width; up to 8 bits go through widen
    std::array<std::uint8_t, 256> widen{};
    std::uint8_t Of(std::uint32_t pixel) const noexcept;
  };
  static Channel MakeChannel(std::uint32_t mask);
  void ConvertIndexed(const std::uint8_t* in, std::uint8_t* out) const noexcept;
  void ConvertMasked(const std::uint8_t* in, std::uint8_t* out) const noexcept;

  const Bitmap& bitmap_;
  std::array<std::uint8_t, Bitmap::MaxColors * 3> palette_{};  // blue, green, red per entry
  std::array<Channel, 3> channels_{};                           // red, green, blue
};

}  // namespace qvn

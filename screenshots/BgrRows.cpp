#include "screenshots/BgrRows.h"

#include <bit>
#include <cstring>

#include "screenshots/ImageErrors.h"

namespace qvn {

namespace {

constexpr std::array<std::uint32_t, 3> FixedBgrxMasks = {0x00FF0000, 0x0000FF00, 0x000000FF};

std::uint32_t LoadPixel(const std::uint8_t* p, unsigned bitsPerPixel) {
  if (bitsPerPixel == 16) return static_cast<std::uint32_t>(p[0] | p[1] << 8);
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

DirectRows DirectRowsOf(const Bitmap& bitmap) {
  if (bitmap.bitsPerPixel == 24) return DirectRows::Bgr;
  if (bitmap.bitsPerPixel == 32 && bitmap.masks == FixedBgrxMasks) return DirectRows::Bgrx;
  return DirectRows::None;
}

BgrRowConverter::BgrRowConverter(const Bitmap& bitmap) : bitmap_(bitmap) {
  switch (bitmap.bitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: throw EImageFileError(imagemessages::InvalidBitmap);
  }
  if (!bitmap.IsEmpty() && bitmap.pixels.size() / bitmap.RowBytes() < bitmap.height)
    throw EImageFileError(imagemessages::InvalidBitmap);
  for (std::size_t i = 0; i < bitmap.colors.size() && i < Bitmap::MaxColors; ++i) {
    palette_[3 * i] = bitmap.colors[i].blue;
    palette_[3 * i + 1] = bitmap.colors[i].green;
    palette_[3 * i + 2] = bitmap.colors[i].red;
  }
  for (std::size_t c = 0; c < 3; ++c) channels_[c] = MakeChannel(bitmap.masks[c]);
}

// Narrow channels are widened by v * 255 / (2^bits - 1), rounded, so that both ends of the
// range stay where they are (31 of 5 bits becomes 255); wider ones keep their top 8 bits.
BgrRowConverter::Channel BgrRowConverter::MakeChannel(std::uint32_t mask) {
  Channel c;
  c.mask = mask;
  if (mask == 0) return c;
  c.shift = static_cast<unsigned>(std::countr_zero(mask));
  c.bits = static_cast<unsigned>(std::bit_width(mask >> c.shift));
  if (c.bits <= 8) {
    const std::uint32_t top = (1u << c.bits) - 1;
    for (std::uint32_t v = 0; v <= top; ++v)
      c.widen[v] = static_cast<std::uint8_t>((v * 255 + top / 2) / top);
  }
  return c;
}

std::uint8_t BgrRowConverter::Channel::Of(std::uint32_t pixel) const noexcept {
  const std::uint32_t v = (pixel & mask) >> shift;
  return bits <= 8 ? widen[v] : static_cast<std::uint8_t>(v >> (bits - 8));
}

void BgrRowConverter::Convert(const std::uint8_t* in, std::uint8_t* out) const noexcept {
  const std::uint32_t width = bitmap_.width;
  switch (bitmap_.bitsPerPixel) {
    case 24:
      std::memcpy(out, in, static_cast<std::size_t>(width) * 3);
      return;
    case 32:
      if (DirectRowsOf(bitmap_) == DirectRows::Bgrx) {
        for (std::uint32_t x = 0; x < width; ++x, in += 4, out += 3) std::memcpy(out, in, 3);
        return;
      }
      [[fallthrough]];
    case 16:
      ConvertMasked(in, out);
      return;
    default:
      ConvertIndexed(in, out);
  }
}

void BgrRowConverter::ConvertIndexed(const std::uint8_t* in, std::uint8_t* out) const noexcept {
  const unsigned bits = bitmap_.bitsPerPixel;
  const unsigned perByte = 8 / bits;
  const unsigned valueMask = (1u << bits) - 1;
  for (std::uint32_t x = 0; x < bitmap_.width; ++x, out += 3) {
    const unsigned slot = x % perByte;
    const unsigned index = (in[x / perByte] >> (8 - bits * (slot + 1))) & valueMask;
    std::memcpy(out, palette_.data() + 3 * index, 3);
  }
}

void BgrRowConverter::ConvertMasked(const std::uint8_t* in, std::uint8_t* out) const noexcept {
  const unsigned bytesPerPixel = bitmap_.bitsPerPixel / 8;
  for (std::uint32_t x = 0; x < bitmap_.width; ++x, in += bytesPerPixel, out += 3) {
    const std::uint32_t pixel = LoadPixel(in, bitmap_.bitsPerPixel);
    out[0] = channels_[2].Of(pixel);
    out[1] = channels_[1].Of(pixel);
    out[2] = channels_[0].Of(pixel);
  }
}

}  // namespace qvn

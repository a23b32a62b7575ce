#include "screenshots/BitmapRle.h"

#include <algorithm>
#include <cstring>

namespace qvn {

namespace {

constexpr std::size_t ChunkBytes = std::size_t{64} << 10;

// The escape codes that follow a zero count.
constexpr std::uint8_t EndOfLine = 0;
constexpr std::uint8_t EndOfBitmap = 1;
constexpr std::uint8_t Delta = 2;

// Writes pixels into one stored row, dropping those beyond its end.
class RowWriter {
 public:
  explicit RowWriter(Bitmap& bitmap)
      : bitmap_(bitmap), rowBytes_(bitmap.RowBytes()), fourBit_(bitmap.bitsPerPixel == 4) {}

  bool PastLastRow() const { return y_ >= bitmap_.height; }
  void NextLine() {
    x_ = 0;
    ++y_;
  }
  void Move(std::uint8_t dx, std::uint8_t dy) {
    x_ = std::min<std::uint64_t>(x_ + dx, bitmap_.width);
    y_ += dy;
  }
  void Put(std::uint8_t index) {
    if (x_ < bitmap_.width) {
      std::uint8_t* row = bitmap_.pixels.data() + static_cast<std::size_t>(y_) * rowBytes_;
      if (fourBit_) {
        std::uint8_t& pair = row[x_ / 2];
        pair = (x_ % 2 == 0) ? static_cast<std::uint8_t>((pair & 0x0F) | (index << 4))
                             : static_cast<std::uint8_t>((pair & 0xF0) | (index & 0x0F));
      } else {
        row[x_] = index;
      }
    }
    ++x_;
  }
  // count pixels from one byte: the byte itself at 8 bits, its two halves in turn at 4 bits.
  void Run(std::uint8_t count, std::uint8_t value) {
    if (!fourBit_ && x_ < bitmap_.width) {
      const std::uint64_t n = std::min<std::uint64_t>(count, bitmap_.width - x_);
      std::memset(bitmap_.pixels.data() + static_cast<std::size_t>(y_) * rowBytes_ + x_, value,
                  static_cast<std::size_t>(n));
      x_ += count;
      return;
    }
    for (unsigned i = 0; i < count; ++i) Put(fourBit_ ? Nibble(value, i) : value);
  }
  bool FourBit() const { return fourBit_; }
  static std::uint8_t Nibble(std::uint8_t value, unsigned i) {
    return i % 2 == 0 ? value >> 4 : value & 0x0F;
  }

 private:
  Bitmap& bitmap_;
  std::size_t rowBytes_;
  bool fourBit_;
  std::uint64_t x_ = 0;  // may run past the width; pixels there are dropped
  std::uint64_t y_ = 0;
};

// An absolute stretch of count pixels; its bytes are padded to an even number.
bool Absolute(RleBytes& input, RowWriter& out, std::uint8_t count) {
  const unsigned bytes = out.FourBit() ? (count + 1u) / 2 : count;
  std::uint8_t b = 0;
  for (unsigned i = 0; i < bytes; ++i) {
    if (!input.Next(b)) return false;
    if (out.FourBit()) {
      out.Put(RowWriter::Nibble(b, 0));
      if (2 * i + 1 < count) out.Put(RowWriter::Nibble(b, 1));
    } else {
      out.Put(b);
    }
  }
  return bytes % 2 == 0 || input.Next(b);
}

}  // namespace

RleBytes::RleBytes(IBitmapBytes& source, std::uint64_t limit)
    : source_(source), left_(limit), chunk_(static_cast<std::size_t>(std::min<std::uint64_t>(limit, ChunkBytes))) {}

bool RleBytes::Next(std::uint8_t& byte) {
  if (at_ == filled_) {
    if (left_ == 0) return false;
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left_, chunk_.size()));
    filled_ = source_.Read(chunk_.data(), want);
    at_ = 0;
    left_ = filled_ < want ? 0 : left_ - filled_;
    if (filled_ == 0) return false;
  }
  byte = chunk_[at_++];
  return true;
}

void ExpandRle(RleBytes& input, Bitmap& bitmap) {
  RowWriter out(bitmap);
  std::uint8_t count = 0, code = 0;
  while (!out.PastLastRow() && input.Next(count) && input.Next(code)) {
    if (count > 0) {
      out.Run(count, code);
    } else if (code == EndOfLine) {
      out.NextLine();
    } else if (code == EndOfBitmap) {
      return;
    } else if (code == Delta) {
      std::uint8_t dx = 0, dy = 0;
      if (!input.Next(dx) || !input.Next(dy)) return;
      out.Move(dx, dy);
    } else if (!Absolute(input, out, code)) {
      return;
    }
  }
}

}  // namespace qvn

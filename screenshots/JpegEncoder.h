#pragma once
// Encoding a bitmap as a baseline JFIF file with the one fixed profile of the converter:
// quality 90 with baseline tables, YCbCr 4:2:0, one sequential scan with the standard Huffman
// tables, the floating-point DCT, no smoothing, no restart markers, a JFIF 1.01 header with
// density unit 0 and densities 1:1, and no other marker. Rows go in top row first, whatever
// the bitmap's row order.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "screenshots/Bitmap.h"

namespace qvn {

// The encoded bytes of one image.
class JpegBytes {
 public:
  JpegBytes() = default;
  JpegBytes(std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  const std::uint8_t* Data() const { return data_.get(); }
  std::size_t Size() const { return size_; }

 private:
  struct Free {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<std::uint8_t, Free> data_;
  std::size_t size_ = 0;
};

inline constexpr int JpegQuality = 90;

// Encodes bitmap, which it leaves unchanged. A bitmap of zero width or height gives no bytes.
// Raises EJpegError ("JPEG error #<code>") for whatever the library refuses, an image wider or
// taller than 65500 pixels among it, and EImageFileError for a bitmap whose pixel data does
// not fit its size. Nothing of the library's is left behind, on failure either.
JpegBytes EncodeJpeg(const Bitmap& bitmap);

}  // namespace qvn

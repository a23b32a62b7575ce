// libFuzzer target: any bytes given to the BMP decoder, and the rows of whatever bitmap comes
// out turned into the encoder's form. Errors of the file are fine; crashes, sanitizer reports
// and bitmaps that break their own invariants are not.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "screenshots/BgrRows.h"
#include "screenshots/BitmapDecoder.h"
#include "screenshots/ImageErrors.h"

namespace {

// Rows converted per input: every row goes the same way, and a bitmap may hold 256 MiB.
constexpr std::uint32_t RowsToConvert = 64;
// The encoder converts rows only of images it takes, up to this many pixels a side.
constexpr std::uint32_t WidestEncodedRow = 65500;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qvn;
  MemoryBitmapBytes bytes({data, size});
  Bitmap bitmap;
  try {
    bitmap = DecodeBitmap(bytes);
  } catch (const EImageFileError&) {
    return 0;
  }
  Check(bitmap.colors.size() <= Bitmap::MaxColors);
  Check(bitmap.pixels.size() <= MaxBitmapPixelBytes);
  if (bitmap.IsEmpty()) return 0;
  Check(bitmap.pixels.size() == bitmap.RowBytes() * bitmap.height);
  if (bitmap.width > WidestEncodedRow) return 0;

  const BgrRowConverter converter(bitmap);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.width) * 3);
  for (std::uint32_t y = 0; y < bitmap.height && y < RowsToConvert; ++y)
    converter.Convert(bitmap.RowFromTop(y), row.data());
  converter.Convert(bitmap.RowFromTop(bitmap.height - 1), row.data());
  return 0;
}

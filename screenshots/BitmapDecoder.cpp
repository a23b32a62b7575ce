#include "screenshots/BitmapDecoder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "screenshots/BitmapRle.h"
#include "screenshots/ImageErrors.h"

namespace qvn {

namespace {

constexpr std::size_t FileHeaderBytes = 14;
constexpr std::uint32_t CoreHeaderBytes = 12;
constexpr std::uint32_t InfoHeaderBytes = 40;
constexpr std::uint32_t LongestHeaderBytes = 124;
// From this length on, an information header holds the red, green and blue masks itself.
constexpr std::uint32_t HeaderWithMasksBytes = 52;
constexpr std::size_t MaskOffset = 40;
constexpr std::size_t MasksBytes = 12;

constexpr std::size_t CoreColorBytes = 3;
constexpr std::size_t InfoColorBytes = 4;

constexpr std::uint32_t CompressionNone = 0;
constexpr std::uint32_t CompressionRle8 = 1;
constexpr std::uint32_t CompressionRle4 = 2;
constexpr std::uint32_t CompressionBitFields = 3;

constexpr std::array<std::uint32_t, 3> Masks555 = {0x7C00, 0x03E0, 0x001F};
constexpr std::array<std::uint32_t, 3> MasksBgrx = {0x00FF0000, 0x0000FF00, 0x000000FF};

[[noreturn]] void Fail(const char* message) { throw EImageFileError(message); }

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::int32_t S32(const std::uint8_t* p) { return static_cast<std::int32_t>(U32(p)); }

// The source with its position; reads of header fields must be complete.
class HeaderReader {
 public:
  explicit HeaderReader(IBitmapBytes& bytes) : bytes_(bytes), size_(bytes.Size()) {}

  std::uint64_t Size() const { return size_; }
  std::uint64_t Position() const { return position_; }
  std::uint64_t Remaining() const { return size_ - std::min(position_, size_); }

  std::size_t ReadSome(void* buffer, std::size_t count) {
    const std::size_t got = bytes_.Read(buffer, count);
    position_ += got;
    return got;
  }
  void ReadAll(void* buffer, std::size_t count) {
    if (ReadSome(buffer, count) != count) Fail(imagemessages::StreamRead);
  }
  void SkipAll(std::uint64_t count) {
    if (count == 0) return;
    if (count > Remaining()) Fail(imagemessages::StreamRead);
    position_ += count;
    bytes_.Seek(position_);
  }
  // Moves forward to position, or to the end when the input is shorter.
  void SkipTo(std::uint64_t position) {
    position_ = std::min(position, size_);
    bytes_.Seek(position_);
  }
  IBitmapBytes& Bytes() { return bytes_; }

 private:
  IBitmapBytes& bytes_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;
};

struct Header {
  std::uint32_t size = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: top-down rows
  unsigned planes = 0;
  unsigned bitsPerPixel = 0;
  std::uint32_t compression = CompressionNone;
  std::uint32_t imageSize = 0;
  std::uint32_t colorsUsed = 0;
  std::size_t colorBytes = InfoColorBytes;
  std::uint8_t raw[LongestHeaderBytes] = {};
};

Header ReadHeader(HeaderReader& in) {
  Header h;
  in.ReadAll(h.raw, 4);
  h.size = U32(h.raw);
  if (h.size == CoreHeaderBytes) {
    in.ReadAll(h.raw + 4, CoreHeaderBytes - 4);
    h.width = U16(h.raw + 4);
    h.height = U16(h.raw + 6);
    h.planes = U16(h.raw + 8);
    h.bitsPerPixel = U16(h.raw + 10);
    h.colorBytes = CoreColorBytes;
    return h;
  }
  if (h.size < InfoHeaderBytes) Fail(imagemessages::InvalidBitmap);
  const std::uint32_t kept = std::min(h.size, LongestHeaderBytes);
  in.ReadAll(h.raw + 4, kept - 4);
  in.SkipAll(h.size - kept);
  h.width = S32(h.raw + 4);
  h.height = S32(h.raw + 8);
  h.planes = U16(h.raw + 12);
  h.bitsPerPixel = U16(h.raw + 14);
  h.compression = U32(h.raw + 16);
  h.imageSize = U32(h.raw + 20);
  h.colorsUsed = U32(h.raw + 32);
  return h;
}

bool DepthIsRead(unsigned bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool CompressionFits(std::uint32_t compression, unsigned bits) {
  switch (compression) {
    case CompressionNone: return true;
    case CompressionRle8: return bits == 8;
    case CompressionRle4: return bits == 4;
    case CompressionBitFields: return bits == 16 || bits == 32;
    default: return false;
  }
}

std::array<std::uint32_t, 3> ReadMasks(HeaderReader& in, const Header& h) {
  if (h.bitsPerPixel != 16 && h.bitsPerPixel != 32) return {};
  if (h.compression != CompressionBitFields) return h.bitsPerPixel == 16 ? Masks555 : MasksBgrx;
  std::uint8_t raw[MasksBytes];
  if (h.size >= HeaderWithMasksBytes) {
    std::memcpy(raw, h.raw + MaskOffset, MasksBytes);
  } else {
    in.ReadAll(raw, MasksBytes);
  }
  return {U32(raw), U32(raw + 4), U32(raw + 8)};
}

std::vector<BitmapColor> ReadColorTable(HeaderReader& in, const Header& h) {
  std::uint64_t count = h.colorsUsed;
  if (count == 0 && h.bitsPerPixel <= 8) count = std::uint64_t{1} << h.bitsPerPixel;
  const std::size_t kept = static_cast<std::size_t>(std::min<std::uint64_t>(count, Bitmap::MaxColors));
  std::uint8_t raw[Bitmap::MaxColors * InfoColorBytes];
  in.ReadAll(raw, kept * h.colorBytes);
  in.SkipAll((count - kept) * h.colorBytes);
  std::vector<BitmapColor> colors(kept);
  for (std::size_t i = 0; i < kept; ++i) {
    const std::uint8_t* entry = raw + i * h.colorBytes;
    colors[i] = {entry[0], entry[1], entry[2], h.colorBytes == InfoColorBytes ? entry[3] : std::uint8_t{0}};
  }
  return colors;
}

void AllocatePixels(Bitmap& bitmap) {
  const std::uint64_t bytes =
      static_cast<std::uint64_t>(Bitmap::RowBytesFor(bitmap.width, bitmap.bitsPerPixel)) * bitmap.height;
  if (bytes > MaxBitmapPixelBytes) Fail(imagemessages::OutOfMemory);
  try {
    bitmap.pixels.assign(static_cast<std::size_t>(bytes), 0);
  } catch (const std::bad_alloc&) {
    Fail(imagemessages::OutOfMemory);
  }
}

}  // namespace

std::size_t MemoryBitmapBytes::Read(void* buffer, std::size_t count) {
  const std::size_t n = std::min(count, bytes_.size() - position_);
  if (n > 0) std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

void MemoryBitmapBytes::Seek(std::uint64_t position) {
  position_ = static_cast<std::size_t>(std::min<std::uint64_t>(position, bytes_.size()));
}

Bitmap DecodeBitmap(IBitmapBytes& bytes) {
  HeaderReader in(bytes);
  if (in.Size() == 0) return Bitmap{};

  std::uint8_t fileHeader[FileHeaderBytes];
  const std::size_t got = in.ReadSome(fileHeader, FileHeaderBytes);
  if (got < 2 || fileHeader[0] != 'B' || fileHeader[1] != 'M') Fail(imagemessages::InvalidBitmap);
  if (got < FileHeaderBytes) Fail(imagemessages::StreamRead);
  const std::uint32_t pixelOffset = U32(fileHeader + 10);

  const Header h = ReadHeader(in);
  if (h.planes != 1 || h.width < 0 || !DepthIsRead(h.bitsPerPixel) ||
      !CompressionFits(h.compression, h.bitsPerPixel))
    Fail(imagemessages::InvalidBitmap);

  Bitmap bitmap;
  bitmap.width = static_cast<std::uint32_t>(h.width);
  bitmap.height = static_cast<std::uint32_t>(h.height < 0 ? -h.height : h.height);
  bitmap.topDown = h.height < 0;
  bitmap.bitsPerPixel = h.bitsPerPixel;
  bitmap.masks = ReadMasks(in, h);
  bitmap.colors = ReadColorTable(in, h);
  AllocatePixels(bitmap);
  if (bitmap.pixels.empty()) return bitmap;

  if (pixelOffset >= in.Position()) in.SkipTo(pixelOffset);
  const std::uint64_t declared = h.imageSize != 0 ? h.imageSize : bitmap.pixels.size();
  const std::uint64_t available = std::min(declared, in.Remaining());
  if (h.compression == CompressionRle8 || h.compression == CompressionRle4) {
    RleBytes runs(in.Bytes(), available);
    ExpandRle(runs, bitmap);
  } else {
    in.ReadSome(bitmap.pixels.data(),
                static_cast<std::size_t>(std::min<std::uint64_t>(available, bitmap.pixels.size())));
  }
  return bitmap;
}

}  // namespace qvn

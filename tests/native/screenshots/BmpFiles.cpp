#include "BmpFiles.h"

#include <cmath>

#include "screenshots/BitmapDecoder.h"

namespace qvn::testing {

Fields& Fields::U8(std::uint32_t v) {
  bytes_ += static_cast<char>(v & 0xFF);
  return *this;
}
Fields& Fields::U16(std::uint32_t v) { return U8(v).U8(v >> 8); }
Fields& Fields::U32(std::uint32_t v) { return U16(v).U16(v >> 16); }
Fields& Fields::Raw(const std::string& bytes) {
  bytes_ += bytes;
  return *this;
}

std::string BmpFile::Build() const {
  Fields header;
  if (headerSize == 12) {
    header.U32(12).U16(static_cast<std::uint32_t>(width)).U16(static_cast<std::uint32_t>(height))
        .U16(planes).U16(bitsPerPixel);
  } else {
    header.U32(headerSize).U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height))
        .U16(planes).U16(bitsPerPixel).U32(compression).U32(imageSize)
        .U32(pixelsPerMeter).U32(pixelsPerMeter).U32(colorsUsed).U32(0);
    const bool masksInside = headerSize >= 52;
    std::string rest(headerSize > 40 ? headerSize - 40 : 0, '\0');
    if (masksInside)
      for (std::size_t i = 0; i < masks.size() && i < 3; ++i)
        for (int b = 0; b < 4; ++b) rest[4 * i + b] = static_cast<char>(masks[i] >> (8 * b));
    header.Raw(rest);
    if (!masksInside)
      for (std::uint32_t m : masks) header.U32(m);
  }
  Fields table;
  for (const Rgb& c : colors) {
    table.U8(c.blue).U8(c.green).U8(c.red);
    if (headerSize != 12) table.U8(0);
  }
  const std::size_t offset = 14 + header.Bytes().size() + table.Bytes().size() + gap.size();
  Fields file;
  file.Raw("BM").U32(static_cast<std::uint32_t>(offset + pixels.size())).U32(0)
      .U32(pixelOffset.value_or(static_cast<std::uint32_t>(offset)));
  return file.Raw(header.Bytes()).Raw(table.Bytes()).Raw(gap).Raw(pixels).Bytes();
}

std::string PixelRows(unsigned bytesPerPixel, const std::vector<std::vector<std::uint32_t>>& rows) {
  Fields out;
  for (const auto& row : rows) {
    std::size_t written = 0;
    for (std::uint32_t v : row)
      for (unsigned b = 0; b < bytesPerPixel; ++b, ++written) out.U8(v >> (8 * b));
    for (; written % 4 != 0; ++written) out.U8(0);
  }
  return out.Bytes();
}

std::string Bmp24(const Picture& picture) {
  std::vector<std::vector<std::uint32_t>> rows;
  for (auto row = picture.rbegin(); row != picture.rend(); ++row) {
    rows.emplace_back();
    for (const Rgb& c : *row) rows.back().push_back(c.blue | c.green << 8 | c.red << 16);
  }
  BmpFile file;
  file.width = static_cast<std::int32_t>(picture.empty() ? 0 : picture[0].size());
  file.height = static_cast<std::int32_t>(picture.size());
  file.pixels = PixelRows(3, rows);
  return file.Build();
}

Bitmap Decode(const std::string& file) {
  MemoryBitmapBytes bytes({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
  return DecodeBitmap(bytes);
}

Picture PhotographicPicture(int width, int height) {
  Picture picture(static_cast<std::size_t>(height), std::vector<Rgb>(static_cast<std::size_t>(width)));
  std::uint32_t noise = 12345;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      noise = noise * 1103515245u + 12345u;
      const double grain = static_cast<double>((noise >> 16) & 7) - 3.5;
      const double sky = 120 + 70 * std::sin(x / 37.0) * std::cos(y / 53.0);
      const double edge = (x / 64 + y / 48) % 2 == 0 ? 25 : -25;  // block edges, as of a UI
      auto clamp = [](double v) { return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
      picture[y][x] = {clamp(sky + edge + grain), clamp(sky * 0.8 + 30 + grain),
                       clamp(200 - sky * 0.5 - edge + grain)};
    }
  }
  return picture;
}

}  // namespace qvn::testing

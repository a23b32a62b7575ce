#include "JpegSegments.h"

#include <stdexcept>

namespace qvn::testing {

std::vector<Segment> Segments(const std::string& jpeg) {
  std::vector<Segment> segments;
  std::size_t at = 0;
  auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(jpeg.at(i)); };
  while (at + 1 < jpeg.size()) {
    if (byte(at) != 0xFF) throw std::runtime_error("no marker at " + std::to_string(at));
    Segment s;
    s.marker = byte(at + 1);
    at += 2;
    if (s.marker != 0xD8 && s.marker != 0xD9) {
      s.length = static_cast<std::size_t>(byte(at) << 8 | byte(at + 1));
      s.payload = jpeg.substr(at + 2, s.length - 2);
      at += s.length;
    }
    segments.push_back(s);
    if (s.marker == 0xDA) {  // entropy-coded data up to the next marker
      while (at + 1 < jpeg.size() && !(byte(at) == 0xFF && byte(at + 1) != 0x00)) ++at;
    }
  }
  if (at != jpeg.size()) throw std::runtime_error("trailing byte");
  return segments;
}

}  // namespace qvn::testing

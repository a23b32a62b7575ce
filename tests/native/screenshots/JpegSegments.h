#pragma once
// The segments of a JPEG file as they lie in it, for tests that check the layout marker by
// marker.

#include <cstdint>
#include <string>
#include <vector>

namespace qvn::testing {

struct Segment {
  std::uint8_t marker = 0;   // the byte after 0xFF
  std::string payload;       // the bytes after the length field (empty for SOI and EOI)
  std::size_t length = 0;    // the length field, 0 for SOI and EOI
};

// The segments in file order. The entropy-coded data after SOS is skipped; stray markers in
// it (anything but a stuffed zero) end up as segments of their own, so that a test sees them.
std::vector<Segment> Segments(const std::string& jpeg);

}  // namespace qvn::testing

#pragma once
// Reading JPEG files back in tests: the segments as they lie in the file, the decoded pixels
// through libjpeg, and the same through the separate djpeg program.

#include <cstdint>
#include <string>
#include <vector>

#include "BmpFiles.h"

namespace qvn::testing {

struct Segment {
  std::uint8_t marker = 0;   // the byte after 0xFF
  std::string payload;       // the bytes after the length field (empty for SOI and EOI)
  std::size_t length = 0;    // the length field, 0 for SOI and EOI
};

// The segments in file order. The entropy-coded data after SOS is skipped; stray markers in
// it (anything but a stuffed zero) end up as segments of their own, so that a test sees them.
std::vector<Segment> Segments(const std::string& jpeg);

struct Decoded {
  int width = 0;
  int height = 0;
  int components = 0;
  long warnings = 0;
  Picture picture;
};

// Decodes with libjpeg (integer DCT, the library's defaults). Raises std::runtime_error with
// the library's message on a fatal error.
Decoded DecodeJpeg(const std::string& jpeg);

// Decodes the file with djpeg into PPM; raises std::runtime_error when djpeg fails.
Picture DecodeWithDjpeg(const std::string& jpegPath);

// Peak signal-to-noise ratio over all channels, in dB.
double Psnr(const Picture& a, const Picture& b);

}  // namespace qvn::testing

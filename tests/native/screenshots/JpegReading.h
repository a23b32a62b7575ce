#pragma once
// Reading JPEG files back in tests: the decoded pixels through libjpeg, and the same through
// the separate djpeg program.

#include <cstdint>
#include <string>
#include <vector>

#include "BmpFiles.h"
#include "JpegSegments.h"

namespace qvn::testing {

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

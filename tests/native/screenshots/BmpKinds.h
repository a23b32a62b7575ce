#pragma once
// One small BMP file of every kind that the decoder reads, with the picture each must show:
// the table of the decoder's tests and the seeds of its fuzzer.

#include <ostream>
#include <string>
#include <vector>

#include "BmpFiles.h"

namespace qvn::testing {

struct KindCase {
  const char* name;
  std::string file;
  Picture expected;
};

inline void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }

std::vector<KindCase> BmpKinds();

}  // namespace qvn::testing

// Writes the seed corpus of the BMP decoder's fuzzer into the folder given: one small file
// of every kind the decoder reads, and a few cut short.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "BmpKinds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(folder / name, std::ios::binary | std::ios::trunc) << bytes;
  };
  for (const auto& kind : qvn::testing::BmpKinds()) {
    write(std::string(kind.name) + ".bmp", kind.file);
    write(std::string(kind.name) + "-cut.bmp", kind.file.substr(0, kind.file.size() * 3 / 4));
  }
  return 0;
}

#include "JpegReading.h"

#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include <cmath>
#include <csetjmp>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tests/fakes/TempFolder.h"

namespace qvn::testing {

namespace {

struct Errors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void Leave(j_common_ptr cinfo) {
  auto* e = reinterpret_cast<Errors*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, e->message);
  std::longjmp(e->jump, 1);
}

// The whole decompression, left by longjmp on errors; no locals with destructors.
bool Run(jpeg_decompress_struct& cinfo, const std::string& jpeg, std::vector<std::uint8_t>& rgb,
         Decoded& out) {
  if (setjmp(reinterpret_cast<Errors*>(cinfo.err)->jump) != 0) return false;
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.data()),
               static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  out.width = static_cast<int>(cinfo.output_width);
  out.height = static_cast<int>(cinfo.output_height);
  out.components = cinfo.num_components;
  rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = rgb.data() + static_cast<std::size_t>(cinfo.output_scanline) * out.width * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  out.warnings = cinfo.err->num_warnings;
  return true;
}

Picture ToPicture(const std::uint8_t* rgb, int width, int height) {
  Picture picture(static_cast<std::size_t>(height), std::vector<Rgb>(static_cast<std::size_t>(width)));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x, rgb += 3) picture[y][x] = {rgb[0], rgb[1], rgb[2]};
  return picture;
}

}  // namespace

Decoded DecodeJpeg(const std::string& jpeg) {
  jpeg_decompress_struct cinfo{};
  Errors errors{};
  cinfo.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = Leave;
  errors.manager.output_message = [](j_common_ptr) {};
  std::vector<std::uint8_t> rgb;
  Decoded out;
  const bool ok = Run(cinfo, jpeg, rgb, out);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) throw std::runtime_error(errors.message);
  out.picture = ToPicture(rgb.data(), out.width, out.height);
  return out;
}

Picture DecodeWithDjpeg(const std::string& jpegPath) {
  TempFolder folder;
  const std::string ppm = folder.Posix() + "/out.ppm";
  const std::string command = "djpeg -ppm -outfile '" + ppm + "' '" + jpegPath + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("djpeg failed on " + jpegPath);
  const std::string data = folder.Read("out.ppm");
  std::istringstream header(data);
  std::string magic;
  int width = 0, height = 0, maxValue = 0;
  header >> magic >> width >> height >> maxValue;
  if (magic != "P6" || maxValue != 255) throw std::runtime_error("unexpected PPM from djpeg");
  const std::size_t start = static_cast<std::size_t>(header.tellg()) + 1;
  if (data.size() < start + static_cast<std::size_t>(width) * height * 3)
    throw std::runtime_error("short PPM from djpeg");
  return ToPicture(reinterpret_cast<const std::uint8_t*>(data.data()) + start, width, height);
}

double Psnr(const Picture& a, const Picture& b) {
  double squares = 0;
  std::size_t samples = 0;
  for (std::size_t y = 0; y < a.size(); ++y)
    for (std::size_t x = 0; x < a[y].size(); ++x) {
      const Rgb p = a[y][x], q = b.at(y).at(x);
      for (auto [u, v] : {std::pair{p.red, q.red}, {p.green, q.green}, {p.blue, q.blue}}) {
        squares += (double(u) - v) * (double(u) - v);
        ++samples;
      }
    }
  if (squares == 0) return INFINITY;
  return 10 * std::log10(255.0 * 255.0 / (squares / samples));
}

}  // namespace qvn::testing

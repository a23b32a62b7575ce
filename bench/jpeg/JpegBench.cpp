// Converts 1920x1080 24-bit BMP files to JPEG through ReadBitmapFile and WriteJpegFile, and
// the same files with cjpeg (the separate program of the same library) at the same settings,
// and prints the times, their ratio and the peak memory of each.
//
//   jpeg_bench [RUNS]            the comparison, best of RUNS (default 15)
//   jpeg_bench --convert IN OUT  one conversion in a process of its own
//   jpeg_bench --idle            nothing (the memory and start-up time of the process itself)
//   jpeg_bench --peak CMD...     runs CMD and prints its peak resident memory in KiB
// Peak memory is taken through --peak, a fresh small process, because a child started
// straight from the benchmark would report the benchmark's own peak as well.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixText.h"
#include "screenshots/ImageFiles.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int Width = 1920, Height = 1080;
constexpr int SetSize = 20;
constexpr const char* CjpegArguments[] = {"-dct", "float", "-quality", "90", "-sample", "2x2"};

void Put(std::string& s, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i));
}

// A screenshot-like picture: shaded surfaces, hard edges of interface panels, grain.
std::string Screenshot(unsigned seed) {
  const std::size_t rowBytes = (Width * 3 + 3) / 4 * 4;
  std::string file = "BM";
  Put(file, static_cast<std::uint32_t>(54 + rowBytes * Height), 4);
  Put(file, 0, 4);
  Put(file, 54, 4);
  for (std::uint32_t v : {40u, std::uint32_t(Width), std::uint32_t(Height)}) Put(file, v, 4);
  Put(file, 1, 2);
  Put(file, 24, 2);
  for (int i = 0; i < 6; ++i) Put(file, 0, 4);
  std::uint32_t noise = seed * 2654435761u + 1;
  const double phase = seed * 0.7;
  for (int y = 0; y < Height; ++y) {
    for (int x = 0; x < Width; ++x) {
      noise = noise * 1103515245u + 12345u;
      const double grain = static_cast<double>((noise >> 16) & 15) - 7.5;
      const double light = 110 + 80 * std::sin(x / 97.0 + phase) * std::cos(y / 71.0 - phase);
      const bool panel = (x > 100 && x < 500 && y > 700 && y < 1000) || ((x / 240 + y / 135) % 5 == 0);
      auto clamp = [](double v) { return static_cast<char>(v < 0 ? 0 : v > 255 ? 255 : v); };
      file += clamp((panel ? 40 : light * 0.6) + grain);  // blue
      file += clamp((panel ? 35 : light * 0.9 + 20) + grain);
      file += clamp((panel ? 30 : light + 30) + grain);
    }
    file.append(rowBytes - Width * 3, '\0');
  }
  return file;
}

double Seconds(const std::function<void()>& work, int runs) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

// Runs a program to its end; returns its peak resident memory in KiB.
long Run(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) {
    std::perror(args[0]);
    std::exit(1);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s failed\n", args[0]);
    std::exit(1);
  }
  return usage.ru_maxrss;
}

// The peak resident memory of a command, in KiB, through a fresh --peak process.
long PeakKiB(const char* self, const std::vector<std::string>& argv) {
  std::string command = std::string("'") + self + "' --peak";
  for (const auto& a : argv) command += " '" + a + "'";
  FILE* out = popen(command.c_str(), "r");
  long kib = -1;
  if (!out || std::fscanf(out, "%ld", &kib) != 1) kib = -1;
  if (out) pclose(out);
  return kib;
}

std::vector<std::string> Cjpeg(const std::string& in, const std::string& out) {
  std::vector<std::string> argv = {"cjpeg"};
  argv.insert(argv.end(), std::begin(CjpegArguments), std::end(CjpegArguments));
  argv.insert(argv.end(), {"-outfile", out, in});
  return argv;
}

struct Converter {
  explicit Converter(const std::string& folder) { files.MapDrive(u'C', folder); }
  void operator()(const std::string& in, const std::string& out) {
    const auto bitmap = qvn::ReadBitmapFile(files, text, files.ToWindows(in));
    qvn::WriteJpegFile(files, text, bitmap, files.ToWindows(out));
  }
  qvn::platform::posix::PosixFileSystem files;
  qvn::platform::posix::PosixText text;
};

int Compare(const char* self, int runs) {
  char pattern[] = "/tmp/qvn-jpeg-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  const std::string folder = pattern;
  std::vector<std::string> set;
  for (int i = 0; i < SetSize; ++i) {
    set.push_back(folder + "/shot" + std::to_string(i) + ".bmp");
    std::ofstream(set.back(), std::ios::binary) << Screenshot(static_cast<unsigned>(i));
  }
  const std::string& one = set[0];
  Converter convert(folder);

  const double ours = Seconds([&] { convert(one, folder + "/ours.jpg"); }, runs);
  const double theirs = Seconds([&] { Run(Cjpeg(one, folder + "/cjpeg.jpg")); }, runs);
  const double oursProcess = Seconds([&] { Run({self, "--convert", one, folder + "/ours.jpg"}); }, runs);
  const double oursSet = Seconds([&] { for (const auto& f : set) convert(f, f + ".jpg"); }, runs);
  const double oursSetProcesses =
      Seconds([&] { for (const auto& f : set) Run({self, "--convert", f, f + ".jpg"}); }, runs);
  const double theirsSet = Seconds([&] { for (const auto& f : set) Run(Cjpeg(f, f + ".cjpeg.jpg")); }, runs);

  const double idle = Seconds([&] { Run({self, "--idle"}); }, runs);
  const long idleKiB = PeakKiB(self, {self, "--idle"});
  const long oursKiB = PeakKiB(self, {self, "--convert", one, folder + "/ours.jpg"});
  const long cjpegKiB = PeakKiB(self, Cjpeg(one, folder + "/cjpeg.jpg"));
  const double imageMiB = (Width * 3.0) * Height / (1 << 20);

  std::printf("one %dx%d 24-bit BMP (%.2f MiB of pixels), best of %d runs\n", Width, Height, imageMiB, runs);
  std::printf("  ReadBitmapFile + WriteJpegFile  %7.1f ms  (as its own process %7.1f ms)\n", ours * 1e3, oursProcess * 1e3);
  std::printf("  cjpeg %s %s %s %s %s %s  %7.1f ms\n", CjpegArguments[0], CjpegArguments[1],
              CjpegArguments[2], CjpegArguments[3], CjpegArguments[4], CjpegArguments[5], theirs * 1e3);
  std::printf("  ratio %.3f (in process), %.3f (process against process; starting the benchmark's own\n"
              "  process alone takes %.1f ms)\n", ours / theirs, oursProcess / theirs, idle * 1e3);
  std::printf("a set of %d: ours %.1f ms (a process each %.1f ms), cjpeg %.1f ms, ratio %.3f (%.3f)\n",
              SetSize, oursSet * 1e3, oursSetProcesses * 1e3, theirsSet * 1e3, oursSet / theirsSet,
              oursSetProcesses / theirsSet);
  std::printf("peak memory: ours %.2f MiB in all, %.2f MiB above an idle process (%.2f x the image);\n"
              "  cjpeg %.2f MiB in all\n", oursKiB / 1024.0, (oursKiB - idleKiB) / 1024.0,
              (oursKiB - idleKiB) / 1024.0 / imageMiB, cjpegKiB / 1024.0);
  std::printf("output: ours %zu bytes, cjpeg %zu bytes\n",
              static_cast<std::size_t>(fs::file_size(folder + "/ours.jpg")),
              static_cast<std::size_t>(fs::file_size(folder + "/cjpeg.jpg")));
  fs::remove_all(folder);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--idle") return 0;
  if (mode == "--peak" && argc > 2) {
    const pid_t pid = fork();
    if (pid == 0) {
      execvp(argv[2], argv + 2);
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
  }
  if (mode == "--convert" && argc == 4) {
    Converter convert(fs::path(argv[2]).parent_path().string());
    convert(argv[2], argv[3]);
    return 0;
  }
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  return Compare(argv[0], runs);
}

// Builds a tree shaped like a player's backup (some 2,400 small Lua-like files in nested
// addon folders and twenty screenshots of about 6 MB each, 150 MB in all), writes it with
// the archive writer and with Debian's zip at the same level, and prints both times and
// their ratio. With --memory it writes one 1 GB file instead and prints the peak memory.

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "backup/ZipWriter.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixText.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int AddonCount = 60;
constexpr int FilesPerAddon = 40;  // 2,400 files
constexpr int ScreenshotCount = 20;
constexpr int ScreenshotWidth = 1920;
constexpr int ScreenshotHeight = 1080;
constexpr int Rounds = 3;
constexpr std::uint64_t MemoryFileSize = 1ull << 30;

// A small deterministic generator, so that every run compresses the same bytes.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  std::uint32_t Below(std::uint32_t n) { return Next() % n; }

 private:
  std::uint32_t state_;
};

std::string LuaText(Random& random, std::size_t size) {
  static const char* words[] = {"local", "function", "end", "if", "then", "else", "return", "nil",
                                "self", "frame", "SetPoint", "Show", "Hide", "RegisterEvent",
                                "UnitHealth", "\"player\"", "true", "false", "for", "in", "pairs",
                                "ipairs", "do", "and", "or", "not", "GetTime()", "db", "settings"};
  std::string text;
  int depth = 0;
  while (text.size() < size) {
    text.append(static_cast<std::size_t>(depth) * 2, ' ');
    const int length = 3 + static_cast<int>(random.Below(8));
    for (int w = 0; w < length; ++w) {
      text += words[random.Below(sizeof words / sizeof *words)];
      text += random.Below(5) == 0 ? "(" + std::to_string(random.Below(1000)) + ") " : " ";
    }
    text += '\n';
    if (random.Below(4) == 0) depth = std::min(depth + 1, 6);
    else if (depth > 0 && random.Below(3) == 0) --depth;
  }
  text.resize(size);
  return text;
}

// A 24-bit bottom-up bitmap that looks like a game screen: a landscape of gradients with
// noise, and flat interface panels.
std::string Screenshot(Random& random) {
  const int rowBytes = (ScreenshotWidth * 3 + 3) & ~3;
  const std::uint32_t imageSize = static_cast<std::uint32_t>(rowBytes * ScreenshotHeight);
  std::string bmp(54 + imageSize, '\0');
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>(v >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, static_cast<std::uint32_t>(bmp.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, ScreenshotWidth);
  put32(22, ScreenshotHeight);
  bmp[26] = 1;
  bmp[28] = 24;
  put32(34, imageSize);
  const int hue = static_cast<int>(random.Below(64));
  for (int y = 0; y < ScreenshotHeight; ++y) {
    char* row = bmp.data() + 54 + static_cast<std::size_t>(y) * rowBytes;
    const bool panelRow = y < 120 || (y > 900 && y < 1000);
    for (int x = 0; x < ScreenshotWidth; ++x) {
      unsigned char b, g, r;
      if (panelRow && x > 200 && x < 1700) {
        b = 40, g = 32, r = 24;
      } else {
        const std::uint32_t noise = random.Next();
        b = static_cast<unsigned char>((x / 8 + hue + (noise & 7)) & 0xFF);
        g = static_cast<unsigned char>((y / 5 + x / 30 + ((noise >> 3) & 7)) & 0xFF);
        r = static_cast<unsigned char>((hue * 2 + y / 9 + ((noise >> 6) & 7)) & 0xFF);
      }
      row[3 * x] = static_cast<char>(b);
      row[3 * x + 1] = static_cast<char>(g);
      row[3 * x + 2] = static_cast<char>(r);
    }
  }
  return bmp;
}

void WriteFile(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::uint64_t BuildTree(const fs::path& game) {
  Random random(20251209);
  std::uint64_t total = 0;
  for (int a = 0; a < AddonCount; ++a) {
    const fs::path addon = game / "Interface" / "AddOns" / ("Addon" + std::to_string(a));
    for (int f = 0; f < FilesPerAddon; ++f) {
      fs::path folder = addon;
      for (int d = static_cast<int>(random.Below(4)); d > 0; --d) folder /= "Module" + std::to_string(random.Below(3));
      const std::size_t size = 1000 + random.Below(22000);
      WriteFile(folder / ("File" + std::to_string(f) + ".lua"), LuaText(random, size));
      total += size;
    }
  }
  for (int s = 0; s < ScreenshotCount; ++s) {
    const std::string shot = Screenshot(random);
    WriteFile(game / "screenshots" / ("Shot" + std::to_string(s) + ".bmp"), shot);
    total += shot.size();
  }
  return total;
}

struct Services {
  qvn::platform::posix::PosixFileSystem files;
  qvn::platform::posix::PosixText text;
  qvn::platform::posix::PosixClock clock;
  struct AbortingBoxes : qvn::platform::IMessageBoxes {
    qvn::platform::DialogButton Show(const qvn::platform::MessageBoxRequest& request) override {
      std::fprintf(stderr, "unexpected failure: %s\n", request.text.c_str());
      return qvn::platform::DialogButton::Abort;
    }
  } boxes;
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Writes the game's two trees as the backup does: one update per tree.
double WriteWithWriter(Services& s, const fs::path& work, const std::vector<std::u16string>& masks) {
  const fs::path archive = work / "writer.zip";
  fs::remove(archive);
  const auto start = Clock::now();
  qvn::TZipWriter writer({s.files, s.text, s.clock, s.boxes});
  writer.SetFileName(u"C:\\writer.zip");
  writer.SetBaseDir(u"C:\\Game\\");
  writer.Open();
  for (const auto& mask : masks) writer.AddByMask(mask, qvn::SearchEverything, u"");
  writer.Close();
  return Seconds(Clock::now() - start);
}

double WriteWithZip(const fs::path& work, const std::string& folders) {
  fs::remove(work / "zip.zip");
  const std::string command = "cd '" + (work / "Game").string() + "' && zip -1 -r -q ../zip.zip " + folders;
  const auto start = Clock::now();
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "zip failed\n");
    std::exit(1);
  }
  return Seconds(Clock::now() - start);
}

// A field of /proc/self/status in KiB: "VmRSS:" (resident now) or "VmHWM:" (the peak).
long StatusKiB(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + field.size(), nullptr, 10);
  return -1;
}

// Makes the peak start again from the memory resident now.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

int RunSpeed(Services& s, const fs::path& work) {
  const std::uint64_t total = BuildTree(work / "Game");
  std::printf("tree: %d Lua files in %d addons, %d bitmaps, %.1f MB\n", AddonCount * FilesPerAddon,
              AddonCount, ScreenshotCount, static_cast<double>(total) / 1e6);
  const std::vector<std::u16string> masks = {u"interface\\*.*", u"screenshots\\*.*"};
  double writer = 1e9, zip = 1e9;
  for (int round = 0; round < Rounds; ++round) {
    writer = std::min(writer, WriteWithWriter(s, work, masks));
    zip = std::min(zip, WriteWithZip(work, "Interface screenshots"));
  }
  std::printf("AddByMask:      %.3f s, %.1f MB\n", writer, static_cast<double>(fs::file_size(work / "writer.zip")) / 1e6);
  std::printf("zip -1 -r -q:   %.3f s, %.1f MB\n", zip, static_cast<double>(fs::file_size(work / "zip.zip")) / 1e6);
  std::printf("time ratio:     %.2f x zip (best of %d rounds each)\n", writer / zip, Rounds);
  return 0;
}

int RunMemory(Services& s, const fs::path& work) {
  {
    Random random(1);
    const std::string block = LuaText(random, 1 << 20);
    fs::create_directories(work / "Game" / "big");
    std::ofstream out(work / "Game" / "big" / "huge.dat", std::ios::binary);
    for (std::uint64_t written = 0; written < MemoryFileSize; written += block.size())
      out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
  ResetPeak();
  const long before = StatusKiB("VmRSS:");
  const double seconds = WriteWithWriter(s, work, {u"big\\*.*"});
  const long peak = StatusKiB("VmHWM:");
  std::printf("1 GB file written in %.2f s, archive %.1f MB\n", seconds,
              static_cast<double>(fs::file_size(work / "writer.zip")) / 1e6);
  std::printf("resident memory: %ld KiB before writing, peak %ld KiB while writing (+%ld KiB)\n",
              before, peak, peak - before);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool memory = false;
  std::string folder;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--memory") memory = true;
    else folder = argv[i];
  }
  fs::path work;
  if (folder.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qvn-zip-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) return 1;
    work = pattern;
  } else {
    work = fs::path(folder) / "qvn-zip-bench";
    fs::create_directories(work);
  }
  Services services;
  services.files.MapDrive(u'C', work.string());
  const int result = memory ? RunMemory(services, work) : RunSpeed(services, work);
  fs::remove_all(work);
  return result;
}

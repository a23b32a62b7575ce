#include "platform/posix/PosixText.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <stdexcept>

#include "platform/posix/SimpleCase.h"

namespace qvn::platform::posix {

namespace {

constexpr const char* Utf16 = "UTF-16LE";

class Converter {
 public:
  Converter(const std::string& to, const std::string& from)
      : cd_(::iconv_open(to.c_str(), from.c_str())) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error("iconv cannot convert from " + from + " to " + to);
  }
  ~Converter() { ::iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts in, replacing what cannot be converted: each unconvertible input unit of
  // unitSize bytes is passed to substitute, which appends its stand-in to the output.
  template <class Substitute>
  std::string Run(std::string_view in, std::size_t unitSize, Substitute substitute) const {
    std::string out;
    char buffer[4096];
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    while (left > 0) {
      char* dst = buffer;
      std::size_t room = sizeof buffer;
      const std::size_t r = ::iconv(cd_, &src, &left, &dst, &room);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
        const std::size_t n = std::min(unitSize, left);
        substitute(out, std::string_view(src, n));
        src += n;
        left -= n;
      }
    }
    return out;
  }

 private:
  iconv_t cd_;
};

// A converter opened on first use; Run is serialised because a descriptor keeps state.
class LazyConverter {
 public:
  LazyConverter(std::string to, std::string from) : to_(std::move(to)), from_(std::move(from)) {}

  template <class Substitute>
  std::string Run(std::string_view in, std::size_t unitSize, Substitute substitute) {
    const std::lock_guard lock(mutex_);
    if (!converter_) converter_ = std::make_unique<Converter>(to_, from_);
    return converter_->Run(in, unitSize, substitute);
  }

 private:
  std::string to_;
  std::string from_;
  std::mutex mutex_;
  std::unique_ptr<Converter> converter_;
};

std::string ToBytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::u16string FromBytes(const std::string& bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return text;
}

}  // namespace

class PosixText::Converters {
 public:
  Converters(const std::string& ansi, const std::string& oem)
      : toWide(Utf16, ansi), toAnsi(ansi, Utf16), toOem(oem, Utf16) {}
  LazyConverter toWide;
  LazyConverter toAnsi;
  LazyConverter toOem;
};

PosixText::PosixText(std::string ansiCodePage, std::string oemCodePage)
    : ansi_(std::move(ansiCodePage)),
      oem_(std::move(oemCodePage)),
      converters_(std::make_shared<Converters>(ansi_, oem_)) {}

std::u16string PosixText::AnsiToWide(std::string_view text) const {
  // A byte the code page leaves undefined (0x98 in Windows-1251) passes as the code unit of
  // the same value, as the system's conversion does.
  return FromBytes(converters_->toWide.Run(text, 1, [](std::string& out, std::string_view unit) {
    out += unit[0];
    out += '\0';
  }));
}

std::string PosixText::WideToAnsi(std::u16string_view text) const {
  return converters_->toAnsi.Run(ToBytes(text), 2, [this](std::string& out, std::string_view unit) {
    // The code unit that an undefined byte stands for goes back to that byte.
    const auto u = static_cast<char16_t>(static_cast<unsigned char>(unit[0]) |
                                         (unit.size() > 1 ? static_cast<unsigned char>(unit[1]) << 8 : 0));
    const char byte = static_cast<char>(u);
    out += (u < 0x100 && AnsiToWide(std::string_view(&byte, 1)) == std::u16string(1, u)) ? byte : '?';
  });
}

std::string PosixText::AnsiToOem(std::string_view text) const {
  return converters_->toOem.Run(ToBytes(AnsiToWide(text)), 2, [](std::string& out, std::string_view) { out += '?'; });
}

std::string PosixText::UpperAnsi(std::string_view text) const {
  std::string out(text);
  // Byte by byte, so that a byte the code page cannot round-trip stays as it is.
  for (auto& b : out) {
    const std::u16string wide = AnsiToWide(std::string_view(&b, 1));
    const std::string upper = WideToAnsi(SimpleUpper(wide));
    if (upper.size() == 1 && upper[0] != '?') b = upper[0];
  }
  return out;
}

std::u16string PosixText::UpperWide(std::u16string_view text) const { return SimpleUpper(text); }

}  // namespace qvn::platform::posix

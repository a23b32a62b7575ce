#pragma once
// Text services of the system: the ANSI and OEM code pages and locale-aware upper-casing.

#include <string>
#include <string_view>

namespace qvn::platform {

class ITextServices {
 public:
  virtual ~ITextServices() = default;
  virtual std::u16string AnsiToWide(std::string_view text) const = 0;
  // Characters that the ANSI code page lacks become the code page's default character
  // (or a best-fit substitute, as the system does).
  virtual std::string WideToAnsi(std::u16string_view text) const = 0;
  // The system's ANSI-to-OEM conversion (Windows-1251 to code page 866 on a Russian system).
  virtual std::string AnsiToOem(std::string_view text) const = 0;
  // Upper case by the rules of the ANSI code page (Cyrillic letters included).
  virtual std::string UpperAnsi(std::string_view text) const = 0;
  // Upper case by the user's locale.
  virtual std::u16string UpperWide(std::u16string_view text) const = 0;
};

}  // namespace qvn::platform

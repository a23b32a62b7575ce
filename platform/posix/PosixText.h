#pragma once
// Text services on Linux through iconv, with the code pages of the target systems
// (Windows-1251 as the ANSI and 866 as the OEM code page) unless others are named.

#include <string>

#include "platform/Text.h"

namespace qvn::platform::posix {

class PosixText : public ITextServices {
 public:
  explicit PosixText(std::string ansiCodePage = "CP1251", std::string oemCodePage = "CP866");

  std::u16string AnsiToWide(std::string_view text) const override;
  std::string WideToAnsi(std::u16string_view text) const override;
  std::string AnsiToOem(std::string_view text) const override;
  std::string UpperAnsi(std::string_view text) const override;
  std::u16string UpperWide(std::u16string_view text) const override;

 private:
  std::string ansi_;
  std::string oem_;
};

}  // namespace qvn::platform::posix

#pragma once
// Text services on Linux through iconv, with the code pages of the target systems
// (Windows-1251 as the ANSI and 866 as the OEM code page) unless others are named. The
// conversion descriptors are opened on first use and kept, shared by copies: opening one
// loads a converter module, far too costly to repeat for every name.

#include <memory>
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
  class Converters;
  std::string ansi_;
  std::string oem_;
  std::shared_ptr<Converters> converters_;
};

}  // namespace qvn::platform::posix

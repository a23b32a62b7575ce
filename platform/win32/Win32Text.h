#pragma once
// Text services of the system: the process's ANSI code page (CP_ACP), the ANSI-to-OEM
// conversion and upper-casing by the user's locale.

#include "platform/Text.h"

namespace qvn::platform::win32 {

class Win32Text : public ITextServices {
 public:
  std::u16string AnsiToWide(std::string_view text) const override;
  std::string WideToAnsi(std::u16string_view text) const override;
  std::string AnsiToOem(std::string_view text) const override;
  std::string UpperAnsi(std::string_view text) const override;
  std::u16string UpperWide(std::u16string_view text) const override;
};

}  // namespace qvn::platform::win32

#pragma once
// UTF-16 text between the platform interfaces (char16_t) and the W functions of the system
// (wchar_t, 16 bits with MinGW-w64).

#include <string>
#include <string_view>

namespace qvn::platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the W functions take UTF-16 code units");

inline std::wstring ToWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

inline std::u16string FromWide(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

}  // namespace qvn::platform::win32

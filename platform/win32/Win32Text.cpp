#include "platform/win32/Win32Text.h"

#include "platform/win32/WinApi.h"

#include <limits>
#include <stdexcept>

#include "platform/win32/WideText.h"

namespace qvn::platform::win32 {

namespace {

// The conversion functions count in int or DWORD; longer text is refused rather than cut.
template <class Count, class Text>
Count CheckedLength(const Text& text) {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw std::length_error("text too long to convert");
  return static_cast<Count>(text.size());
}

}  // namespace

std::u16string Win32Text::AnsiToWide(std::string_view text) const {
  const int length = CheckedLength<int>(text);
  if (length == 0) return {};
  const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  const int done = MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
  wide.resize(static_cast<std::size_t>(done));
  return FromWide(wide);
}

std::string Win32Text::WideToAnsi(std::u16string_view text) const {
  const int length = CheckedLength<int>(text);
  if (length == 0) return {};
  const std::wstring wide = ToWide(text);
  const int needed =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(needed), '\0');
  const int done = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, ansi.data(), needed,
                                       nullptr, nullptr);
  ansi.resize(static_cast<std::size_t>(done));
  return ansi;
}

std::string Win32Text::AnsiToOem(std::string_view text) const {
  std::string oem(text);
  if (!oem.empty()) CharToOemBuffA(oem.data(), oem.data(), CheckedLength<DWORD>(oem));
  return oem;
}

std::string Win32Text::UpperAnsi(std::string_view text) const {
  std::string upper(text);
  if (!upper.empty()) CharUpperBuffA(upper.data(), CheckedLength<DWORD>(upper));
  return upper;
}

std::u16string Win32Text::UpperWide(std::u16string_view text) const {
  std::wstring upper = ToWide(text);
  if (!upper.empty()) CharUpperBuffW(upper.data(), CheckedLength<DWORD>(upper));
  return FromWide(upper);
}

}  // namespace qvn::platform::win32

#pragma once
// Conversions between UTF-16 and UTF-8. A surrogate pair becomes one four-byte sequence; a
// lone surrogate is encoded by itself in three bytes, so that no code unit is lost.

#include <string>
#include <string_view>

namespace qvn::platform {

std::string Utf16ToUtf8(std::u16string_view text);
// Malformed bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace qvn::platform

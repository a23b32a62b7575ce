#pragma once
// Upper-casing of UTF-16 text for the scripts the target systems use (Latin, Latin-1,
// Greek, Cyrillic), without a locale: the POSIX stand-in for the system's rules.

#include <string>
#include <string_view>

namespace qvn::platform::posix {

char16_t SimpleUpper(char16_t c);
std::u16string SimpleUpper(std::u16string_view text);

}  // namespace qvn::platform::posix

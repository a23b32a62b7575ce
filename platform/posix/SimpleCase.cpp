#include "platform/posix/SimpleCase.h"

namespace qvn::platform::posix {

char16_t SimpleUpper(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c < 0x80) return c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 0x20);  // Latin-1
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
      c != 0x17F) {  // Latin Extended-A: pairs, odd member lower case (with a shifted run)
    const bool shifted = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (shifted ? (c % 2 == 0) : (c % 2 == 1)) return static_cast<char16_t>(c - 1);
    return c;
  }
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);  // Greek
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);  // Cyrillic а..я
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);  // ѐ..џ
  if (c >= 0x460 && c <= 0x4BF && c % 2 == 1 && !(c >= 0x482 && c <= 0x489))
    return static_cast<char16_t>(c - 1);  // the Cyrillic pairs (ґ and others)
  return c;
}

std::u16string SimpleUpper(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) c = SimpleUpper(c);
  return out;
}

}  // namespace qvn::platform::posix

#include "backup/EntryNames.h"

#include <algorithm>

#include "platform/Utf.h"

namespace qvn {

TStoredName EncodeEntryName(const platform::ITextServices& text, std::u16string_view name) {
  const std::string ansi = text.WideToAnsi(name);
  if (text.AnsiToWide(ansi) == name) {
    std::string oem = text.AnsiToOem(ansi);
    if (std::count(oem.begin(), oem.end(), '?') == std::count(ansi.begin(), ansi.end(), '?'))
      return {std::move(oem), false};
  }
  return {platform::Utf16ToUtf8(name), true};
}

}  // namespace qvn

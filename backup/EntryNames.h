#pragma once
// The stored form of an entry name, as both headers of an entry carry it.

#include <string>
#include <string_view>

#include "platform/Text.h"

namespace qvn {

struct TStoredName {
  std::string bytes;
  bool utf8 = false;  // the name needs the UTF-8 flag in both headers
};

// A name that survives the round trip through the ANSI code page is stored in the OEM code
// page (cp866 on a Russian system), without the flag. Any other name is stored in UTF-8,
// whole characters (a surrogate pair as one four-byte sequence), with the flag. So is a
// name whose ANSI form the OEM code page cannot hold: the OEM conversion would turn its
// missing characters into "?", which no file name contains, and the name would be lost.
TStoredName EncodeEntryName(const platform::ITextServices& text, std::u16string_view name);

}  // namespace qvn

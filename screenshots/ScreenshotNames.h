#pragma once
// The name of the JPEG file that a screenshot's BMP file becomes.

#include <string>
#include <string_view>

#include "platform/Text.h"

namespace qvn {

// bmpName with every ".bmp" replaced by ".jpg", matched with regard to letter case, left to
// right, inserted text not searched again ("a.bmp.bmp" -> "a.jpg.jpg", "my.bmpshot.bmp" ->
// "my.jpgshot.jpg"). The folder search matches "*.bmp" in any letter case, so a name that
// ends in ".bmp" written otherwise ("SHOT.BMP", "a.bmp.Bmp") also gets ".jpg" in place of its
// last four characters: the target is never the source itself, which would be overwritten
// and then deleted. Empty when no name different from bmpName (ignoring letter case) comes
// out, which leaves such an entry alone.
std::u16string JpegNameFor(std::u16string_view bmpName, const platform::ITextServices& text);

}  // namespace qvn

#pragma once
// Text put into the game's Lua scripts.

#include <string>
#include <string_view>

namespace qvn {

// What stands between the double quotes of a Lua 5.1 string literal that evaluates to exactly
// bytes: backslash and double quote are escaped, every control byte (0-31 and 127) becomes
// "\ddd" with three decimal digits (so a digit that follows cannot join the escape); all other
// bytes, Windows-1251 letters included, stay as they are. The result holds no line break and
// no NUL, so it never splits the script's line.
std::string LuaStringBody(std::string_view bytes);

}  // namespace qvn

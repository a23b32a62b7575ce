#pragma once
// The text form of a list of lines, as the window toolkit's string list reads and writes it.
// Putting a text through SplitLines and JoinLines is how every line break becomes CR LF.

#include <string>
#include <string_view>
#include <vector>

namespace qvn {

// The lines of text: it splits at every CR LF, lone CR and lone LF; a NUL ends the text.
// A break at the very end opens no further line, so "" gives no lines and "a\r\n" one.
std::vector<std::string> SplitLines(std::string_view text);

// Every line followed by CR LF, the last one included.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace qvn

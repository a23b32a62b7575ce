#pragma once
// String helpers shared by the settings store, the screenshot converter and the quick login.

#include <string>
#include <string_view>

namespace qvn {

// text with every occurrence of oldText replaced by newText, matched byte for byte (letter
// case counts) from left to right; the search resumes behind each replacement, so inserted
// text is never searched again. An empty oldText replaces nothing.
std::string ReplaceAll(std::string_view oldText, std::string_view newText, std::string_view text);
// The same for UTF-16 text (file names as the file system lists them).
std::u16string ReplaceAll(std::u16string_view oldText, std::u16string_view newText,
                          std::u16string_view text);

}  // namespace qvn

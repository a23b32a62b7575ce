#include "settings/extfunc.h"

namespace qvn {

std::string ReplaceAll(std::string_view oldText, std::string_view newText, std::string_view text) {
  if (oldText.empty()) return std::string(text);
  std::string result;
  result.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(oldText, from)) != std::string_view::npos;
       from = at + oldText.size()) {
    result.append(text, from, at - from);
    result.append(newText);
  }
  result.append(text, from);
  return result;
}

}  // namespace qvn

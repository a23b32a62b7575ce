#include "settings/extfunc.h"

namespace qvn {

namespace {

template <class Char>
std::basic_string<Char> ReplaceEvery(std::basic_string_view<Char> oldText,
                                     std::basic_string_view<Char> newText,
                                     std::basic_string_view<Char> text) {
  if (oldText.empty()) return std::basic_string<Char>(text);
  std::basic_string<Char> result;
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

}  // namespace

std::string ReplaceAll(std::string_view oldText, std::string_view newText, std::string_view text) {
  return ReplaceEvery(oldText, newText, text);
}

std::u16string ReplaceAll(std::u16string_view oldText, std::u16string_view newText,
                          std::u16string_view text) {
  return ReplaceEvery(oldText, newText, text);
}

}  // namespace qvn

#include "quicklogin/TextLines.h"

namespace qvn {

namespace {
constexpr std::string_view LineBreak = "\r\n";
}

std::vector<std::string> SplitLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + LineBreak.size();
  std::string text;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += LineBreak;
  }
  return text;
}

}  // namespace qvn

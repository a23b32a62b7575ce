#pragma once
// Text operations on Windows-form paths, for ANSI (std::string) and UTF-16 (std::u16string)
// paths alike. They look at separators only; nothing here touches the file system.

#include <string>

namespace qvn::platform {

template <class Char>
constexpr bool IsPathSeparator(Char c) {
  return c == Char('\\') || c == Char('/');
}

// The folder part of a path including its trailing separator ("C:\a\b.exe" -> "C:\a\").
template <class String>
String ExtractFilePath(const String& path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    const auto c = path[i - 1];
    if (c == '\\' || c == '/' || c == ':') return path.substr(0, i);
  }
  return String();
}

// The name part of a path: the text after the last separator or drive colon.
template <class String>
String ExtractFileName(const String& path) {
  return path.substr(ExtractFilePath(path).size());
}

template <class String>
String IncludeTrailingBackslash(const String& path) {
  if (!path.empty() && path.back() == '\\') return path;
  return path + typename String::value_type('\\');
}

template <class String>
String ExcludeTrailingSeparators(String path) {
  while (!path.empty() && IsPathSeparator(path.back())) path.pop_back();
  return path;
}

}  // namespace qvn::platform

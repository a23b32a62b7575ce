#include "backup/ArchivePaths.h"

#include <algorithm>
#include <vector>

#include "platform/PathText.h"

namespace qvn {

namespace {

using platform::IsPathSeparator;

constexpr std::u16string_view MatchAll = u"*.*";

bool HasDriveColon(std::u16string_view path) { return path.find(u':') != std::u16string_view::npos; }

bool IsNetworkPath(std::u16string_view path) {
  return path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]);
}

std::u16string JoinFolder(const std::u16string& folder, std::u16string_view rest) {
  std::u16string joined = folder;
  if (joined.empty() || !IsPathSeparator(joined.back())) joined += u'\\';
  joined += rest;
  return joined;
}

// The drive ("C:") or network share ("\\server\share") that begins a path, and its length.
std::size_t RootLength(std::u16string_view path) {
  if (path.size() >= 2 && path[1] == u':') return 2;
  if (!IsNetworkPath(path)) return 0;
  std::size_t i = 2;
  for (int component = 0; component < 2; ++component) {
    while (i < path.size() && !IsPathSeparator(path[i])) ++i;
    if (component == 0 && i < path.size()) ++i;
  }
  return i;
}

std::vector<std::u16string_view> Components(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  while (start < path.size()) {
    std::size_t end = start;
    while (end < path.size() && !IsPathSeparator(path[end])) ++end;
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::u16string RelativePath(const platform::ITextServices& text, const std::u16string& path,
                            const std::u16string& base) {
  const std::size_t pathRoot = RootLength(path);
  const std::size_t baseRoot = RootLength(base);
  const std::u16string_view pathView = path;
  const std::u16string_view baseView = base;
  if (text.UpperWide(pathView.substr(0, pathRoot)) != text.UpperWide(baseView.substr(0, baseRoot)))
    return path;
  const auto pathParts = Components(pathView.substr(pathRoot));
  const auto baseParts = Components(baseView.substr(baseRoot));
  std::size_t common = 0;
  while (common < pathParts.size() && common < baseParts.size() &&
         text.UpperWide(pathParts[common]) == text.UpperWide(baseParts[common]))
    ++common;
  std::u16string relative;
  for (std::size_t i = common; i < baseParts.size(); ++i) relative += u"..\\";
  for (std::size_t i = common; i < pathParts.size(); ++i) {
    if (i > common) relative += u'\\';
    relative += pathParts[i];
  }
  return relative;
}

std::u16string WithoutRoot(std::u16string_view path) {
  if (path.size() >= 2 && path[1] == u':') {
    path.remove_prefix(2);
  } else if (IsNetworkPath(path)) {
    std::size_t i = 2;
    while (i < path.size() && !IsPathSeparator(path[i])) ++i;
    path.remove_prefix(std::min(i + 1, path.size()));
  }
  if (!path.empty() && IsPathSeparator(path[0])) path.remove_prefix(1);
  return std::u16string(path);
}

}  // namespace

bool MatchesUpperMask(std::u16string_view text, std::u16string_view mask) {
  if (mask == MatchAll) return true;
  std::size_t t = 0, m = 0;
  std::size_t starMask = std::u16string_view::npos, starText = 0;
  while (t < text.size()) {
    if (m < mask.size() && mask[m] == u'*') {
      starMask = m++;
      starText = t;
    } else if (m < mask.size() && (mask[m] == u'?' || mask[m] == text[t])) {
      ++m;
      ++t;
    } else if (starMask != std::u16string_view::npos) {
      m = starMask + 1;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*') ++m;
  return m == mask.size();
}

bool MatchesMask(const platform::ITextServices& text, std::u16string_view value,
                 std::u16string_view mask) {
  return MatchesUpperMask(text.UpperWide(value), text.UpperWide(mask));
}

std::u16string ResolveMask(const std::u16string& mask, const std::u16string& folder) {
  if (!mask.empty() && IsPathSeparator(mask[0])) {
    if (mask.size() == 1) return folder;
    if (IsPathSeparator(mask[1])) return mask;
    return JoinFolder(folder, std::u16string_view(mask).substr(1));
  }
  if (mask.size() >= 2 && mask[0] == u'.' && mask[1] == u'\\')
    return JoinFolder(folder, std::u16string_view(mask).substr(2));
  if (HasDriveColon(mask) || mask.find(u"..\\") != std::u16string::npos ||
      mask.find(u"../") != std::u16string::npos)
    return mask;
  return JoinFolder(folder, mask);
}

std::u16string EntryNameOf(const platform::ITextServices& text, std::u16string path,
                           const std::u16string& base) {
  if (!path.empty() && IsPathSeparator(path.back())) path.pop_back();
  if (!path.empty() && path.back() == u'.') path.pop_back();
  std::u16string name = RelativePath(text, path, base);
  if (name.find(u"..\\") != std::u16string::npos || name.find(u"../") != std::u16string::npos)
    name = path;
  name = WithoutRoot(name);
  std::replace(name.begin(), name.end(), u'\\', u'/');
  return name;
}

std::u16string ExpandPath(const std::u16string& path, const std::u16string& currentDirectory) {
  if ((path.size() >= 2 && path[1] == u':') || IsNetworkPath(path)) return path;
  if (!path.empty() && IsPathSeparator(path[0]))
    return currentDirectory.substr(0, RootLength(currentDirectory)) + path;
  return JoinFolder(currentDirectory, path);
}

TExclusionMask::TExclusionMask(const platform::ITextServices& text, const std::u16string& mask)
    : fileMask_(text.UpperWide(mask)), folderMask_(fileMask_) {
  if (folderMask_.empty() || (folderMask_.back() != u'*' && !IsPathSeparator(folderMask_.back())))
    folderMask_ += u'\\';
}

bool TExclusionMask::Excludes(const std::u16string& upperPath, bool folder) const {
  const std::u16string& mask = folder ? folderMask_ : fileMask_;
  const std::u16string path = folder ? platform::IncludeTrailingBackslash(upperPath) : upperPath;
  if (mask == MatchAll) return true;
  if (!HasDriveColon(mask)) return MatchesUpperMask(path, mask);
  const std::u16string maskFolder = platform::ExtractFilePath(mask);
  if (platform::ExtractFilePath(path) == maskFolder) return MatchesUpperMask(path, mask);
  return platform::ExtractFileName(mask) == MatchAll && path.starts_with(maskFolder);
}

}  // namespace qvn

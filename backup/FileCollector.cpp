#include "backup/FileCollector.h"

#include "backup/ZipFormat.h"
#include "platform/DosDateTime.h"
#include "platform/FileSearch.h"
#include "platform/PathText.h"

namespace qvn {

namespace {

namespace fileattr = platform::fileattr;

constexpr std::uint32_t FolderListingFilter = fileattr::Directory | fileattr::Hidden | fileattr::System;
// A file without any attribute bit is accepted only by a filter that has all of these.
constexpr std::uint32_t BareFileFilter =
    fileattr::Archive | fileattr::ReadOnly | fileattr::Hidden | fileattr::System;

bool HasWildcards(std::u16string_view mask) {
  return mask.find_first_of(u"*?") != std::u16string_view::npos;
}

bool HasSeparator(std::u16string_view mask) {
  return mask.find_first_of(u"\\/") != std::u16string_view::npos;
}

std::u16string FileNamePart(const std::u16string& mask) {
  const auto cut = mask.find_last_of(u"\\/");
  return cut == std::u16string::npos ? mask : mask.substr(cut + 1);
}

bool IsFolder(const platform::DirEntry& e) { return (e.attributes & fileattr::Directory) != 0; }

}  // namespace

TFileCollector::TFileCollector(const platform::IFileSystem& files,
                               const platform::ITextServices& text, const platform::IClock& clock,
                               TCollectionSettings settings, TEntryList& entries,
                               std::size_t committedCount)
    : files_(files),
      text_(text),
      clock_(clock),
      settings_(std::move(settings)),
      entries_(entries),
      committedCount_(committedCount) {
  for (const auto& mask : settings_.exclusions) exclusions_.emplace_back(text_, mask);
  for (auto& mask : settings_.noCompressionMasks) mask = text_.UpperWide(mask);
}

void TFileCollector::Collect(const std::u16string& mask) {
  passedMask_ = mask;
  SearchLevel(ResolveMask(mask, settings_.base), mask, settings_.recurse);
}

void TFileCollector::SearchLevel(const std::u16string& fullMask, const std::u16string& levelMask,
                                 bool recurse) {
  const std::u16string folder = platform::ExtractFilePath(fullMask);
  const std::uint32_t filter = settings_.filter;
  platform::DirEntry found;

  if (fullMask == passedMask_ && !HasWildcards(fullMask)) {
    // An exact path: that one item, whatever it is.
    for (platform::FilteredSearch search(files_, fullMask, filter); search.Next(found);)
      ProcessFound(folder, found);
    return;
  }

  const std::uint32_t fileFilter = filter & ~fileattr::Directory;
  for (platform::FilteredSearch search(files_, fullMask, fileFilter); search.Next(found);) {
    const bool accepted = (found.attributes & fileFilter) != 0 ||
                          (found.attributes == 0 && (filter & BareFileFilter) == BareFileFilter);
    if (accepted) ProcessFound(folder, found);
  }

  if ((filter & fileattr::Directory) || recurse)
    SearchSubfolders(folder, fullMask, levelMask, recurse);
}

void TFileCollector::SearchSubfolders(const std::u16string& folder, const std::u16string& fullMask,
                                      const std::u16string& levelMask, bool recurse) {
  const std::uint32_t filter = settings_.filter;
  const std::u16string upperFullMask = text_.UpperWide(fullMask);
  const std::u16string pattern = platform::IncludeTrailingBackslash(folder) + u"*";
  platform::DirEntry found;
  for (platform::FilteredSearch search(files_, pattern, FolderListingFilter); search.Next(found);) {
    if (!IsFolder(found) || found.name == u"." || found.name == u"..") continue;
    const std::u16string path = platform::IncludeTrailingBackslash(folder) + found.name;
    const std::u16string upperPath = text_.UpperWide(path);
    if (Excluded(upperPath, true)) continue;

    if (filter & fileattr::Directory) {
      if (MatchesUpperMask(upperPath, upperFullMask) ||
          MatchesUpperMask(upperPath + u".", upperFullMask)) {
        if (ProcessFound(folder, found)) {
          const std::u16string nameMask = FileNamePart(levelMask);
          SearchLevel(ResolveMask(nameMask, path), nameMask, true);
        }
        continue;
      }
    }
    if (!recurse) continue;
    if (!HasSeparator(levelMask)) {
      SearchLevel(ResolveMask(levelMask, path), levelMask, true);
    } else if (HasWildcards(levelMask)) {
      const std::u16string nameMask = FileNamePart(fullMask);
      SearchLevel(ResolveMask(nameMask, path), nameMask, true);
    }
  }
}

bool TFileCollector::ProcessFound(const std::u16string& folder, const platform::DirEntry& found) {
  std::u16string path = platform::IncludeTrailingBackslash(folder) + found.name;
  if (IsFolder(found)) path += u'\\';
  if (Excluded(text_.UpperWide(path), IsFolder(found))) return false;
  Add(path, found);
  return true;
}

bool TFileCollector::Excluded(const std::u16string& upperPath, bool folder) const {
  for (const auto& mask : exclusions_)
    if (mask.Excludes(upperPath, folder)) return true;
  return false;
}

void TFileCollector::Add(const std::u16string& path, const platform::DirEntry& found) {
  const bool folder = IsFolder(found);
  TDirItem item;
  item.name = EntryNameOf(text_, path, settings_.base);
  if (folder && (item.name.empty() || item.name.back() != u'/')) item.name += u'/';

  const platform::DosDateTime stamp =
      platform::ToDosDateTime(folder ? clock_.Now() : clock_.ToLocal(found.lastWriteTime));
  TCentralHeader& h = item.header;
  h.signature = zipformat::CentralHeaderSignature;
  h.versionMadeBy = zipformat::Version;
  h.versionNeeded = zipformat::Version;
  h.method = settings_.method;
  h.dosTime = stamp.time;
  h.dosDate = stamp.date;
  h.crc32 = zipformat::PlaceholderCrc;
  h.nameLength = static_cast<std::uint16_t>(item.name.size());
  h.externalAttributes = found.attributes;
  item.modified = true;
  item.sourcePath = path;
  item.compressionLevel = folder ? 0 : settings_.compressionLevel;
  if (folder) {
    h.method = zipformat::MethodStored;
    h.crc32 = 0;
    h.flags = zipformat::FlagFolder;
  } else if (found.size >= zipformat::Limit32) {
    // Recorded as found; writing it is refused without ZIP64.
    item.needs64 = true;
    h.uncompressedSize = static_cast<std::uint32_t>(zipformat::Limit32);
    item.uncompressedSize64 = found.size;
  } else {
    h.uncompressedSize = static_cast<std::uint32_t>(found.size);
  }
  if (!folder && !settings_.noCompressionMasks.empty()) {
    const std::u16string upperPath = text_.UpperWide(path);
    for (const auto& mask : settings_.noCompressionMasks) {
      if (MatchesUpperMask(upperPath, mask)) {
        h.method = zipformat::MethodStored;
        item.compressionLevel = 0;
        break;
      }
    }
  }

  if (const auto existing = entries_.Find(item.name)) {
    item.operation = *existing < committedCount_ ? TProcessOperation::poUpdate
                                                 : TProcessOperation::poAdd;
    entries_.Replace(*existing, std::move(item));
  } else {
    item.operation = TProcessOperation::poAdd;
    entries_.Append(std::move(item));
  }
}

}  // namespace qvn

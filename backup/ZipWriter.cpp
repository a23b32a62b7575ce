#include "backup/ZipWriter.h"

#include <algorithm>
#include <mutex>
#include <stdexcept>

#include "backup/ArchivePaths.h"
#include "backup/ArchiveTail.h"
#include "backup/CentralDirectory.h"
#include "backup/EntryWriter.h"
#include "backup/FileCollector.h"
#include "backup/ZipFormat.h"
#include "backup/ZipWriterError.h"
#include "platform/OsError.h"

namespace qvn {

namespace {

using platform::FileAccess;
using platform::FileDisposition;
using platform::SeekOrigin;

constexpr int MaxCompressionMode = 9;

// Collections of all writers in the process run one at a time.
std::mutex& CollectionLock() {
  static std::mutex lock;
  return lock;
}

int ModeOf(TCompressionLevel level) {
  switch (level) {
    case TCompressionLevel::clNone: return 0;
    case TCompressionLevel::clFastest: return 1;
    case TCompressionLevel::clNormal: return 6;
    case TCompressionLevel::clMax: return 9;
  }
  return 1;
}

}  // namespace

TZipWriter::TZipWriter(const TZipWriterServices& services)
    : services_(services), entries_(services.text) {}

TZipWriter::~TZipWriter() { Close(); }

TCompressionLevel TZipWriter::CompressionLevel() const {
  if (compressionMode_ == 0) return TCompressionLevel::clNone;
  if (compressionMode_ <= 3) return TCompressionLevel::clFastest;
  if (compressionMode_ <= 6) return TCompressionLevel::clNormal;
  return TCompressionLevel::clMax;
}

void TZipWriter::SetCompressionLevel(TCompressionLevel level) { SetCompressionMode(ModeOf(level)); }

void TZipWriter::SetCompressionMode(int mode) {
  compressionMode_ = std::clamp(mode, 0, MaxCompressionMode);
  method_ = compressionMode_ != 0 ? zipformat::MethodDeflated : zipformat::MethodStored;
}

void TZipWriter::Open() {
  if (fileName_.empty()) RaiseZipError(zipcode::BlankFileName);
  const std::u16string path = ExpandPath(fileName_, services_.files.CurrentDirectory());
  const std::string shownPath = services_.text.WideToAnsi(path);
  if (services_.files.GetAttributes(path)) {
    std::string reason = "The archive exists already; existing archives are never changed";
    try {
      services_.files.Open(path, FileAccess::ReadWrite, platform::ShareRead,
                           FileDisposition::OpenExisting);
    } catch (const platform::EOSError& e) {
      reason = e.what();
    }
    throw EZipFileError("Cannot open file \"" + shownPath + "\". " + reason);
  }

  Close();
  try {
    file_ = services_.files.Open(path, FileAccess::ReadWrite, platform::ShareNone,
                                 FileDisposition::CreateNew);
  } catch (const platform::EOSError& e) {
    throw EZipFileError("Cannot create file \"" + shownPath + "\". " + e.what());
  }
  archivePath_ = path;
}

void TZipWriter::AddByMask(const std::u16string& mask, std::uint32_t searchAttr,
                           const std::u16string& exclusionMask) {
  if (!Active()) RaiseZipError(zipcode::NotOpen);
  TCollectionSettings settings;
  settings.base = baseDir_;
  settings.filter = searchAttr;
  if (!exclusionMask.empty()) settings.exclusions.push_back(exclusionMask);
  settings.exclusions.push_back(archivePath_);
  settings.recurse = recurse_;
  settings.compressionLevel = compressionMode_;
  settings.method = method_;
  settings.noCompressionMasks = noCompressionMasks_;

  BeginUpdate();
  try {
    {
      const std::lock_guard lock(CollectionLock());
      TFileCollector collector(services_.files, services_.text, services_.clock,
                               std::move(settings), entries_, saved_.size());
      collector.Collect(mask);
    }
    EndUpdate();
  } catch (...) {
    CancelUpdate();
    throw;
  }
}

void TZipWriter::BeginUpdate() {
  if (updateDepth_ == 0) {
    if (!Active()) Open();
    for (auto& item : entries_.Span()) item.modified = false;
    saved_ = entries_.Items();
  }
  ++updateDepth_;
}

void TZipWriter::EndUpdate() {
  if (updateDepth_ == 1) Commit();
  else if (updateDepth_ > 1) --updateDepth_;
}

void TZipWriter::CancelUpdate() {
  if (updateDepth_ == 0) return;
  updateDepth_ = 0;
  entries_.Assign(saved_);
}

void TZipWriter::Close() noexcept {
  if (!Active()) return;
  try {
    if (updateDepth_ > 0) Commit();
    if (!written_) {
      WriteDirectory();
      if (flushBuffers_) file_->Flush();
    }
  } catch (...) {
    // Close never fails: what could not be written stays as the last commit left it.
  }
  file_.reset();
  entries_.Clear();
  saved_.clear();
  updateDepth_ = 0;
  directoryOffset_ = 0;
  written_ = false;
}

std::size_t TZipWriter::FirstChangedEntry() const {
  const std::size_t common = std::min(saved_.size(), entries_.Size());
  for (std::size_t i = 0; i < common; ++i)
    if (entries_[i].modified || entries_[i].name != saved_[i].name) return i;
  return common;
}

void TZipWriter::Commit() {
  updateDepth_ = 0;
  const std::size_t first = FirstChangedEntry();
  std::unique_ptr<TArchiveTail> tail;
  std::uint64_t start = 0;
  if (first < saved_.size()) {
    start = saved_[first].LocalHeaderOffset();
    try {
      const std::u16string folder = tempDir_.empty() ? services_.files.TemporaryFolder() : tempDir_;
      tail = std::make_unique<TArchiveTail>(services_.files, folder, *file_, start);
    } catch (...) {
      entries_.Assign(saved_);  // nothing of the file was touched yet
      throw;
    }
  } else if (!saved_.empty()) {
    // The new entries take the place of the old central directory.
    start = directoryOffset_;
  }

  bool completed = false;
  try {
    file_->Seek(static_cast<std::int64_t>(start), SeekOrigin::Begin);
    file_->Truncate();
    completed = WriteEntriesFrom(first, tail.get());
    if (completed) {
      WriteDirectory();
      tail.reset();
    }
  } catch (...) {
    RollBack(start, tail.get());
    throw;
  }
  if (!completed) {
    RollBack(start, tail.get());
    return;
  }
  if (flushBuffers_) file_->Flush();
}

bool TZipWriter::WriteEntriesFrom(std::size_t first, TArchiveTail* tail) {
  for (std::size_t i = first; i < entries_.Size();) {
    TFileExceptionAction action = TFileExceptionAction::fxaIgnore;
    bool written = false;
    do {
      action = TFileExceptionAction::fxaIgnore;
      written = WriteOneEntry(entries_[i], tail, action);
    } while (!written && action == TFileExceptionAction::fxaRetry);

    if (written) {
      ++i;
    } else if (action == TFileExceptionAction::fxaAbort) {
      return false;
    } else if (entries_[i].operation == TProcessOperation::poUpdate) {
      // Replacements stay where the old entry was, so saved_[i] is the old version.
      entries_.Replace(i, saved_[i]);
      CopyOldEntry(entries_[i], tail);
      ++i;
    } else {
      entries_.Remove(i);
    }
  }
  return true;
}

bool TZipWriter::WriteOneEntry(TDirItem& item, TArchiveTail* tail, TFileExceptionAction& action) {
  if (!item.modified) {
    CopyOldEntry(item, tail);
    return true;
  }
  try {
    WriteEntry(services_.files, services_.text, *file_, item);
    return true;
  } catch (const EZipWriterError& e) {
    if (!IsEntryFailure(e.Code())) throw;
    // A retry, and the entries after this one, go behind what the attempt left.
    file_->Seek(0, SeekOrigin::End);
    action = AskAboutFailure(item, e.Code(), e.what());
    return false;
  }
}

void TZipWriter::CopyOldEntry(TDirItem& item, TArchiveTail* tail) {
  if (!tail) throw std::logic_error("an old entry to copy, but no copy of the old archive");
  const std::uint64_t offset = file_->Seek(0, SeekOrigin::End);
  if (offset >= zipformat::Limit32)
    RaiseZipError(zipcode::OffsetTooLarge, {services_.text.WideToAnsi(item.sourcePath)});
  tail->CopyEntry(item.LocalHeaderOffset(), item.CompressedSize(), *file_);
  item.header.localHeaderOffset = static_cast<std::uint32_t>(offset);
  item.localHeaderOffset64 = offset;
}

TFileExceptionAction TZipWriter::AskAboutFailure(const TDirItem& item, int code,
                                                 const std::string& message) {
  if (!OnProcessFileFailure) return AskFileFailure(services_.messageBoxes, code, message);
  TFileExceptionAction action = TFileExceptionAction::fxaIgnore;
  const std::u16string& name =
      item.operation == TProcessOperation::poUpdate ? item.name : item.sourcePath;
  OnProcessFileFailure(name, item.operation, action, message, code, code);
  return action;
}

void TZipWriter::WriteDirectory() {
  directoryOffset_ = WriteCentralDirectory(*file_, services_.text, entries_.Span());
  written_ = true;
}

void TZipWriter::RollBack(std::uint64_t start, TArchiveTail* tail) noexcept {
  entries_.Assign(saved_);
  try {
    file_->Seek(static_cast<std::int64_t>(start), SeekOrigin::Begin);
    file_->Truncate();
    if (tail) tail->CopyAll(*file_);
    else WriteDirectory();
  } catch (...) {
    // The failure that led here is the one the caller hears of.
  }
}

}  // namespace qvn

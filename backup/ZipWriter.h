#pragma once
// The archive writer: owns one new ZIP file and the list of its entries, adds files in update
// transactions that are committed to the file at once, and closes it. After every commit the
// file is a complete archive: the entries of all committed updates in order, one central
// directory for all of them and the end record. Existing archives are never read or changed.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "backup/DirItem.h"
#include "backup/EntryList.h"
#include "backup/FileFailureBox.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace qvn {

class TArchiveTail;

// The attribute filter that selects every file and every folder, hidden and system ones too.
inline constexpr std::uint32_t SearchEverything = 10431;

enum class TCompressionLevel {
  clNone,     // deflate level 0: entries stored
  clFastest,  // 1
  clNormal,   // 6
  clMax,      // 9
};

// Asked when an entry cannot be written. fileName: the entry's source path (its entry name
// when it replaces an existing entry); action comes in as fxaIgnore and decides what the
// commit does next; message: the full text of the failure; messageIndex: the failure's place
// in the writer's table of texts, which is numbered by code.
using TProcessFileFailureEvent =
    std::function<void(const std::u16string& fileName, TProcessOperation operation,
                       TFileExceptionAction& action, const std::string& message,
                       int messageIndex, int code)>;

struct TZipWriterServices {
  platform::IFileSystem& files;
  const platform::ITextServices& text;
  const platform::IClock& clock;
  platform::IMessageBoxes& messageBoxes;  // the failure boxes without a handler
};

class TZipWriter {
 public:
  // A closed writer with the default settings: deflate level 1, names relative to BaseDir,
  // subfolders searched, the file flushed to disk after each commit.
  explicit TZipWriter(const TZipWriterServices& services);
  // Closes the writer as Close does.
  ~TZipWriter();
  TZipWriter(const TZipWriter&) = delete;
  TZipWriter& operator=(const TZipWriter&) = delete;

  const std::u16string& FileName() const { return fileName_; }
  void SetFileName(const std::u16string& name) { fileName_ = name; }
  // The folder that masks and entry names are relative to.
  const std::u16string& BaseDir() const { return baseDir_; }
  void SetBaseDir(const std::u16string& folder) { baseDir_ = folder; }
  // Where the temporary copy of an archive's tail goes (when an update replaces an entry
  // before the last one); empty: the system's temporary folder.
  const std::u16string& TempDir() const { return tempDir_; }
  void SetTempDir(const std::u16string& folder) { tempDir_ = folder; }
  TCompressionLevel CompressionLevel() const;
  // Sets CompressionMode to the level's deflate level.
  void SetCompressionLevel(TCompressionLevel level);
  // The deflate level of new file entries, 0 to 9; 0 stores them uncompressed. Setting it
  // makes deflate (8) the method of new entries when it is not 0, else stored (0).
  int CompressionMode() const { return compressionMode_; }
  void SetCompressionMode(int mode);
  // Files whose full path matches one of these masks are stored uncompressed.
  const std::vector<std::u16string>& NoCompressionMasks() const { return noCompressionMasks_; }
  void SetNoCompressionMasks(std::vector<std::u16string> masks) { noCompressionMasks_ = std::move(masks); }
  bool Recurse() const { return recurse_; }
  void SetRecurse(bool recurse) { recurse_ = recurse; }
  bool FlushBuffers() const { return flushBuffers_; }
  void SetFlushBuffers(bool flush) { flushBuffers_ = flush; }

  TProcessFileFailureEvent OnProcessFileFailure;

  // Creates the file FileName, empty, shared with nobody; nothing is written to it until the
  // first commit or Close. Raises EZipWriterError 9 when FileName is empty, and EZipFileError
  // "Cannot create file "<path>". <reason>" when it cannot be created. A file that exists
  // already is refused, never emptied: "Cannot open file "<path>". <reason>", the reason
  // being the system's when another program holds it. A refused Open leaves the writer as
  // it was.
  void Open();
  bool Active() const { return file_ != nullptr; }

  // Collects the files and folders that mask selects below BaseDir (attribute filter
  // searchAttr, also leaving out what exclusionMask, when not empty, and the archive itself
  // match) and commits them as one update. Raises EZipWriterError 13 when the writer is not
  // active. A failure other than one entry's drops the update, leaves the file as the last
  // commit left it, and propagates.
  void AddByMask(const std::u16string& mask, std::uint32_t searchAttr,
                 const std::u16string& exclusionMask);

  // Updates nest; the outermost EndUpdate commits. BeginUpdate opens the writer first when it
  // is not active. EndUpdate without an update does nothing.
  void BeginUpdate();
  void EndUpdate();
  // Drops a pending update without committing it: the entry list is put back as the update
  // found it; the file is not touched.
  void CancelUpdate();

  // Commits a pending update, writes the empty archive (the 22-byte end record) when nothing
  // was ever committed, and closes the file. Never fails; does nothing on a closed writer.
  void Close() noexcept;

  // The entries, in archive order.
  const std::vector<TDirItem>& Entries() const { return entries_.Items(); }

 private:
  void Commit();
  // Writes entries from first on; false when the user chose to abort.
  bool WriteEntriesFrom(std::size_t first, TArchiveTail* tail);
  bool WriteOneEntry(TDirItem& item, TArchiveTail* tail, TFileExceptionAction& action);
  void CopyOldEntry(TDirItem& item, TArchiveTail* tail);
  TFileExceptionAction AskAboutFailure(const TDirItem& item, int code, const std::string& message);
  void WriteDirectory();
  void RollBack(std::uint64_t start, TArchiveTail* tail) noexcept;
  std::size_t FirstChangedEntry() const;

  TZipWriterServices services_;
  std::u16string fileName_;
  std::u16string baseDir_;
  std::u16string tempDir_;
  int compressionMode_ = 1;
  std::uint16_t method_ = 8;
  std::vector<std::u16string> noCompressionMasks_;
  bool recurse_ = true;
  bool flushBuffers_ = true;

  std::u16string archivePath_;  // FileName made absolute when the file was created
  std::unique_ptr<platform::IFile> file_;
  TEntryList entries_;
  std::vector<TDirItem> saved_;  // the entries as the running update found them
  int updateDepth_ = 0;
  std::uint64_t directoryOffset_ = 0;  // of the central directory last written
  bool written_ = false;               // a central directory was ever written
};

}  // namespace qvn

#include "backup/CentralDirectory.h"

#include <string>

#include "backup/EntryNames.h"
#include "backup/ZipFormat.h"
#include "backup/ZipWriterError.h"

namespace qvn {

namespace {

// Headers are gathered into writes of about this size, so that a large directory costs few
// system calls.
constexpr std::size_t WriteBatch = 64 * 1024;

class BatchedWriter {
 public:
  explicit BatchedWriter(platform::IFile& file) : file_(file) {}
  std::string& Buffer() { return buffer_; }
  void FlushIfFull() {
    if (buffer_.size() >= WriteBatch) Flush();
  }
  void Flush() {
    if (file_.Write(buffer_.data(), buffer_.size()) != buffer_.size())
      RaiseZipError(zipcode::StreamWrite);
    written_ += buffer_.size();
    buffer_.clear();
  }
  std::uint64_t Written() const { return written_ + buffer_.size(); }

 private:
  platform::IFile& file_;
  std::string buffer_;
  std::uint64_t written_ = 0;
};

}  // namespace

std::uint64_t WriteCentralDirectory(platform::IFile& archive, const platform::ITextServices& text,
                                    std::span<TDirItem> items) {
  const std::uint64_t offset = archive.Seek(0, platform::SeekOrigin::End);
  BatchedWriter out(archive);
  for (TDirItem& item : items) {
    const TStoredName stored = EncodeEntryName(text, item.name);
    if (stored.utf8) item.header.flags |= zipformat::FlagUtf8Name;
    else item.header.flags &= static_cast<std::uint16_t>(~zipformat::FlagUtf8Name);
    item.header.nameLength = static_cast<std::uint16_t>(stored.bytes.size());
    std::size_t extraLength = 0;
    for (const TExtraField& extra : item.extraFields) extraLength += 4 + extra.data.size();
    item.header.extraLength = static_cast<std::uint16_t>(extraLength);
    item.header.commentLength = static_cast<std::uint16_t>(item.comment.size());
    zipformat::AppendCentralHeader(out.Buffer(), item.header);
    out.Buffer() += stored.bytes;
    for (const TExtraField& extra : item.extraFields) {
      std::string& b = out.Buffer();
      b += static_cast<char>(extra.headerId & 0xFF);
      b += static_cast<char>(extra.headerId >> 8);
      b += static_cast<char>(extra.data.size() & 0xFF);
      b += static_cast<char>((extra.data.size() >> 8) & 0xFF);
      b.append(extra.data.begin(), extra.data.end());
    }
    out.Buffer() += item.comment;
    out.FlushIfFull();
  }
  const std::uint64_t size = out.Written();
  zipformat::AppendEndRecords(out.Buffer(), items.size(), size, offset);
  out.Flush();
  return offset;
}

}  // namespace qvn

#include "screenshots/ImageFiles.h"

#include "platform/OsError.h"
#include "platform/PathText.h"
#include "screenshots/BitmapDecoder.h"
#include "screenshots/ImageErrors.h"
#include "screenshots/JpegEncoder.h"

namespace qvn {

namespace {

using platform::EOSError;

// The start of the temporary file's name; what follows is the system's choice, never ".bmp".
const std::u16string TemporaryPrefix = u"qvn";

class FileBitmapBytes : public IBitmapBytes {
 public:
  explicit FileBitmapBytes(platform::IFile& file) : file_(file) {}
  std::uint64_t Size() override { return file_.Size(); }
  std::size_t Read(void* buffer, std::size_t count) override { return file_.Read(buffer, count); }
  void Seek(std::uint64_t position) override {
    file_.Seek(static_cast<std::int64_t>(position), platform::SeekOrigin::Begin);
  }

 private:
  platform::IFile& file_;
};

// The folder a file goes to, "." for a name without one.
std::u16string FolderOf(const std::u16string& path) {
  std::u16string folder = platform::ExtractFilePath(path);
  return folder.empty() ? std::u16string(u".") : folder;
}

[[noreturn]] void FailToCreate(const platform::ITextServices& text, const std::u16string& path,
                               const std::string& reason) {
  throw EImageFileError("Cannot create file \"" + text.WideToAnsi(path) + "\". " + reason);
}

// A temporary file that is removed again unless Keep is called.
class TemporaryFile {
 public:
  TemporaryFile(platform::IFileSystem& files, std::u16string path)
      : files_(files), path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!kept_) files_.RemoveFile(path_);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::u16string& Path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  platform::IFileSystem& files_;
  std::u16string path_;
  bool kept_ = false;
};

}  // namespace

Bitmap ReadBitmapFile(platform::IFileSystem& files, const platform::ITextServices& text,
                      const std::u16string& path) {
  std::unique_ptr<platform::IFile> file;
  try {
    file = files.Open(path, platform::FileAccess::Read, platform::ShareRead,
                      platform::FileDisposition::OpenExisting);
  } catch (const EOSError& e) {
    throw EImageFileError("Cannot open file \"" + text.WideToAnsi(path) + "\". " + e.what());
  }
  FileBitmapBytes bytes(*file);
  return DecodeBitmap(bytes);
}

void WriteJpegFile(platform::IFileSystem& files, const platform::ITextServices& text,
                   const Bitmap& bitmap, const std::u16string& path) {
  // The move below would refuse these too, but only after all the encoding.
  const auto existing = files.GetAttributes(path);
  if (existing && (*existing & (platform::fileattr::ReadOnly | platform::fileattr::Directory)))
    FailToCreate(text, path, files.ErrorMessage(platform::oserror::AccessDenied));

  const std::u16string folder = FolderOf(path);
  std::u16string temporaryPath;
  try {
    temporaryPath = files.CreateTemporaryFile(folder, TemporaryPrefix);
  } catch (const EOSError& e) {
    FailToCreate(text, path, e.what());
  }
  TemporaryFile temporary(files, temporaryPath);
  {
    std::unique_ptr<platform::IFile> file;
    try {
      file = files.Open(temporary.Path(), platform::FileAccess::ReadWrite, platform::ShareNone,
                        platform::FileDisposition::CreateAlways);
    } catch (const EOSError& e) {
      FailToCreate(text, path, e.what());
    }
    const JpegBytes jpeg = EncodeJpeg(bitmap);
    if (jpeg.Size() > 0 && file->Write(jpeg.Data(), jpeg.Size()) != jpeg.Size())
      throw EImageFileError(imagemessages::StreamWrite);
    // On the disk before the move, so that a crash cannot leave an empty JPEG file in place
    // of a BMP file that the converter has deleted.
    try {
      file->Flush();
    } catch (const EOSError&) {
      throw EImageFileError(imagemessages::StreamWrite);
    }
  }
  try {
    files.Rename(temporary.Path(), path, true);
  } catch (const EOSError& e) {
    FailToCreate(text, path, e.what());
  }
  temporary.Keep();
}

}  // namespace qvn

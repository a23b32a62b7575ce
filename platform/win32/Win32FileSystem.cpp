#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/WinApi.h"

#include <algorithm>
#include <limits>

#include "platform/Utf.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Handle.h"
#include "platform/win32/WideText.h"

namespace qvn::platform::win32 {

namespace {

// ReadFile and WriteFile take 32-bit counts; larger requests go in pieces of this size.
constexpr std::size_t MaxTransfer = 1u << 30;

std::uint64_t Combine(DWORD high, DWORD low) {
  return (static_cast<std::uint64_t>(high) << 32) | low;
}

struct FindCloser {
  void operator()(HANDLE handle) const noexcept { FindClose(handle); }
};
using UniqueFind = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindCloser>;

DirEntry ToEntry(const WIN32_FIND_DATAW& data) {
  DirEntry entry;
  entry.name = FromWide(data.cFileName);
  entry.attributes = data.dwFileAttributes;
  entry.size = Combine(data.nFileSizeHigh, data.nFileSizeLow);
  entry.lastWriteTime = Combine(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
  return entry;
}

// The first match is found when the listing is made; Next hands it out, then asks for more.
class Win32Listing : public IDirectoryListing {
 public:
  explicit Win32Listing(const std::u16string& pattern) {
    HANDLE found = FindFirstFileW(ToWide(pattern).c_str(), &data_);
    if (found != INVALID_HANDLE_VALUE) find_.reset(found);
    pending_ = find_ != nullptr;
  }

  bool Next(DirEntry& entry) override {
    if (!pending_) return false;
    entry = ToEntry(data_);
    pending_ = FindNextFileW(find_.get(), &data_) != FALSE;
    return true;
  }

 private:
  UniqueFind find_;
  WIN32_FIND_DATAW data_{};
  bool pending_ = false;
};

class Win32File : public IFile {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}

  std::size_t Read(void* buffer, std::size_t count) override {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
      const auto piece = static_cast<DWORD>(std::min(count - done, MaxTransfer));
      DWORD got = 0;
      if (!ReadFile(handle_.get(), out + done, piece, &got, nullptr)) RaiseLastOSError();
      if (got == 0) break;
      done += got;
    }
    return done;
  }

  std::size_t Write(const void* data, std::size_t count) override {
    const auto* in = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < count) {
      const auto piece = static_cast<DWORD>(std::min(count - done, MaxTransfer));
      DWORD put = 0;
      const bool ok = WriteFile(handle_.get(), in + done, piece, &put, nullptr) != FALSE;
      done += put;
      if (!ok || put == 0) break;
    }
    return done;
  }

  std::uint64_t Seek(std::int64_t offset, SeekOrigin origin) override {
    const DWORD method = origin == SeekOrigin::Begin     ? FILE_BEGIN
                         : origin == SeekOrigin::Current ? FILE_CURRENT
                                                         : FILE_END;
    LARGE_INTEGER distance{};
    distance.QuadPart = offset;
    LARGE_INTEGER position{};
    if (!SetFilePointerEx(handle_.get(), distance, &position, method)) RaiseLastOSError();
    return static_cast<std::uint64_t>(position.QuadPart);
  }

  std::uint64_t Size() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_.get(), &size)) RaiseLastOSError();
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  void Truncate() override {
    if (!SetEndOfFile(handle_.get())) RaiseLastOSError();
  }

  void Flush() override {
    if (!FlushFileBuffers(handle_.get())) RaiseLastOSError();
  }

 private:
  UniqueHandle handle_;
};

DWORD DesiredAccess(FileAccess access) {
  switch (access) {
    case FileAccess::Read:
      return GENERIC_READ;
    case FileAccess::Write:
      return GENERIC_WRITE;
    case FileAccess::ReadWrite:
      break;
  }
  return GENERIC_READ | GENERIC_WRITE;
}

DWORD ShareMode(unsigned share) {
  DWORD mode = 0;
  if (share & ShareRead) mode |= FILE_SHARE_READ;
  if (share & ShareWrite) mode |= FILE_SHARE_WRITE;
  if (share & ShareDelete) mode |= FILE_SHARE_DELETE;
  return mode;
}

DWORD CreationDisposition(FileDisposition disposition) {
  switch (disposition) {
    case FileDisposition::OpenExisting:
      return OPEN_EXISTING;
    case FileDisposition::CreateAlways:
      return CREATE_ALWAYS;
    case FileDisposition::CreateNew:
      break;
  }
  return CREATE_NEW;
}

// Calls fill(buffer, size) of a function that returns the length it wrote, or the size it
// needs (terminator included) when the buffer is too small, or 0 on failure.
template <class Fill>
std::u16string QueryText(Fill fill) {
  std::wstring buffer(MAX_PATH + 1, L'\0');
  for (;;) {
    const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) RaiseLastOSError();
    if (length < buffer.size()) {
      buffer.resize(length);
      return FromWide(buffer);
    }
    buffer.assign(length, L'\0');
  }
}

}  // namespace

std::unique_ptr<IDirectoryListing> Win32FileSystem::List(const std::u16string& pattern) const {
  return std::make_unique<Win32Listing>(pattern);
}

std::optional<std::uint32_t> Win32FileSystem::GetAttributes(const std::u16string& path) const {
  const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

void Win32FileSystem::SetAttributes(const std::u16string& path, std::uint32_t attributes) {
  if (!SetFileAttributesW(ToWide(path).c_str(), attributes)) RaiseLastOSError();
}

std::unique_ptr<IFile> Win32FileSystem::Open(const std::u16string& path, FileAccess access,
                                             unsigned share, FileDisposition disposition) {
  HANDLE handle = CreateFileW(ToWide(path).c_str(), DesiredAccess(access), ShareMode(share),
                              nullptr, CreationDisposition(disposition), FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (handle == INVALID_HANDLE_VALUE) RaiseLastOSError();
  return std::make_unique<Win32File>(handle);
}

bool Win32FileSystem::RemoveFile(const std::u16string& path) noexcept {
  try {
    return DeleteFileW(ToWide(path).c_str()) != FALSE;
  } catch (...) {  // only the copy of the path can throw (out of memory)
    return false;
  }
}

void Win32FileSystem::MakeDirectory(const std::u16string& path) {
  if (!CreateDirectoryW(ToWide(path).c_str(), nullptr)) RaiseLastOSError();
}

void Win32FileSystem::Rename(const std::u16string& from, const std::u16string& to,
                             bool replaceExisting) {
  if (!MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(),
                   replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0))
    RaiseLastOSError();
}

std::u16string Win32FileSystem::CreateTemporaryFile(const std::u16string& folder,
                                                    const std::u16string& prefix) {
  wchar_t name[MAX_PATH];
  if (!GetTempFileNameW(ToWide(folder).c_str(), ToWide(prefix).c_str(), 0, name))
    RaiseLastOSError();
  return FromWide(name);
}

std::u16string Win32FileSystem::TemporaryFolder() const {
  return QueryText([](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); });
}

std::u16string Win32FileSystem::CurrentDirectory() const {
  return QueryText([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); });
}

std::string Win32FileSystem::LibraryPath(const std::u16string& path) const {
  return Utf16ToUtf8(path);
}

std::string Win32FileSystem::ErrorMessage(std::uint32_t code) const {
  return SystemErrorMessage(code);
}

}  // namespace qvn::platform::win32

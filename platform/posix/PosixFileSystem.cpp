#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/OsError.h"
#include "platform/Utf.h"
#include "platform/posix/SimpleCase.h"

namespace qvn::platform::posix {

namespace {

constexpr const char* AttributeXattr = "user.qvn.attributes";
// The bits kept in the extended attribute; Directory and ReadOnly come from the inode.
constexpr std::uint32_t StoredBits = fileattr::Hidden | fileattr::System | fileattr::Archive |
                                     fileattr::Compressed | fileattr::NotContentIndexed;
constexpr std::uint64_t FileTimeTicksPerSecond = 10'000'000;
constexpr std::uint64_t FileTimeUnixEpoch = 11'644'473'600ull;  // seconds from 1601 to 1970

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool ReadsData(FileAccess a) { return a == FileAccess::Read || a == FileAccess::ReadWrite; }
bool WritesData(FileAccess a) { return a == FileAccess::Write || a == FileAccess::ReadWrite; }

std::string ParentOf(const std::string& posixPath) {
  const auto slash = posixPath.rfind('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return posixPath.substr(0, slash);
}

std::string NameOf(const std::string& posixPath) {
  const auto slash = posixPath.rfind('/');
  return slash == std::string::npos ? posixPath : posixPath.substr(slash + 1);
}

bool Exists(const std::string& posixPath, struct stat* st = nullptr) {
  struct stat local;
  return ::stat(posixPath.c_str(), st ? st : &local) == 0;
}

bool IsDirectory(const std::string& posixPath) {
  struct stat st;
  return Exists(posixPath, &st) && S_ISDIR(st.st_mode);
}

std::uint32_t AttributesOf(const std::string& posixPath, const struct stat& st) {
  std::uint32_t a = 0;
  char buffer[32];
  const ssize_t n = ::getxattr(posixPath.c_str(), AttributeXattr, buffer, sizeof buffer - 1);
  if (n > 0) {
    buffer[n] = 0;
    a = static_cast<std::uint32_t>(std::strtoul(buffer, nullptr, 10)) & StoredBits;
  } else {
    const std::string name = NameOf(posixPath);
    if (S_ISREG(st.st_mode)) a |= fileattr::Archive;
    if (name.size() > 1 && name[0] == '.' && name != "..") a |= fileattr::Hidden;
  }
  if (S_ISDIR(st.st_mode)) a |= fileattr::Directory;
  if (!(st.st_mode & S_IWUSR)) a |= fileattr::ReadOnly;
  if (a == 0) a = fileattr::Normal;
  return a;
}

FileTime ToFileTime(const struct timespec& t) {
  return (static_cast<std::uint64_t>(t.tv_sec) + FileTimeUnixEpoch) * FileTimeTicksPerSecond +
         static_cast<std::uint64_t>(t.tv_nsec) / 100;
}

// Matches name[ni..] against pattern[pi..], the DOS way for "*" and "?".
bool MatchFrom(std::u16string_view name, std::u16string_view pattern) {
  std::size_t n = 0, p = 0, starP = std::u16string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == u'?' || SimpleUpper(pattern[p]) == SimpleUpper(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::u16string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  // "name.*" also matches "name" without an extension, as on Windows.
  if (p + 2 == pattern.size() && pattern[p] == u'.' && pattern[p + 1] == u'*') return true;
  return p == pattern.size();
}

const std::map<std::uint32_t, const char*>& MessageTable() {
  static const std::map<std::uint32_t, const char*> table = {
      {oserror::FileNotFound, "The system cannot find the file specified"},
      {oserror::PathNotFound, "The system cannot find the path specified"},
      {oserror::TooManyOpenFiles, "The system cannot open the file"},
      {oserror::AccessDenied, "Access is denied"},
      {oserror::InvalidHandle, "The handle is invalid"},
      {oserror::NotEnoughMemory, "Not enough memory resources are available to process this command"},
      {oserror::WriteFault, "The system cannot write to the specified device"},
      {oserror::ReadFault, "The system cannot read from the specified device"},
      {oserror::SharingViolation, "The process cannot access the file because it is being used by another process"},
      {oserror::LockViolation, "The process cannot access the file because another process has locked a portion of the file"},
      {oserror::HandleDiskFull, "The disk is full"},
      {oserror::NotSupported, "The request is not supported"},
      {oserror::FileExists, "The file exists"},
      {oserror::InvalidParameter, "The parameter is incorrect"},
      {oserror::DiskFull, "There is not enough space on the disk"},
      {oserror::InvalidName, "The filename, directory name, or volume label syntax is incorrect"},
      {oserror::DirNotEmpty, "The directory is not empty"},
      {oserror::AlreadyExists, "Cannot create a file when that file already exists"},
      {oserror::FilenameTooLong, "The filename or extension is too long"},
      {oserror::Directory, "The directory name is invalid"},
  };
  return table;
}

}  // namespace

bool MatchesWildcard(std::u16string_view name, std::u16string_view pattern) {
  if (pattern == u"*.*" || pattern == u"*") return true;
  return MatchFrom(name, pattern);
}

// The open handles of this process per file, to apply the Windows sharing rules.
class PosixFileSystem::ShareTable {
 public:
  struct Key {
    dev_t dev;
    ino_t ino;
    bool operator<(const Key& o) const { return dev != o.dev ? dev < o.dev : ino < o.ino; }
  };
  struct Holder {
    FileAccess access;
    unsigned share;
  };

  static ShareTable& Instance() {
    static ShareTable table;  // the kernel's view: one per process
    return table;
  }

  // Registers a handle; false when an open handle's sharing forbids it (or it forbids them).
  bool Acquire(const Key& key, FileAccess access, unsigned share, std::uint64_t& id) {
    std::lock_guard lock(mutex_);
    for (const auto& [otherId, h] : holders_[key]) {
      if ((ReadsData(access) && !(h.share & ShareRead)) ||
          (WritesData(access) && !(h.share & ShareWrite)) ||
          (ReadsData(h.access) && !(share & ShareRead)) ||
          (WritesData(h.access) && !(share & ShareWrite)))
        return false;
    }
    id = ++nextId_;
    holders_[key][id] = Holder{access, share};
    return true;
  }
  // Whether a delete or rename of the file is allowed by every open handle.
  bool MayDelete(const Key& key) {
    std::lock_guard lock(mutex_);
    auto it = holders_.find(key);
    if (it == holders_.end()) return true;
    for (const auto& [otherId, h] : it->second)
      if (!(h.share & ShareDelete)) return false;
    return true;
  }
  void Release(const Key& key, std::uint64_t id) {
    std::lock_guard lock(mutex_);
    auto it = holders_.find(key);
    if (it == holders_.end()) return;
    it->second.erase(id);
    if (it->second.empty()) holders_.erase(it);
  }

 private:
  std::mutex mutex_;
  std::map<Key, std::map<std::uint64_t, Holder>> holders_;
  std::uint64_t nextId_ = 0;
};

namespace {

class PosixFile : public IFile {
 public:
  PosixFile(int fd, PosixFileSystem::ShareTable::Key key, std::uint64_t id,
            const PosixFileSystem& files)
      : fd_(fd), key_(key), id_(id), files_(files) {}
  ~PosixFile() override {
    PosixFileSystem::ShareTable::Instance().Release(key_, id_);
    ::close(fd_);
  }

  std::size_t Read(void* buffer, std::size_t count) override {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
      const ssize_t n = ::read(fd_, out + done, count - done);
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR) continue;
        Fail(oserror::ReadFault);
      }
      done += static_cast<std::size_t>(n);
    }
    return done;
  }

  std::size_t Write(const void* data, std::size_t count) override {
    const auto* in = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < count) {
      const ssize_t n = ::write(fd_, in + done, count - done);
      if (n <= 0) {
        if (n < 0 && errno == EINTR) continue;
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    return done;
  }

  std::uint64_t Seek(std::int64_t offset, SeekOrigin origin) override {
    const int whence = origin == SeekOrigin::Begin ? SEEK_SET
                       : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    const off_t at = ::lseek(fd_, static_cast<off_t>(offset), whence);
    if (at < 0) Fail(oserror::InvalidParameter);
    return static_cast<std::uint64_t>(at);
  }

  std::uint64_t Size() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) Fail(oserror::InvalidHandle);
    return static_cast<std::uint64_t>(st.st_size);
  }

  void Truncate() override {
    const off_t at = ::lseek(fd_, 0, SEEK_CUR);
    if (at < 0 || ::ftruncate(fd_, at) != 0) Fail(errno == ENOSPC ? oserror::DiskFull : oserror::AccessDenied);
  }

  void Flush() override {
    if (::fdatasync(fd_) != 0) Fail(errno == ENOSPC ? oserror::DiskFull : oserror::WriteFault);
  }

 private:
  [[noreturn]] void Fail(std::uint32_t code) const {
    throw EOSError(code, files_.ErrorMessage(code));
  }

  int fd_;
  PosixFileSystem::ShareTable::Key key_;
  std::uint64_t id_;
  const PosixFileSystem& files_;
};

class PosixListing : public IDirectoryListing {
 public:
  PosixListing(std::string folder, std::vector<std::string> names)
      : folder_(std::move(folder)), names_(std::move(names)) {}

  bool Next(DirEntry& entry) override {
    while (next_ < names_.size()) {
      const std::string& name = names_[next_++];
      const std::string path = folder_ == "/" ? "/" + name : folder_ + "/" + name;
      struct stat st;
      if (::stat(path.c_str(), &st) != 0) continue;  // gone since the folder was read
      entry.name = Utf8ToUtf16(name);
      entry.attributes = AttributesOf(path, st);
      entry.size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
      entry.lastWriteTime = ToFileTime(st.st_mtim);
      return true;
    }
    return false;
  }

 private:
  std::string folder_;
  std::vector<std::string> names_;
  std::size_t next_ = 0;
};

class EmptyListing : public IDirectoryListing {
 public:
  bool Next(DirEntry&) override { return false; }
};

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};

}  // namespace

PosixFileSystem::PosixFileSystem() { drives_[u'Z'] = ""; }
PosixFileSystem::~PosixFileSystem() = default;

void PosixFileSystem::MapDrive(char16_t letter, const std::string& folder) {
  std::string root = folder;
  while (!root.empty() && root.back() == '/') root.pop_back();
  drives_[SimpleUpper(letter)] = root;
}

std::string PosixFileSystem::ToPosix(const std::u16string& windowsPath) const {
  std::u16string_view p = windowsPath;
  if (p.substr(0, 4) == u"\\\\?\\") p.remove_prefix(4);

  std::string current;
  if (p.size() >= 2 && p[1] == u':') {
    const auto it = drives_.find(SimpleUpper(p[0]));
    current = it != drives_.end() ? it->second : "/nonexistent-drive";
    p.remove_prefix(2);
  } else if (p.empty() || !IsSeparator(p[0])) {
    char cwd[PATH_MAX];
    current = ::getcwd(cwd, sizeof cwd) ? cwd : "";
    if (current == "/") current.clear();
  }

  std::vector<std::u16string> parts;
  std::size_t start = 0;
  while (start <= p.size()) {
    std::size_t end = start;
    while (end < p.size() && !IsSeparator(p[end])) ++end;
    const std::u16string_view part = p.substr(start, end - start);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.emplace_back(part);
    }
    start = end + 1;
  }

  bool resolving = true;  // no component is missing so far
  for (const auto& part : parts) {
    const std::string exact = current + "/" + Utf16ToUtf8(part);
    if (resolving && !Exists(exact)) {
      std::unique_ptr<DIR, DirCloser> dir(::opendir(current.empty() ? "/" : current.c_str()));
      std::string found;
      const std::u16string wanted = SimpleUpper(part);
      while (dir) {
        const dirent* e = ::readdir(dir.get());
        if (!e) break;
        if (SimpleUpper(Utf8ToUtf16(e->d_name)) == wanted) {
          found = e->d_name;
          break;
        }
      }
      if (found.empty()) {
        resolving = false;
        current = exact;
      } else {
        current += "/" + found;
      }
    } else {
      current = exact;
    }
  }
  return current.empty() ? "/" : current;
}

std::u16string PosixFileSystem::ToWindows(const std::string& posixPath) const {
  char16_t bestLetter = u'Z';
  std::size_t bestLength = 0;
  bool found = false;
  for (const auto& [letter, root] : drives_) {
    const bool under = posixPath.compare(0, root.size(), root) == 0 &&
                       (posixPath.size() == root.size() || posixPath[root.size()] == '/');
    if (under && (!found || root.size() > bestLength)) {
      bestLetter = letter;
      bestLength = root.size();
      found = true;
    }
  }
  std::u16string rest = Utf8ToUtf16(posixPath.substr(bestLength));
  std::replace(rest.begin(), rest.end(), u'/', u'\\');
  if (rest.empty()) rest.push_back(u'\\');
  return std::u16string(1, bestLetter) + u":" + rest;
}

std::uint32_t PosixFileSystem::ErrnoToCode(int error, const std::string& posixPath) const {
  switch (error) {
    case ENOENT: return IsDirectory(ParentOf(posixPath)) ? oserror::FileNotFound : oserror::PathNotFound;
    case ENOTDIR: return oserror::PathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return oserror::AccessDenied;
    case EEXIST: return oserror::FileExists;
    case ENOSPC:
    case EDQUOT: return oserror::DiskFull;
    case EMFILE:
    case ENFILE: return oserror::TooManyOpenFiles;
    case ENAMETOOLONG: return oserror::FilenameTooLong;
    case EBUSY:
    case ETXTBSY: return oserror::SharingViolation;
    case ENOTEMPTY: return oserror::DirNotEmpty;
    case ENOMEM: return oserror::NotEnoughMemory;
    default: return oserror::AccessDenied;
  }
}

void PosixFileSystem::Fail(std::uint32_t code) const { throw EOSError(code, ErrorMessage(code)); }

void PosixFileSystem::FailErrno(int error, const std::string& posixPath) const {
  Fail(ErrnoToCode(error, posixPath));
}

std::unique_ptr<IDirectoryListing> PosixFileSystem::List(const std::u16string& pattern) const {
  std::size_t cut = pattern.size();
  while (cut > 0 && !IsSeparator(pattern[cut - 1]) && pattern[cut - 1] != u':') --cut;
  const std::u16string namePattern = pattern.substr(cut);
  if (namePattern.empty()) return std::make_unique<EmptyListing>();
  const std::string folder = ToPosix(cut == 0 ? u"." : pattern.substr(0, cut));

  std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
  if (!dir) return std::make_unique<EmptyListing>();
  std::vector<std::string> names;
  while (const dirent* e = ::readdir(dir.get())) {
    if (MatchesWildcard(Utf8ToUtf16(e->d_name), namePattern)) names.emplace_back(e->d_name);
  }
  // NTFS lists a folder in the order of its upper-cased names; so do we, for stable results.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const auto ua = SimpleUpper(Utf8ToUtf16(a)), ub = SimpleUpper(Utf8ToUtf16(b));
    return ua != ub ? ua < ub : a < b;
  });
  return std::make_unique<PosixListing>(folder, std::move(names));
}

std::optional<std::uint32_t> PosixFileSystem::GetAttributes(const std::u16string& path) const {
  const std::string p = ToPosix(path);
  struct stat st;
  if (!Exists(p, &st)) return std::nullopt;
  return AttributesOf(p, st);
}

void PosixFileSystem::SetAttributes(const std::u16string& path, std::uint32_t attributes) {
  const std::string p = ToPosix(path);
  struct stat st;
  if (!Exists(p, &st)) FailErrno(ENOENT, p);
  const mode_t mode = (attributes & fileattr::ReadOnly) ? (st.st_mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH))
                                                        : (st.st_mode | S_IWUSR);
  if (::chmod(p.c_str(), mode & 07777) != 0) FailErrno(errno, p);
  const std::string value = std::to_string(attributes & StoredBits);
  if (::setxattr(p.c_str(), AttributeXattr, value.data(), value.size(), 0) != 0) FailErrno(errno, p);
}

std::unique_ptr<IFile> PosixFileSystem::Open(const std::u16string& path, FileAccess access,
                                             unsigned share, FileDisposition disposition) {
  const std::string p = ToPosix(path);
  auto& table = ShareTable::Instance();
  struct stat st;
  const bool exists = Exists(p, &st);
  if (exists) {
    if (S_ISDIR(st.st_mode)) Fail(oserror::AccessDenied);
    if (disposition == FileDisposition::CreateNew) Fail(oserror::FileExists);
    if (WritesData(access) && !(st.st_mode & S_IWUSR)) Fail(oserror::AccessDenied);
    if (ReadsData(access) && !(st.st_mode & S_IRUSR)) Fail(oserror::AccessDenied);
  } else if (disposition == FileDisposition::OpenExisting) {
    FailErrno(ENOENT, p);
  }

  std::uint64_t id = 0;
  ShareTable::Key key{};
  if (exists) {
    key = {st.st_dev, st.st_ino};
    // Checked before the file is opened, so that a refused CreateAlways empties nothing.
    if (!table.Acquire(key, access, share, id)) Fail(oserror::SharingViolation);
  }

  int flags = O_CLOEXEC | (access == FileAccess::Read ? O_RDONLY
                           : access == FileAccess::Write ? O_WRONLY : O_RDWR);
  if (disposition == FileDisposition::CreateAlways) flags |= O_CREAT | O_TRUNC;
  if (disposition == FileDisposition::CreateNew) flags |= O_CREAT | O_EXCL;
  const int fd = ::open(p.c_str(), flags, 0644);
  if (fd < 0) {
    const int error = errno;
    if (exists) table.Release(key, id);
    FailErrno(error, p);
  }
  if (!exists) {
    struct stat created;
    ::fstat(fd, &created);
    key = {created.st_dev, created.st_ino};
    if (!table.Acquire(key, access, share, id)) {
      ::close(fd);
      Fail(oserror::SharingViolation);
    }
  }
  return std::make_unique<PosixFile>(fd, key, id, *this);
}

bool PosixFileSystem::RemoveFile(const std::u16string& path) noexcept {
  try {
    const std::string p = ToPosix(path);
    struct stat st;
    if (!Exists(p, &st) || S_ISDIR(st.st_mode) || !(st.st_mode & S_IWUSR)) return false;
    if (!ShareTable::Instance().MayDelete({st.st_dev, st.st_ino})) return false;
    return ::unlink(p.c_str()) == 0;
  } catch (...) {
    return false;
  }
}

void PosixFileSystem::MakeDirectory(const std::u16string& path) {
  const std::string p = ToPosix(path);
  if (Exists(p)) Fail(oserror::AlreadyExists);
  if (::mkdir(p.c_str(), 0755) != 0) {
    if (errno == EEXIST) Fail(oserror::AlreadyExists);
    FailErrno(errno == ENOENT ? ENOTDIR : errno, p);
  }
}

void PosixFileSystem::Rename(const std::u16string& from, const std::u16string& to,
                             bool replaceExisting) {
  const std::string source = ToPosix(from);
  const std::string target = ToPosix(to);
  struct stat st;
  if (!Exists(source, &st)) FailErrno(ENOENT, source);
  auto& table = ShareTable::Instance();
  if (!table.MayDelete({st.st_dev, st.st_ino})) Fail(oserror::SharingViolation);
  struct stat old;
  if (Exists(target, &old)) {
    if (!replaceExisting) Fail(oserror::AlreadyExists);
    if (S_ISDIR(old.st_mode) || !(old.st_mode & S_IWUSR)) Fail(oserror::AccessDenied);
    if (!table.MayDelete({old.st_dev, old.st_ino})) Fail(oserror::SharingViolation);
  }
  if (::rename(source.c_str(), target.c_str()) != 0) FailErrno(errno, target);
}

std::u16string PosixFileSystem::CreateTemporaryFile(const std::u16string& folder,
                                                    const std::u16string& prefix) {
  const std::string dir = ToPosix(folder);
  if (!IsDirectory(dir)) Fail(oserror::Directory);
  const std::string head = Utf16ToUtf8(prefix.substr(0, 3));
  static unsigned counter = static_cast<unsigned>(::getpid());
  for (int attempt = 0; attempt < 0x10000; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "%X.tmp", ++counter & 0xFFFF);
    const std::string path = dir + "/" + head + name;
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
    if (fd >= 0) {
      ::close(fd);
      return ToWindows(path);
    }
    if (errno != EEXIST) FailErrno(errno, path);
  }
  Fail(oserror::FileExists);
}

std::u16string PosixFileSystem::TemporaryFolder() const {
  const char* tmp = std::getenv("TMPDIR");
  std::u16string folder = ToWindows(tmp && *tmp ? tmp : "/tmp");
  if (folder.back() != u'\\') folder += u'\\';
  return folder;
}

std::u16string PosixFileSystem::CurrentDirectory() const {
  char cwd[PATH_MAX];
  return ToWindows(::getcwd(cwd, sizeof cwd) ? cwd : "/");
}

std::string PosixFileSystem::LibraryPath(const std::u16string& path) const { return ToPosix(path); }

std::string PosixFileSystem::ErrorMessage(std::uint32_t code) const {
  const auto& table = MessageTable();
  const auto it = table.find(code);
  return it != table.end() ? it->second : "Error " + std::to_string(code);
}

}  // namespace qvn::platform::posix

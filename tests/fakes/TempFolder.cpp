#include "tests/fakes/TempFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace qvn::testing {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "qvn-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  posix_ = pattern;
  files_.MapDrive(u'C', posix_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // Read-only entries are made writable first, so that nothing is left behind.
  for (auto it = fs::recursive_directory_iterator(posix_, ec); it != fs::recursive_directory_iterator(); it.increment(ec))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(posix_, ec);
}

void TempFolder::Write(const std::string& relative, const std::string& content) const {
  const fs::path path = fs::path(posix_) / relative;
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string TempFolder::Read(const std::string& relative) const {
  std::ifstream in(fs::path(posix_) / relative, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + relative);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool TempFolder::Exists(const std::string& relative) const {
  return fs::exists(fs::path(posix_) / relative);
}

void TempFolder::MakeFolder(const std::string& relative) const {
  fs::create_directories(fs::path(posix_) / relative);
}

}  // namespace qvn::testing

#pragma once
// A fresh folder for one test, removed with everything in it when the test ends, and a
// POSIX file system that shows it as drive C:, so that tests work with Windows paths.

#include <string>

#include "platform/posix/PosixFileSystem.h"

namespace qvn::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder on the POSIX side.
  const std::string& Posix() const { return posix_; }
  // The file system with this folder as drive C:.
  platform::posix::PosixFileSystem& Files() { return files_; }

  // Writes a file (creating its folders), given a path below the folder ("a/b.txt").
  void Write(const std::string& relative, const std::string& content) const;
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;
  void MakeFolder(const std::string& relative) const;

 private:
  std::string posix_;
  platform::posix::PosixFileSystem files_;
};

}  // namespace qvn::testing

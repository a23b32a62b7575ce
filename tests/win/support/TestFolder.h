#pragma once
// A fresh folder beside the test executable for one test, removed with everything in it
// (read-only entries included) when the test ends.

#include <string>

namespace qvn::testing {

class TestFolder {
 public:
  // Creates "<test folder>\<name>-<process id>-<n>". Raises std::runtime_error on failure.
  explicit TestFolder(const std::string& name);
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // The folder, without a trailing separator.
  const std::u16string& Path() const { return path_; }
  // The path of an entry in the folder ("a.txt", or "sub\b.txt").
  std::u16string operator/(const std::u16string& relative) const { return path_ + u'\\' + relative; }
  // The same, in ANSI text, for names that the ANSI code page can hold.
  std::string Ansi(const std::string& relative = {}) const;

 private:
  std::u16string path_;
};

}  // namespace qvn::testing

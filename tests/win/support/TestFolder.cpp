#include "tests/win/support/TestFolder.h"

#include <stdexcept>

#include "platform/win32/WinApi.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Text.h"
#include "tests/win/support/ChildProcess.h"

namespace qvn::testing {

namespace {

using platform::win32::FromWide;
using platform::win32::ToWide;

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileW(path.c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

TestFolder::TestFolder(const std::string& name) {
  static int counter = 0;
  const std::string folder = TestExecutableFolder() + name + "-" +
                             std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
  const std::wstring wide = ToWide(platform::win32::Win32Text().AnsiToWide(folder));
  RemoveTree(wide);
  if (!CreateDirectoryW(wide.c_str(), nullptr))
    throw std::runtime_error("cannot create " + folder);
  path_ = FromWide(wide);
}

TestFolder::~TestFolder() { RemoveTree(ToWide(path_)); }

std::string TestFolder::Ansi(const std::string& relative) const {
  const std::string folder = platform::win32::Win32Text().WideToAnsi(path_);
  return relative.empty() ? folder : folder + "\\" + relative;
}

}  // namespace qvn::testing

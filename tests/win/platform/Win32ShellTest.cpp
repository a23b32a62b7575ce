#include "platform/win32/Win32Shell.h"

#include <gtest/gtest.h>

#include "platform/win32/WinApi.h"

namespace qvn {
namespace {

TEST(Win32ShellTest, ExecutablePathNamesThisProgram) {
  const std::string path = platform::win32::Win32Shell().ExecutablePath();
  const std::string name = "\\win_platform_tests.exe";
  ASSERT_GT(path.size(), name.size());
  EXPECT_EQ(path.substr(path.size() - name.size()), name);
  EXPECT_EQ(path[1], ':');
  EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32ShellTest, PersonalFolderIsAnExistingFolder) {
  // The shell's own form is kept (the application drops a trailing separator itself).
  const std::string folder = platform::win32::Win32Shell().PersonalFolder(0);
  ASSERT_GT(folder.size(), 3u);
  EXPECT_EQ(folder[1], ':') << folder;
  EXPECT_LT(folder.size(), static_cast<std::size_t>(MAX_PATH));
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << folder;
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
}  // namespace qvn

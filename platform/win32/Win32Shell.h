#pragma once
// The running program's own path and the user's Documents folder, from the shell.

#include "platform/Shell.h"

namespace qvn::platform::win32 {

class Win32Shell : public IShell {
 public:
  std::string ExecutablePath() const override;
  // Raises EOSError when the shell has no such folder (its HRESULT is the code) or the
  // folder has no file-system path (PathNotFound).
  std::string PersonalFolder(WindowHandle owner) const override;
};

}  // namespace qvn::platform::win32

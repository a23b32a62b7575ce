#pragma once
// The shell's knowledge of the running program and the user's folders.

#include <string>

#include "platform/Types.h"

namespace qvn::platform {

class IShell {
 public:
  virtual ~IShell() = default;
  // The full path of the running executable (ANSI).
  virtual std::string ExecutablePath() const = 0;
  // The current user's personal (Documents) folder as a file-system path of at most 259
  // characters (ANSI), asked with owner as the owner window; raises EOSError on failure.
  virtual std::string PersonalFolder(WindowHandle owner) const = 0;
};

}  // namespace qvn::platform

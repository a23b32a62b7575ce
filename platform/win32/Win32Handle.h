#pragma once
// Owners of the kernel handles the platform layer opens.

#include "platform/win32/WinApi.h"

#include <memory>
#include <type_traits>

namespace qvn::platform::win32 {

struct HandleCloser {
  void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};

// A handle closed with CloseHandle. Hold only valid handles: functions that report failure
// with INVALID_HANDLE_VALUE (CreateFileW, CreateToolhelp32Snapshot) are checked before.
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

}  // namespace qvn::platform::win32

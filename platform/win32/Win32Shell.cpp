#include "platform/win32/Win32Shell.h"

#include "platform/win32/WinApi.h"
// After windows.h, which defines what they use.
#include <objbase.h>
#include <shlobj.h>

#include <memory>

#include "platform/OsError.h"
#include "platform/win32/Win32Error.h"

namespace qvn::platform::win32 {

namespace {

struct ItemListFreer {
  void operator()(ITEMIDLIST* list) const noexcept { CoTaskMemFree(list); }
};
using UniqueItemList = std::unique_ptr<ITEMIDLIST, ItemListFreer>;

// The code an HRESULT stands for: the Windows error inside a FACILITY_WIN32 result, the
// HRESULT itself otherwise (the system has message texts for both).
std::uint32_t ErrorCodeOf(HRESULT result) {
  if (HRESULT_FACILITY(result) == FACILITY_WIN32) return HRESULT_CODE(result);
  return static_cast<std::uint32_t>(result);
}

}  // namespace

std::string Win32Shell::ExecutablePath() const {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) RaiseLastOSError();
    // A full buffer means the path was cut: try again with more room.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string Win32Shell::PersonalFolder(WindowHandle owner) const {
  ITEMIDLIST* found = nullptr;
  const HRESULT result =
      SHGetSpecialFolderLocation(reinterpret_cast<HWND>(owner), CSIDL_PERSONAL, &found);
  UniqueItemList list(found);
  if (FAILED(result) || !list) RaiseOSError(FAILED(result) ? ErrorCodeOf(result) : oserror::PathNotFound);
  char path[MAX_PATH] = {};
  if (!SHGetPathFromIDListA(list.get(), path)) RaiseOSError(oserror::PathNotFound);
  return path;
}

}  // namespace qvn::platform::win32

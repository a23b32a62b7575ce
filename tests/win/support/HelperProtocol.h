#pragma once
// What the helper program understands, shared by the helper and the tests that drive it.
// The helper is started with one argument, the title of its window; it answers through that
// title, which another process can read without the helper's help.

#include "platform/win32/WinApi.h"

namespace qvn::testing::helper {

// Sets the title to "echo <wParam> <lParam>" (decimal) and returns lParam + 1.
inline constexpr UINT EchoMessage = WM_APP + 1;
// Stops answering: the window's thread sleeps for HangMs inside the handler.
inline constexpr UINT HangMessage = WM_APP + 2;
inline constexpr DWORD HangMs = 60000;
// The helper ends by itself after this long, so that a failed test leaves nothing behind.
inline constexpr UINT LifetimeMs = 120000;
// On WM_STYLECHANGED for GWL_STYLE the title becomes "styles <old> <new>" (hexadecimal).

}  // namespace qvn::testing::helper

#include "platform/win32/Win32WindowManager.h"

#include "platform/win32/WinApi.h"

#include <algorithm>
#include <limits>

namespace qvn::platform::win32 {

namespace {

// How long a delivery waits for the receiving window to handle the message.
constexpr UINT DeliveryTimeoutMs = 5000;
constexpr UINT DeliveryFlags = SMTO_NORMAL | SMTO_ABORTIFHUNG;

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }

UINT GetWindowCommand(WindowRelation relation) {
  switch (relation) {
    case WindowRelation::First:
      return GW_HWNDFIRST;
    case WindowRelation::Next:
      return GW_HWNDNEXT;
    case WindowRelation::Owner:
      break;
  }
  return GW_OWNER;
}

// The result of the message is of no interest: a timeout or a closed window is the same
// quiet failure as every other call on a window that is gone.
void SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, DeliveryFlags, DeliveryTimeoutMs, &result);
}

}  // namespace

WindowHandle Win32WindowManager::Relative(WindowHandle window, WindowRelation relation) const {
  return FromHwnd(GetWindow(ToHwnd(window), GetWindowCommand(relation)));
}

bool Win32WindowManager::IsVisible(WindowHandle window) const {
  return IsWindowVisible(ToHwnd(window)) != FALSE;
}

std::string Win32WindowManager::Title(WindowHandle window, std::size_t bufferSize) const {
  const auto size = static_cast<int>(
      std::min<std::size_t>(bufferSize, static_cast<std::size_t>(std::numeric_limits<int>::max())));
  if (size <= 0) return {};
  std::string title(static_cast<std::size_t>(size), '\0');
  const int length = GetWindowTextA(ToHwnd(window), title.data(), size);
  title.resize(static_cast<std::size_t>(std::clamp(length, 0, size - 1)));
  return title;
}

std::uint32_t Win32WindowManager::Style(WindowHandle window) const {
  return static_cast<std::uint32_t>(GetWindowLongA(ToHwnd(window), GWL_STYLE));
}

void Win32WindowManager::SetStyle(WindowHandle window, std::uint32_t style) {
  SetWindowLongA(ToHwnd(window), GWL_STYLE, static_cast<LONG>(style));
}

ScreenSize Win32WindowManager::PrimaryScreenSize() const {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void Win32WindowManager::PlaceOnTop(WindowHandle window, int left, int top, int width,
                                    int height) {
  SetWindowPos(ToHwnd(window), HWND_TOP, left, top, width, height, 0);
}

void Win32WindowManager::Deliver(WindowHandle window, std::uint32_t message,
                                 std::uintptr_t wParam, std::intptr_t lParam) {
  SendBounded(ToHwnd(window), message, wParam, lParam);
}

void Win32WindowManager::DeliverStyleChanged(WindowHandle window, std::int32_t styleIndex,
                                             std::uint32_t oldStyle, std::uint32_t newStyle) {
  STYLESTRUCT styles{oldStyle, newStyle};
  // The index is sign-extended into wParam, as the system itself passes GWL_STYLE (-16).
  SendBounded(ToHwnd(window), WM_STYLECHANGED, static_cast<WPARAM>(static_cast<INT_PTR>(styleIndex)),
              reinterpret_cast<LPARAM>(&styles));
}

}  // namespace qvn::platform::win32

// A stand-in for the game client: one visible top-level window, a message loop, and the
// answers of HelperProtocol.h.

#include <cstdio>
#include <cstdlib>

#include "tests/win/support/HelperProtocol.h"

namespace {

using namespace qvn::testing::helper;

constexpr UINT_PTR LifetimeTimer = 1;

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  char title[96];
  switch (message) {
    case EchoMessage:
      std::snprintf(title, sizeof title, "echo %llu %lld", static_cast<unsigned long long>(wParam),
                    static_cast<long long>(lParam));
      SetWindowTextA(window, title);
      return lParam + 1;
    case HangMessage:
      Sleep(HangMs);
      return 0;
    case WM_STYLECHANGED:
      if (static_cast<int>(wParam) == GWL_STYLE) {
        const auto* styles = reinterpret_cast<const STYLESTRUCT*>(lParam);
        std::snprintf(title, sizeof title, "styles %08lx %08lx",
                      static_cast<unsigned long>(styles->styleOld),
                      static_cast<unsigned long>(styles->styleNew));
        SetWindowTextA(window, title);
      }
      return 0;
    case WM_TIMER:
      if (wParam == LifetimeTimer) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HelperProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "QvnClientHelper";
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, commandLine, WS_OVERLAPPEDWINDOW,
                                10, 10, 320, 200, nullptr, nullptr, instance, nullptr);
  if (!window) return 2;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  SetTimer(window, LifetimeTimer, LifetimeMs, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

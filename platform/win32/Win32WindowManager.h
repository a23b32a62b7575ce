#pragma once
// Top-level windows through the user32 functions. Messages are delivered with a time limit
// and given up on a window whose thread has stopped answering.

#include "platform/WindowManager.h"

namespace qvn::platform::win32 {

class Win32WindowManager : public IWindowManager {
 public:
  WindowHandle Relative(WindowHandle window, WindowRelation relation) const override;
  bool IsVisible(WindowHandle window) const override;
  std::string Title(WindowHandle window, std::size_t bufferSize) const override;
  std::uint32_t Style(WindowHandle window) const override;
  void SetStyle(WindowHandle window, std::uint32_t style) override;
  ScreenSize PrimaryScreenSize() const override;
  void PlaceOnTop(WindowHandle window, int left, int top, int width, int height) override;
  void Deliver(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
               std::intptr_t lParam) override;
  void DeliverStyleChanged(WindowHandle window, std::int32_t styleIndex, std::uint32_t oldStyle,
                           std::uint32_t newStyle) override;
};

}  // namespace qvn::platform::win32

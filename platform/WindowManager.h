#pragma once
// Top-level windows of the desktop, as the game-window functions need them. Calls on a
// handle that names no window fail quietly (0, false or empty results; no effect).

#include <cstdint>
#include <string>

#include "platform/Types.h"

namespace qvn::platform {

enum class WindowRelation {
  First,  // the first window in Z order among the given window's siblings
  Next,   // the next window below in Z order, 0 after the last
  Owner,  // the owner window, 0 for an unowned window
};

struct ScreenSize {
  int width = 0;
  int height = 0;
};

class IWindowManager {
 public:
  virtual ~IWindowManager() = default;
  virtual WindowHandle Relative(WindowHandle window, WindowRelation relation) const = 0;
  // True when the window has the visible state; a minimised window counts as visible.
  virtual bool IsVisible(WindowHandle window) const = 0;
  // The title as ANSI text, cut to bufferSize - 1 characters (a buffer of bufferSize
  // characters including the terminator); empty for an empty title or a failure.
  virtual std::string Title(WindowHandle window, std::size_t bufferSize) const = 0;
  virtual std::uint32_t Style(WindowHandle window) const = 0;
  virtual void SetStyle(WindowHandle window, std::uint32_t style) = 0;
  // Width and height of the primary display in pixels.
  virtual ScreenSize PrimaryScreenSize() const = 0;
  // Moves and sizes the window, raises it to the top of the Z order and activates it
  // (insert-after HWND_TOP, no flags).
  virtual void PlaceOnTop(WindowHandle window, int left, int top, int width, int height) = 0;
  // Delivers a message without pointer arguments and waits until it is handled, for at most
  // a few seconds, so that a window that has stopped answering cannot hold the caller.
  virtual void Deliver(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) = 0;
  // Delivers WM_STYLECHANGED with wParam styleIndex and a STYLESTRUCT {oldStyle, newStyle},
  // bounded in time like Deliver.
  virtual void DeliverStyleChanged(WindowHandle window, std::int32_t styleIndex,
                                   std::uint32_t oldStyle, std::uint32_t newStyle) = 0;
};

}  // namespace qvn::platform

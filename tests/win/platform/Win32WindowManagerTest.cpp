#include "platform/win32/Win32WindowManager.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/WinApi.h"
#include "tests/win/support/ChildProcess.h"
#include "tests/win/support/HelperProtocol.h"

namespace qvn {
namespace {

using platform::WindowHandle;
using platform::WindowRelation;
namespace helper = testing::helper;

WindowHandle Handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// A window of this process, destroyed with the object.
class OwnWindow {
 public:
  OwnWindow(const std::string& title, bool visible, HWND owner = nullptr) {
    static const ATOM windowClass = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "QvnWindowManagerTest";
      return RegisterClassA(&wc);
    }();
    window_ = CreateWindowExA(0, MAKEINTATOM(windowClass), title.c_str(),
                              WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 50, 50, 300, 200,
                              owner, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~OwnWindow() {
    if (window_) DestroyWindow(window_);
  }
  OwnWindow(const OwnWindow&) = delete;
  OwnWindow& operator=(const OwnWindow&) = delete;

  HWND Get() const { return window_; }
  WindowHandle Handle() const { return reinterpret_cast<WindowHandle>(window_); }
  void Destroy() {
    DestroyWindow(window_);
    window_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
};

class Win32WindowManagerTest : public ::testing::Test {
 protected:
  platform::win32::Win32WindowManager windows;
};

TEST_F(Win32WindowManagerTest, VisibilityOwnersAndTheZOrderWalk) {
  OwnWindow visible("qvn visible", true);
  OwnWindow hidden("qvn hidden", false);
  OwnWindow owned("qvn owned", true, visible.Get());
  ASSERT_TRUE(visible.Get() && hidden.Get() && owned.Get());

  EXPECT_TRUE(windows.IsVisible(visible.Handle()));
  EXPECT_FALSE(windows.IsVisible(hidden.Handle()));
  EXPECT_TRUE(windows.IsVisible(owned.Handle()));
  EXPECT_EQ(windows.Relative(owned.Handle(), WindowRelation::Owner), visible.Handle());
  EXPECT_EQ(windows.Relative(visible.Handle(), WindowRelation::Owner), 0u);

  // From the first top-level window down, every one of ours is met once, and the walk ends.
  int met = 0;
  int steps = 0;
  for (WindowHandle w = windows.Relative(hidden.Handle(), WindowRelation::First); w != 0 && steps < 10000;
       w = windows.Relative(w, WindowRelation::Next), ++steps)
    met += (w == visible.Handle()) + (w == hidden.Handle()) + (w == owned.Handle());
  EXPECT_EQ(met, 3);
  EXPECT_LT(steps, 10000);
}

TEST_F(Win32WindowManagerTest, TitlesAreCutToTheBuffer) {
  std::string longTitle;
  for (int i = 0; i < 200; ++i) longTitle += static_cast<char>('A' + i % 26);
  OwnWindow window(longTitle, true);
  OwnWindow russian("Кворвейн - Client", true);

  EXPECT_EQ(windows.Title(window.Handle(), 128), longTitle.substr(0, 127));
  EXPECT_EQ(windows.Title(window.Handle(), 1000), longTitle);
  EXPECT_EQ(windows.Title(window.Handle(), 1), "");
  EXPECT_EQ(windows.Title(window.Handle(), 0), "");
  EXPECT_EQ(windows.Title(russian.Handle(), 128), "Кворвейн - Client");

  const WindowHandle gone = window.Handle();
  window.Destroy();
  EXPECT_EQ(windows.Title(gone, 128), "");
  EXPECT_FALSE(windows.IsVisible(gone));
}

TEST_F(Win32WindowManagerTest, StylesAndPlacement) {
  OwnWindow window("qvn styled", true);
  const std::uint32_t style = windows.Style(window.Handle());
  EXPECT_EQ(style & WS_CAPTION, static_cast<std::uint32_t>(WS_CAPTION));
  const std::uint32_t bare = style & ~static_cast<std::uint32_t>(WS_CAPTION | WS_THICKFRAME);
  windows.SetStyle(window.Handle(), bare);
  EXPECT_EQ(windows.Style(window.Handle()), bare);

  HDC screen = GetDC(nullptr);
  const platform::ScreenSize size = windows.PrimaryScreenSize();
  EXPECT_EQ(size.width, GetDeviceCaps(screen, HORZRES));
  EXPECT_EQ(size.height, GetDeviceCaps(screen, VERTRES));
  ReleaseDC(nullptr, screen);

  windows.PlaceOnTop(window.Handle(), 0, 0, size.width, size.height);
  RECT rect{};
  ASSERT_TRUE(GetWindowRect(window.Get(), &rect));
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, size.width);
  EXPECT_EQ(rect.bottom, size.height);
  EXPECT_EQ(windows.Relative(window.Handle(), WindowRelation::First), window.Handle());
}

class Win32DeliveryTest : public Win32WindowManagerTest {
 protected:
  void SetUp() override {
    child_ = std::make_unique<testing::ChildProcess>("WindowHelper.exe", title_);
    window_ = testing::ChildProcess::WaitForWindow(title_, 20000);
    ASSERT_NE(window_, nullptr) << "the helper's window did not appear";
  }
  WindowHandle Window() const { return Handle(window_); }

  const std::string title_ = "qvn delivery " + std::to_string(GetCurrentProcessId());
  std::unique_ptr<testing::ChildProcess> child_;
  HWND window_ = nullptr;
};

TEST_F(Win32DeliveryTest, MessagesReachAWindowOfAnotherProcess) {
  windows.Deliver(Window(), helper::EchoMessage, 7, -3);
  EXPECT_EQ(windows.Title(Window(), 128), "echo 7 -3");

  windows.DeliverStyleChanged(Window(), GWL_STYLE, 0x14CF0000u, 0x04000000u);
  EXPECT_EQ(windows.Title(Window(), 128), "styles 14cf0000 04000000");
}

TEST_F(Win32DeliveryTest, AWindowThatStopsAnsweringCannotHoldTheCaller) {
  ASSERT_TRUE(PostMessageA(window_, helper::HangMessage, 0, 0));
  Sleep(500);  // let the helper take the message and stop
  const ULONGLONG start = GetTickCount64();
  windows.Deliver(Window(), helper::EchoMessage, 1, 1);
  windows.DeliverStyleChanged(Window(), GWL_STYLE, 0, 0);
  const ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_LT(elapsed, 12000u);  // two deliveries of at most about five seconds each
  EXPECT_EQ(windows.Title(Window(), 128), title_);
}

TEST_F(Win32WindowManagerTest, DeliveryToNoWindowReturnsAtOnce) {
  const ULONGLONG start = GetTickCount64();
  windows.Deliver(0, helper::EchoMessage, 0, 0);
  windows.DeliverStyleChanged(0, GWL_STYLE, 0, 0);
  EXPECT_LT(GetTickCount64() - start, 1000u);
}

}  // namespace
}  // namespace qvn

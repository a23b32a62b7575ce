#pragma once
// The running game client's main window: found once at start-up by a fragment of its title,
// and made borderless and screen-sized on request.

#include <string>

#include "platform/WindowManager.h"

namespace qvn::gameclient {

// Title fragments of the game window, in the order they are tried (ANSI).
inline constexpr const char* EnglishTitleFragment = "Quorvane";
inline constexpr const char* RussianTitleFragment = "Кворвейн";

// Walks the top-level windows from the top of the Z order (starting from the first sibling
// of ownWindow) and returns the first visible, unowned window other than
// applicationWindow whose title (its first 127 characters) contains fragment,
// case-sensitively; 0 when there is none.
platform::WindowHandle FindGameWindow(const platform::IWindowManager& windows,
                                      platform::WindowHandle ownWindow,
                                      platform::WindowHandle applicationWindow,
                                      const std::string& fragment);

// Strips the caption and the sizing frame from window and stretches it over the primary
// screen, raising it to the top. Does nothing, silently, unless window still names a visible
// window whose title contains one of the two fragments (a closed game's handle may have
// been given to another window since).
void MakeBorderlessFullScreen(platform::IWindowManager& windows, platform::WindowHandle window);

}  // namespace qvn::gameclient

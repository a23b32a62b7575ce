#pragma once
// Modal message boxes and the shell's folder-browsing dialog.

#include <optional>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace qvn::platform {

enum class MessageKind { Warning, Error, Information, Confirmation };

enum class DialogButton {
  Closed,  // no button: the box was closed by its close box or the system menu
  Ok,
  Cancel,
  Yes,
  No,
  Abort,
  Retry,
  Ignore,
};

struct MessageBoxRequest {
  std::string caption;  // ANSI
  std::string text;     // ANSI; lines joined by CR LF
  MessageKind kind = MessageKind::Information;  // decides the icon
  std::vector<DialogButton> buttons;             // left to right; never Closed
  DialogButton defaultButton = DialogButton::Ok;  // the button that has the focus at first
  // The button that Escape presses, or Closed when Escape does nothing.
  DialogButton escapeButton = DialogButton::Closed;
};

class IMessageBoxes {
 public:
  virtual ~IMessageBoxes() = default;
  // Shows a modal box centred on the screen; other windows of the program take no input until
  // it closes, while timers go on ticking. Returns the button pressed, or Closed.
  virtual DialogButton Show(const MessageBoxRequest& request) = 0;
};

struct FolderBrowseRequest {
  WindowHandle owner = 0;      // disabled while the dialog is open; the dialog is placed
                               // 20 pixels right of and below its top-left corner
  std::string title;           // shown above the folder tree (ANSI)
  std::string initialFolder;   // selected when the dialog opens (ANSI)
};

class IFolderBrowser {
 public:
  virtual ~IFolderBrowser() = default;
  // Shows the shell's folder-browsing dialog (tree from the desktop, resizable, with a
  // new-folder button and no edit box) and returns the chosen folder's file-system path:
  // no trailing separator, except that a drive root keeps its "\". Nothing when the user
  // cancels, confirms an item without a file-system path, or the dialog fails.
  virtual std::optional<std::string> Browse(const FolderBrowseRequest& request) = 0;
};

}  // namespace qvn::platform

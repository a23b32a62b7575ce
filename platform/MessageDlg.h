#pragma once
// The program's message boxes: a kind (which gives the caption and the icon) and a set of
// buttons. The caption is "Warning", "Error", "Information" or "Confirm"; OK, or else Yes, is
// the default button; Escape presses Cancel, or else No, or else OK.

#include <initializer_list>
#include <string>

#include "platform/Dialogs.h"

namespace qvn::platform {

DialogButton MessageDlg(IMessageBoxes& boxes, const std::string& text, MessageKind kind,
                        std::initializer_list<DialogButton> buttons);

// Shorthands for the boxes with the OK button alone.
void ShowError(IMessageBoxes& boxes, const std::string& text);
void ShowWarning(IMessageBoxes& boxes, const std::string& text);
void ShowInformation(IMessageBoxes& boxes, const std::string& text);

// The confirmation box with Yes and No; returns the button pressed, or Closed when the box
// was closed by its close box.
DialogButton AskYesNo(IMessageBoxes& boxes, const std::string& text);

}  // namespace qvn::platform

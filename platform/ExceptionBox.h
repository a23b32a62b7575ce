#pragma once
// The application's default error box: what the user sees of an exception that leaves a
// handler, a timer tick or an activation.

#include <exception>
#include <string>

#include "platform/Dialogs.h"

namespace qvn::platform {

// The application title the program never sets itself: the executable's file name without
// its extension.
std::string ApplicationTitle(const std::string& executablePath);

// The exception's message, with a full stop appended when its last character has a higher
// character code than ".".
std::string ErrorBoxText(const std::string& message);

// Shows the box: the text above, an error icon, the OK button, the application title as
// caption.
void ShowExceptionBox(IMessageBoxes& boxes, const std::string& title, std::exception_ptr error);

}  // namespace qvn::platform

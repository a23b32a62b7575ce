#pragma once
// What the writer does about an entry that cannot be written, when no handler is assigned:
// it asks the user.

#include <string>

#include "platform/Dialogs.h"

namespace qvn {

enum class TFileExceptionAction {
  fxaRetry = 0,   // write the entry again
  fxaIgnore = 1,  // leave it out and go on
  fxaAbort = 2,   // abandon the whole update and roll it back
};

// Shows the confirmation box for a failure of code with its full message: for code 61 the
// message itself with "&Abort" and "&Ignore"; for every other code "<message>. File
// processing error, possibly disk is full" with "&Abort", "&Retry" and "&Ignore", Retry the
// default. Retry and Ignore give their actions; Abort, or closing the box, gives fxaAbort.
TFileExceptionAction AskFileFailure(platform::IMessageBoxes& boxes, int code,
                                    const std::string& message);

}  // namespace qvn

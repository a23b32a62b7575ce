#include "backup/FileFailureBox.h"

#include "backup/ZipWriterError.h"
#include "platform/MessageDlg.h"

namespace qvn {

TFileExceptionAction AskFileFailure(platform::IMessageBoxes& boxes, int code,
                                    const std::string& message) {
  using platform::DialogButton;
  const DialogButton answer =
      code == zipcode::NameTooLong
          ? platform::MessageDlg(boxes, message, platform::MessageKind::Confirmation,
                                 {DialogButton::Abort, DialogButton::Ignore})
          : platform::MessageDlg(boxes, message + ". File processing error, possibly disk is full",
                                 platform::MessageKind::Confirmation,
                                 {DialogButton::Abort, DialogButton::Retry, DialogButton::Ignore});
  switch (answer) {
    case DialogButton::Retry: return TFileExceptionAction::fxaRetry;
    case DialogButton::Ignore: return TFileExceptionAction::fxaIgnore;
    default: return TFileExceptionAction::fxaAbort;
  }
}

}  // namespace qvn

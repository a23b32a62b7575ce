#include "platform/MessageDlg.h"

#include <algorithm>

namespace qvn::platform {

namespace {

const char* CaptionOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning: return "Warning";
    case MessageKind::Error: return "Error";
    case MessageKind::Information: return "Information";
    case MessageKind::Confirmation: return "Confirm";
  }
  return "";
}

}  // namespace

DialogButton MessageDlg(IMessageBoxes& boxes, const std::string& text, MessageKind kind,
                        std::initializer_list<DialogButton> buttons) {
  const auto has = [&](DialogButton b) {
    return std::find(buttons.begin(), buttons.end(), b) != buttons.end();
  };
  MessageBoxRequest request;
  request.caption = CaptionOf(kind);
  request.text = text;
  request.kind = kind;
  request.buttons.assign(buttons.begin(), buttons.end());
  if (has(DialogButton::Ok)) request.defaultButton = DialogButton::Ok;
  else if (has(DialogButton::Yes)) request.defaultButton = DialogButton::Yes;
  else if (has(DialogButton::Retry)) request.defaultButton = DialogButton::Retry;
  else request.defaultButton = request.buttons.empty() ? DialogButton::Closed : request.buttons.front();

  if (has(DialogButton::Cancel)) request.escapeButton = DialogButton::Cancel;
  else if (has(DialogButton::No)) request.escapeButton = DialogButton::No;
  else if (has(DialogButton::Ok)) request.escapeButton = DialogButton::Ok;
  else request.escapeButton = DialogButton::Closed;
  return boxes.Show(request);
}

void ShowError(IMessageBoxes& boxes, const std::string& text) {
  MessageDlg(boxes, text, MessageKind::Error, {DialogButton::Ok});
}

void ShowWarning(IMessageBoxes& boxes, const std::string& text) {
  MessageDlg(boxes, text, MessageKind::Warning, {DialogButton::Ok});
}

void ShowInformation(IMessageBoxes& boxes, const std::string& text) {
  MessageDlg(boxes, text, MessageKind::Information, {DialogButton::Ok});
}

DialogButton AskYesNo(IMessageBoxes& boxes, const std::string& text) {
  return MessageDlg(boxes, text, MessageKind::Confirmation, {DialogButton::Yes, DialogButton::No});
}

}  // namespace qvn::platform

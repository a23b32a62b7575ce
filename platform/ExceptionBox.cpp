#include "platform/ExceptionBox.h"

#include "platform/PathText.h"

namespace qvn::platform {

std::string ApplicationTitle(const std::string& executablePath) {
  std::string name = ExtractFileName(executablePath);
  const auto dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

std::string ErrorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + '.';
  return message;
}

void ShowExceptionBox(IMessageBoxes& boxes, const std::string& title, std::exception_ptr error) {
  std::string message;
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "Unknown exception";
  }
  MessageBoxRequest request;
  request.caption = title;
  request.text = ErrorBoxText(message);
  request.kind = MessageKind::Error;
  request.buttons = {DialogButton::Ok};
  request.defaultButton = DialogButton::Ok;
  request.escapeButton = DialogButton::Ok;
  boxes.Show(request);
}

}  // namespace qvn::platform

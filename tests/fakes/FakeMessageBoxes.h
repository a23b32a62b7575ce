#pragma once
// Message boxes for tests: every request is recorded, and each box is answered by the next
// scripted answer, or by its default button when no answer is left.

#include <deque>
#include <functional>
#include <vector>

#include "platform/Dialogs.h"

namespace qvn::testing {

class FakeMessageBoxes : public platform::IMessageBoxes {
 public:
  platform::DialogButton Show(const platform::MessageBoxRequest& request) override {
    shown.push_back(request);
    if (onShow) onShow(request);
    if (answers.empty()) return request.defaultButton;
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
  }

  // The texts of the boxes shown, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& r : shown) texts.push_back(r.text);
    return texts;
  }

  std::vector<platform::MessageBoxRequest> shown;
  std::deque<platform::DialogButton> answers;
  // Runs while a box is "open", before it is answered (to let a test act in between).
  std::function<void(const platform::MessageBoxRequest&)> onShow;
};

}  // namespace qvn::testing

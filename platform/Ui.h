#pragma once
// The desktop user-interface toolkit: forms described by data, their controls, timers and the
// event loop. Every handler runs on the user-interface thread; an exception that leaves a
// handler, a timer tick or an activation is passed to the toolkit's exception handler, and the
// event loop goes on.

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

namespace qvn::platform {

// Client-area coordinates as designed at 96 pixels per inch; the toolkit scales them to the
// screen's resolution.
struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

enum class ControlKind { Button, CheckBox, Label, Edit, Memo, StatusBar };

enum class ModalResult { None, Ok, Cancel };

struct ControlDesc {
  std::string name;
  ControlKind kind = ControlKind::Button;
  std::string caption;  // Button, CheckBox, Label: the caption; Edit, Memo: the initial text
  Bounds bounds;
  int tabOrder = -1;    // position in the form's tab order; -1 for controls outside it
  bool tabStop = false;
  bool enabled = true;
  bool visible = true;
  bool checked = false;     // CheckBox
  bool readOnly = false;    // Edit, Memo
  bool wordWrap = false;    // Memo: long lines wrap
  bool scrollBars = false;  // Memo
  bool isDefault = false;   // Button: pressed by Enter while no other button has the focus
  bool isCancel = false;    // Button: pressed by Escape
  ModalResult modalResult = ModalResult::None;  // Button: ends a modal show with this result
  int panelWidth = 0;       // StatusBar: the width of its one panel
};

enum class FormBorder {
  Single,      // single line, fixed size, a caption without buttons and without system menu
  ToolWindow,  // small caption with a close box, fixed size
};

enum class FormPlacement { DesktopCenter, MainFormCenter };

struct FormDesc {
  std::string name;
  std::string caption;
  int clientWidth = 0;   // at 96 pixels per inch
  int clientHeight = 0;
  FormBorder border = FormBorder::Single;
  FormPlacement placement = FormPlacement::DesktopCenter;
  std::string fontName = "Tahoma";
  int fontHeight = -11;  // at 96 pixels per inch; the button-face background goes with it
  std::vector<ControlDesc> controls;
};

using Handler = std::function<void()>;

class IControl {
 public:
  virtual ~IControl() = default;
  virtual WindowHandle Handle() const = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Focused() const = 0;
  virtual void SetFocus() = 0;
  // The caption of a button, check box or label; the text of an edit or memo (lines joined
  // by CR LF).
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
};

class IButton : public IControl {
 public:
  // Runs after a click by mouse or keyboard (Enter, Space, accelerator).
  virtual void SetOnClick(Handler handler) = 0;
};

class ICheckBox : public IControl {
 public:
  virtual bool Checked() const = 0;
  // Changes the state; when it differs from the current one the click handler runs, exactly
  // as after a click by the user. Setting the state the box already has runs nothing.
  virtual void SetChecked(bool checked) = 0;
  // Runs after every change of the state, by the user or by SetChecked, and sees the new state.
  virtual void SetOnClick(Handler handler) = 0;
};

class IMemo : public IControl {
 public:
  // Runs after the control's own handling of any mouse button pressed over it.
  virtual void SetOnMouseDown(Handler handler) = 0;
};

class IStatusBar : public IControl {
 public:
  virtual std::string PanelText(int panel) const = 0;
  virtual void SetPanelText(int panel, const std::string& text) = 0;
};

class ITimer {
 public:
  virtual ~ITimer() = default;  // stops the timer
  // Runs about once per interval while a message loop runs; a tick never starts while the
  // previous tick of the same timer is still running (inside a modal box, say).
  virtual void SetOnTimer(Handler handler) = 0;
  virtual unsigned Interval() const = 0;
  virtual bool Enabled() const = 0;
};

class IForm {
 public:
  virtual ~IForm() = default;
  virtual WindowHandle Handle() const = 0;

  // The controls of the description, by name; an unknown name or a different kind is a
  // programming error (std::logic_error).
  virtual IControl& Control(std::string_view name) = 0;
  virtual IButton& Button(std::string_view name) = 0;
  virtual ICheckBox& CheckBox(std::string_view name) = 0;
  virtual IControl& Edit(std::string_view name) = 0;
  virtual IMemo& Memo(std::string_view name) = 0;
  virtual IStatusBar& StatusBar(std::string_view name) = 0;

  // A timer owned by this form, armed at once.
  virtual std::unique_ptr<ITimer> AddTimer(unsigned intervalMs) = 0;

  // Runs each time the form becomes the active window, from the message loop.
  virtual void SetOnActivate(Handler handler) = 0;

  virtual bool Visible() const = 0;
  // Shows the form modally: the other forms take no input, the message loop runs until a
  // modal result is set or the form is closed (result Cancel), then the form is hidden.
  virtual ModalResult ShowModal() = 0;
  virtual void SetModalResult(ModalResult result) = 0;
  // Closes the form: ends a modal show with Cancel; for the main form, ends Run.
  virtual void Close() = 0;
};

class IUiToolkit {
 public:
  virtual ~IUiToolkit() = default;

  // Creates a form, hidden. owner is the main form for forms placed over it (or nullptr).
  virtual std::unique_ptr<IForm> CreateForm(const FormDesc& desc, IForm* owner) = 0;

  // Shows mainForm and runs the event loop until it is closed.
  virtual void Run(IForm& mainForm) = 0;

  // Handles every message already queued for the program (painting, clicks, timer ticks)
  // and returns.
  virtual void ProcessMessages() = 0;

  // The toolkit's hidden top-level application window, or 0 when it has none.
  virtual WindowHandle ApplicationWindow() const = 0;

  // Receives every exception that leaves a handler, a timer tick or an activation.
  virtual void SetExceptionHandler(std::function<void(std::exception_ptr)> handler) = 0;
};

}  // namespace qvn::platform

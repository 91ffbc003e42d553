// The application object: title, main form, the message loop, the hidden
// owner window with the taskbar button, message boxes, and which control
// the mouse is over (for enter and leave notifications and hints).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "core/system.h"
#include "ui/backend.h"
#include "ui/messages.h"

namespace corvane::ui {

class Control;
class Form;
class ApplicationEvents;

class Application {
 public:
  Application(Backend& backend, UserInteraction& user);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The one application of the process, or null.
  static Application* Current();
  Backend& GetBackend() { return backend_; }

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);

  Form* MainForm() const { return main_form_; }
  void SetMainForm(Form* form) { main_form_ = form; }
  // Whether Run shows the main form when the loop starts.
  bool ShowMainForm() const { return show_main_form_; }
  void SetShowMainForm(bool show) { show_main_form_ = show; }

  // Shows the main form (unless switched off) and handles messages until
  // Terminate.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  void ProcessMessages() { backend_.ProcessMessages(); }
  // Handles one message; false when the loop is to end.
  bool HandleMessage();

  // The owner window of every form, which carries the taskbar button.
  WindowHandle Handle() const { return backend_.OwnerWindow(); }
  void ShowOwnerWindow(bool show) { backend_.ShowOwnerWindow(show); }
  void Minimize() { backend_.Minimize(); }

  // An empty caption stands for the title.
  int ShowMessageBox(const std::string& text, const std::string& caption = std::string(),
                     unsigned style = mb::kOk);

  const std::vector<Form*>& Forms() const { return forms_; }
  Form* FindForm(WindowHandle window) const;

  // The control under the mouse. Changing it sends the leave notification to
  // the old one before the enter notification to the new one, and shows or
  // hides the hint.
  Control* MouseControl() const { return mouse_control_; }
  void NoteMouseControl(Control* c);
  // Takes the hint away until the mouse comes to a control again.
  void HideHint() { backend_.HideHint(); }

  // Message filters (ApplicationEvents); true when one handled the message,
  // which is then not dispatched.
  bool FilterMessage(Message& m);

  // Explorer was restarted, so notification-area icons must be added again.
  void NotifyTaskbarCreated();
  std::function<void()> OnTaskbarCreated;

 private:
  friend class Form;
  friend class Control;
  friend class ApplicationEvents;
  void AddForm(Form* f) { forms_.push_back(f); }
  void RemoveForm(Form* f);
  void ControlGone(Control* c);
  void AddEvents(ApplicationEvents* e) { events_.push_back(e); }
  void RemoveEvents(ApplicationEvents* e);

  Backend& backend_;
  UserInteraction& user_;
  std::string title_;
  Form* main_form_ = nullptr;
  bool show_main_form_ = true;
  bool terminated_ = false;
  std::vector<Form*> forms_;
  std::vector<ApplicationEvents*> events_;
  Control* mouse_control_ = nullptr;
};

}  // namespace corvane::ui

#include "ui/application.h"

#include <algorithm>

#include "ui/components.h"
#include "ui/control.h"
#include "ui/form.h"

namespace corvane::ui {
namespace {
Application* g_current = nullptr;
}

Application::Application(Backend& backend, UserInteraction& user) : backend_(backend), user_(user) {
  g_current = this;
}

Application::~Application() {
  if (g_current == this) g_current = nullptr;
}

Application* Application::Current() { return g_current; }

void Application::SetTitle(std::string title) {
  title_ = std::move(title);
  backend_.TitleChanged(title_);
}

void Application::Run() {
  if (main_form_ && show_main_form_) main_form_->Show();
  while (!terminated_ && backend_.HandleMessage()) {
  }
}

void Application::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  backend_.Quit();
}

bool Application::HandleMessage() { return !terminated_ && backend_.HandleMessage(); }

int Application::ShowMessageBox(const std::string& text, const std::string& caption,
                                unsigned style) {
  return user_.ShowMessageBox(text, caption.empty() ? title_ : caption, style);
}

Form* Application::FindForm(WindowHandle window) const {
  if (window == 0) return nullptr;
  for (Form* f : forms_)
    if (f->HandleAllocated() && f->Peer()->Handle() == window) return f;
  return nullptr;
}

void Application::NoteMouseControl(Control* c) {
  if (c == mouse_control_) return;
  Control* old = mouse_control_;
  mouse_control_ = c;
  if (old) old->Perform(msg::kMouseLeave);
  // The leave handler may have moved things on.
  if (c && c == mouse_control_) c->Perform(msg::kMouseEnter);
  if (mouse_control_ != c) return;
  if (c && c->ShowHint() && !c->Hint().empty())
    backend_.ShowHint(c->Hint(), backend_.CursorPos());
  else
    backend_.HideHint();
}

bool Application::FilterMessage(Message& m) {
  for (ApplicationEvents* e : std::vector<ApplicationEvents*>(events_)) {
    if (!e->OnMessage) continue;
    bool handled = false;
    e->OnMessage(m, handled);
    if (handled) return true;
  }
  return false;
}

void Application::NotifyTaskbarCreated() {
  if (OnTaskbarCreated) OnTaskbarCreated();
}

void Application::RemoveForm(Form* f) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end());
  if (main_form_ == f) main_form_ = nullptr;
}

void Application::ControlGone(Control* c) {
  if (mouse_control_ != c) return;
  mouse_control_ = nullptr;
  backend_.HideHint();
}

void Application::RemoveEvents(ApplicationEvents* e) {
  events_.erase(std::remove(events_.begin(), events_.end(), e), events_.end());
}

}  // namespace corvane::ui

#include "ui/form.h"

#include "ui/application.h"
#include "ui/events.h"

namespace corvane::ui {
namespace {
constexpr std::uintptr_t kScMinimize = 0xF020;
}

Form::Form(Component* owner) : WinControl(owner) {
  InitVisible(false);
  if (Application* app = Application::Current()) app->AddForm(this);
}

Form::~Form() {
  // Everything the form owns goes while the form is still whole.
  DestroyComponents();
  if (Application* app = Application::Current()) app->RemoveForm(this);
}

void Form::SetBorderStyle(FormBorderStyle b) {
  border_style_ = b;
  Changed(Aspect::kState);
}

void Form::SetBorderIcons(unsigned icons) {
  border_icons_ = icons;
  Changed(Aspect::kState);
}

void Form::SetClientSize(int width, int height) {
  client_width_ = width;
  client_height_ = height;
  if (!HandleAllocated()) BoundsFromWindow(Rect::FromBounds(Left(), Top(), width, height));
  Changed(Aspect::kBounds);
  AlignControls();
}

void Form::ClientSizeFromWindow(int width, int height) {
  if (width == client_width_ && height == client_height_) return;
  client_width_ = width;
  client_height_ = height;
  AlignControls();
}

void Form::Show() {
  SetVisible(true);
  BringToFront();
}

void Form::BringToFront() { Changed(Aspect::kZOrder); }

void Form::VisibleChanged() {
  Application* app = Application::Current();
  if (Visible()) {
    Fire(OnShow, *this);
    if (app && app->MainForm() == this) app->ShowOwnerWindow(true);
    HandleNeeded();
  }
  Changed(Aspect::kVisible);
  if (!Visible()) Fire(OnHide, *this);
}

bool Form::CloseQuery() {
  bool can_close = true;
  Fire(OnCloseQuery, *this, can_close);
  return can_close;
}

void Form::Close() {
  if (!CloseQuery()) return;
  CloseAction action = CloseAction::kHide;
  Fire(OnClose, *this, action);
  if (action == CloseAction::kNone) return;
  Application* app = Application::Current();
  if (modal_) {
    modal_result_ = kMrCancel;
  } else if (app && app->MainForm() == this) {
    app->Terminate();
  } else {
    Hide();
  }
}

int Form::ShowModal() {
  Application* app = Application::Current();
  if (!app || modal_ || Visible()) return kMrCancel;
  modal_ = true;
  modal_result_ = kMrNone;
  app->GetBackend().EnableOtherWindows(*this, false);
  Show();
  while (modal_result_ == kMrNone) {
    if (app->Terminated() || !app->HandleMessage()) modal_result_ = kMrCancel;
  }
  // Enable the others first, so the system activates the previous window.
  app->GetBackend().EnableOtherWindows(*this, true);
  Hide();
  modal_ = false;
  return modal_result_;
}

void Form::WndProc(Message& m) {
  switch (m.msg) {
    case msg::kClose:
      Close();
      return;
    case msg::kQueryEndSession:
      // A session end is never held up by a form.
      m.result = 1;
      return;
    case msg::kSysCommand:
      if ((m.wparam & 0xFFF0) == kScMinimize) {
        Application* app = Application::Current();
        if (app && app->MainForm() == this) {
          app->Minimize();
          return;
        }
      }
      break;
    default:
      break;
  }
  WinControl::WndProc(m);
}

}  // namespace corvane::ui

#include "ui/control.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/components.h"
#include "ui/events.h"
#include "ui/form.h"

namespace corvane::ui {
namespace {

bool IsMouseMessage(unsigned m) { return m >= msg::kMouseMove && m <= msg::kMButtonUp; }

}  // namespace

Control::Control(Component* owner) : Component(owner) {
  window_proc_ = [this](Message& m) { WndProc(m); };
}

Control::~Control() {
  if (Application* app = Application::Current()) app->ControlGone(this);
  if (parent_) parent_->RemoveControl(this);
}

void Control::SetParent(WinControl* parent) {
  if (parent == parent_) return;
  if (parent_) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_) parent_->InsertControl(this);
}

Form* Control::ParentForm() {
  Control* c = this;
  while (c && !c->IsForm()) c = c->parent_;
  return static_cast<Form*>(c);
}

void Control::SetBounds(int left, int top, int width, int height) {
  Rect nb = Rect::FromBounds(left, top, std::max(width, 0), std::max(height, 0));
  if (nb == bounds_) return;
  if (!IsWindowed() && parent_ && visible_) parent_->InvalidateRect(bounds_);
  bounds_ = nb;
  Changed(Aspect::kBounds);
  if (IsWindowed()) static_cast<WinControl*>(this)->AlignControls();
}

void Control::SetAlign(Align a) {
  align_ = a;
  if (parent_) parent_->AlignControls();
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
}

void Control::VisibleChanged() { Changed(Aspect::kVisible); }

bool Control::Showing() const {
  if (!visible_) return false;
  if (parent_) return parent_->Showing();
  return IsForm();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(Aspect::kEnabled);
  Perform(msg::kEnabledChanged);
}

void Control::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed(Aspect::kText);
  Perform(msg::kTextChanged);
}

Color Control::GetColor() const { return parent_color_ && parent_ ? parent_->GetColor() : color_; }

void Control::SetColor(Color c) {
  color_ = c;
  parent_color_ = false;
  Changed(Aspect::kColor);
  FontOrColorInherited(Aspect::kColor);
}

void Control::SetParentColor(bool p) {
  if (p == parent_color_) return;
  if (!p) color_ = GetColor();
  parent_color_ = p;
  Changed(Aspect::kColor);
  FontOrColorInherited(Aspect::kColor);
}

const Font& Control::GetFont() const {
  return parent_font_ && parent_ ? parent_->GetFont() : font_;
}

void Control::SetFont(const Font& f) {
  font_ = f;
  parent_font_ = false;
  Changed(Aspect::kFont);
  FontOrColorInherited(Aspect::kFont);
}

void Control::FontOrColorInherited(Aspect aspect) {
  if (!IsWindowed()) return;
  for (Control* c : static_cast<WinControl*>(this)->controls_) {
    bool inherits = aspect == Aspect::kFont ? c->parent_font_ : c->parent_color_;
    if (!inherits) continue;
    c->Changed(aspect);
    c->FontOrColorInherited(aspect);
  }
}

void Control::BringToFront() {
  if (parent_) parent_->ChildToFront(this);
}

Point Control::ClientToScreen(Point p) const {
  if (IsWindowed()) {
    if (WindowPeer* peer = static_cast<const WinControl*>(this)->Peer())
      return peer->ClientToScreen(p);
  }
  int border = IsWindowed() ? static_cast<const WinControl*>(this)->BorderWidth() : 0;
  Point q{p.x + Left() + border, p.y + Top() + border};
  return parent_ ? parent_->ClientToScreen(q) : q;
}

void Control::BoundsFromWindow(const Rect& r) {
  if (r == bounds_) return;
  bounds_ = r;
  if (IsWindowed()) static_cast<WinControl*>(this)->AlignControls();
}

void Control::SetWindowProc(MessageMethod m) {
  if (m)
    window_proc_ = std::move(m);
  else
    window_proc_ = [this](Message& msg) { WndProc(msg); };
}

std::intptr_t Control::Perform(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  Message m;
  m.msg = msg;
  m.wparam = wparam;
  m.lparam = lparam;
  Perform(m);
  return m.result;
}

void Control::Click() { Fire(OnClick, *this); }

bool Control::DragOverFromWindow(Control& source, Point p) {
  if (!OnDragOver) return false;
  bool accept = true;
  OnDragOver(*this, source, p.x, p.y, accept);
  return accept;
}

void Control::DragDropFromWindow(Control& source, Point p) {
  if (DragOverFromWindow(source, p)) Fire(OnDragDrop, *this, source, p.x, p.y);
}

void Control::WndProc(Message& m) {
  if (IsMouseMessage(m.msg)) {
    HandleMouse(m);
  } else if (m.msg == msg::kMouseEnter) {
    Fire(OnMouseEnter, *this);
  } else if (m.msg == msg::kMouseLeave) {
    Fire(OnMouseLeave, *this);
  } else if (m.msg == msg::kContextMenu && popup_menu_) {
    int x = PointX(m.lparam), y = PointY(m.lparam);
    Point at = x == -1 && y == -1 ? ClientToScreen(KeyboardMenuPoint()) : Point{x, y};
    popup_menu_->Popup(at);
    // Handled here: the system would pass it on to the parent.
    m.result = 0;
    return;
  }
  DefaultHandler(m);
}

void Control::HandleMouse(Message& m) {
  int x = PointX(m.lparam), y = PointY(m.lparam);
  unsigned shift = static_cast<unsigned>(m.wparam & 0xFFFF);
  // Any button press hides the hint: it never stands over what is clicked.
  if (m.msg == msg::kLButtonDown || m.msg == msg::kLButtonDblClk ||
      m.msg == msg::kRButtonDown || m.msg == msg::kRButtonDblClk || m.msg == msg::kMButtonDown) {
    if (Application* app = Application::Current()) app->HideHint();
  }
  switch (m.msg) {
    case msg::kMouseMove:
      if (Application* app = Application::Current()) app->NoteMouseControl(this);
      Fire(OnMouseMove, *this, shift, x, y);
      break;
    case msg::kLButtonDown:
    case msg::kLButtonDblClk:
      pressed_ = true;
      Fire(OnMouseDown, *this, MouseButton::kLeft, shift, x, y);
      break;
    case msg::kLButtonUp: {
      bool was_pressed = pressed_;
      pressed_ = false;
      Fire(OnMouseUp, *this, MouseButton::kLeft, shift, x, y);
      if (was_pressed && ClicksOnRelease() && ClientRect().Contains({x, y})) Click();
      break;
    }
    case msg::kRButtonDown:
    case msg::kRButtonDblClk:
      Fire(OnMouseDown, *this, MouseButton::kRight, shift, x, y);
      break;
    case msg::kRButtonUp:
      Fire(OnMouseUp, *this, MouseButton::kRight, shift, x, y);
      break;
    case msg::kMButtonDown:
      Fire(OnMouseDown, *this, MouseButton::kMiddle, shift, x, y);
      break;
    case msg::kMButtonUp:
      Fire(OnMouseUp, *this, MouseButton::kMiddle, shift, x, y);
      break;
    default:
      break;
  }
}

void Control::Changed(Aspect) {}

// --- GraphicControl -------------------------------------------------------

void GraphicControl::Invalidate() {
  if (Parent()) Parent()->InvalidateRect(BoundsRect());
}

void GraphicControl::WndProc(Message& m) {
  if (m.msg == msg::kCanvasPaint && m.wparam) {
    Canvas& canvas = *reinterpret_cast<Canvas*>(m.wparam);
    Paint(canvas);
    Fire(OnPaint, *this, canvas);
    return;
  }
  Control::WndProc(m);
}

void GraphicControl::Changed(Aspect aspect) {
  if (aspect == Aspect::kVisible || Visible()) Invalidate();
}

// --- WinControl -----------------------------------------------------------

WinControl::WinControl(Component* owner) : Control(owner) {}

WinControl::~WinControl() {
  // Children first, so their windows go before this one.
  while (!controls_.empty()) delete controls_.back();
  peer_.reset();
  if (parent_) {
    parent_->RemoveControl(this);
    parent_ = nullptr;
  }
}

void WinControl::DestroyHandle() {
  for (Control* c : controls_)
    if (c->IsWindowed()) static_cast<WinControl*>(c)->DestroyHandle();
  peer_.reset();
}

Control* WinControl::ControlAtPos(Point p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    Control* c = *it;
    if (!c->IsWindowed() && c->Visible() && c->Enabled() && c->BoundsRect().Contains(p)) return c;
  }
  return nullptr;
}

Cursor WinControl::CursorAt(Point p) const {
  Control* c = ControlAtPos(p);
  if (c && c->GetCursor() != Cursor::kDefault) return c->GetCursor();
  return GetCursor();
}

WindowHandle WinControl::Handle() {
  HandleNeeded();
  return peer_ ? peer_->Handle() : 0;
}

void WinControl::HandleNeeded() {
  Application* app = Application::Current();
  if (peer_ || creating_ || !app) return;
  if (Parent()) {
    Parent()->HandleNeeded();
    // A parent that was just made has made this window too.
    if (!Parent()->peer_ || peer_) return;
  } else if (!IsForm()) {
    return;
  }
  creating_ = true;
  peer_ = app->GetBackend().CreateWindowPeer(*this);
  creating_ = false;
  if (!peer_) return;
  peer_->Attached();
  if (Parent()) Parent()->StackAsMadeInOrder(*this);
  for (Control* c : std::vector<Control*>(controls_))
    if (MadeWithParent(c)) static_cast<WinControl*>(c)->HandleNeeded();
  if (Form* form = Parent() ? ParentForm() : nullptr)
    form->Perform(msg::kWindowMade, 0, reinterpret_cast<std::intptr_t>(this));
}

bool WinControl::WindowPutOff() const {
  for (const Control* c = this; c && !c->IsForm(); c = c->Parent())
    if (!c->Visible()) return true;
  return false;
}

// Windows made together stack in the order of the children, the first on
// top (and first to take the tab); one made later goes where it would have.
void WinControl::StackAsMadeInOrder(WinControl& child) {
  const WindowPeer* above = nullptr;
  bool passed = false;
  for (Control* c : controls_) {
    if (c == &child) {
      passed = true;
      continue;
    }
    if (!c->IsWindowed() || !static_cast<WinControl*>(c)->peer_) continue;
    if (passed) return child.peer_->StackBelow(above);  // a later sibling was made first
    above = static_cast<WinControl*>(c)->peer_.get();
  }
}

// A hidden child window is made when it is first shown or asked for: the
// settings panels nobody has opened cost the start nothing.
bool WinControl::MadeWithParent(const Control* c) { return c->IsWindowed() && c->Visible(); }

void WinControl::InvalidateRect(const Rect& r) {
  if (peer_) peer_->Invalidate(r);
}

void WinControl::SetFocus() {
  HandleNeeded();
  if (peer_) peer_->SetFocus();
}

void WinControl::PaintWindow(Canvas& canvas) {
  if (PaintsItself()) canvas.FillRect(ClientRect(), GetColor());
  Paint(canvas);
  Fire(OnPaint, *this, canvas);
  for (Control* c : std::vector<Control*>(controls_)) {
    if (c->IsWindowed() || !c->Visible()) continue;
    canvas.Enter(c->BoundsRect());
    c->Perform(msg::kCanvasPaint, reinterpret_cast<std::uintptr_t>(&canvas));
    canvas.Restore();
  }
}

Rect WinControl::ClientRect() const {
  int b = 2 * BorderWidth();
  return {0, 0, std::max(Width() - b, 0), std::max(Height() - b, 0)};
}

void WinControl::AlignControls() {
  Rect client = AlignRect();
  for (Control* c : std::vector<Control*>(controls_))
    if (c->GetAlign() == Align::kClient)
      c->SetBounds(client.left, client.top, client.Width(), client.Height());
}

void WinControl::WndProc(Message& m) {
  if (m.msg == msg::kCanvasPaint && m.wparam) {
    PaintWindow(*reinterpret_cast<Canvas*>(m.wparam));
    return;
  }
  if (m.msg == msg::kMouseLeaveWindow) {
    Application* app = Application::Current();
    Control* under = app ? app->MouseControl() : nullptr;
    if (under == this || (under && under->Parent() == this && !under->IsWindowed()))
      app->NoteMouseControl(nullptr);
  } else if (IsMouseMessage(m.msg) && RouteMouse(m)) {
    return;
  }
  Control::WndProc(m);
}

bool WinControl::RouteMouse(Message& m) {
  Point p{PointX(m.lparam), PointY(m.lparam)};
  Control* target = capture_ ? capture_ : ControlAtPos(p);
  if (!target) return false;
  if (m.msg == msg::kLButtonDown || m.msg == msg::kRButtonDown || m.msg == msg::kMButtonDown)
    capture_ = target;
  else if (m.msg == msg::kLButtonUp || m.msg == msg::kRButtonUp || m.msg == msg::kMButtonUp)
    capture_ = nullptr;
  Message child = m;
  child.lparam = PackPoint(p.x - target->Left(), p.y - target->Top());
  target->Perform(child);
  m.result = child.result;
  return true;
}

void WinControl::DefaultHandler(Message& m) {
  if (peer_) peer_->DefaultHandler(m);
}

void WinControl::Changed(Aspect aspect) {
  if (peer_)
    peer_->Sync(aspect);
  else if (aspect == Aspect::kVisible && Visible() && Parent() && Parent()->peer_)
    HandleNeeded();
}

void WinControl::InsertControl(Control* c) {
  controls_.push_back(c);
  if (c->IsWindowed()) {
    if (peer_ && MadeWithParent(c)) static_cast<WinControl*>(c)->HandleNeeded();
  } else if (c->Visible()) {
    InvalidateRect(c->BoundsRect());
  }
  if (c->GetAlign() != Align::kNone) AlignControls();
  c->Changed(Aspect::kFont);
}

void WinControl::RemoveControl(Control* c) {
  if (capture_ == c) capture_ = nullptr;
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  if (c->IsWindowed())
    static_cast<WinControl*>(c)->DestroyHandle();
  else if (c->Visible())
    InvalidateRect(c->BoundsRect());
}

void WinControl::ChildToFront(Control* c) {
  auto it = std::find(controls_.begin(), controls_.end(), c);
  if (it == controls_.end()) return;
  controls_.erase(it);
  controls_.push_back(c);
  c->Changed(c->IsWindowed() ? Aspect::kZOrder : Aspect::kVisible);
}

}  // namespace corvane::ui

#include "ui/std_controls.h"

#include <cstdlib>

#include "ui/events.h"
#include "ui/form.h"

namespace corvane::ui {

// --- Panel ------------------------------------------------------------------

Panel::Panel(Component* owner) : WinControl(owner) {}

void Panel::SetBorderStyle(BorderStyle b) {
  border_ = b;
  Changed(Aspect::kState);
  AlignControls();
}

void Panel::SetBevelOuter(BevelKind b) {
  bevel_ = b;
  Invalidate();
  AlignControls();
}

Rect Panel::AlignRect() const {
  Rect r = ClientRect();
  return bevel_ == BevelKind::kNone ? r : r.Inflate(-1, -1);
}

void Panel::Paint(Canvas& canvas) {
  Rect r = AlignRect();
  if (bevel_ != BevelKind::kNone) {
    bool raised = bevel_ == BevelKind::kRaised;
    canvas.FrameEdge(ClientRect(), raised ? kClBtnHighlight : kClBtnShadow,
                     raised ? kClBtnShadow : kClBtnHighlight);
  }
  if (!Caption().empty())
    canvas.DrawText(r, Caption(), GetFont(),
                    text_flags::kCenter | text_flags::kVCenter | text_flags::kSingleLine);
}

// --- Check boxes and radio buttons -----------------------------------------

ButtonControl::ButtonControl(Component* owner) : WinControl(owner) {
  SetParentColor(true);
  SetTabStop(true);
}

void ButtonControl::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed(Aspect::kState);
  CheckedChanged();
}

void ButtonControl::WndProc(Message& m) {
  if (IsReflectedCommand(m, msg::kButtonClicked)) {
    Clicked();
    return;
  }
  WinControl::WndProc(m);
}

void RadioButton::CheckedChanged() {
  if (!Checked()) return;
  if (Parent()) {
    for (Control* c : Parent()->Controls()) {
      auto* other = dynamic_cast<RadioButton*>(c);
      if (other && other != this) other->SetChecked(false);
    }
  }
  Click();
}

// --- Buttons ----------------------------------------------------------------

Button::Button(Component* owner) : WinControl(owner) { SetTabStop(true); }

void Button::SetDefault(bool d) {
  default_ = d;
  Changed(Aspect::kState);
}

void Button::Click() {
  if (modal_result_ != 0) {
    if (Form* f = ParentForm()) f->SetModalResult(modal_result_);
  }
  WinControl::Click();
}

void Button::WndProc(Message& m) {
  if (IsReflectedCommand(m, msg::kButtonClicked)) {
    Click();
    return;
  }
  WinControl::WndProc(m);
}

void BitBtn::SetGlyph(Picture g) {
  glyph_ = std::move(g);
  Changed(Aspect::kState);
}

void BitBtn::SetLayout(Layout l) {
  layout_ = l;
  Invalidate();
}

// --- Edits ------------------------------------------------------------------

Edit::Edit(Component* owner) : WinControl(owner) {
  SetColor(kClWindow);
  SetTabStop(true);
}

void Edit::SetText(std::string text) {
  if (text == Text()) return;
  syncing_ = true;
  SetCaption(std::move(text));
  syncing_ = false;
  Fire(OnChange, *this);
}

void Edit::SetReadOnly(bool r) {
  read_only_ = r;
  Changed(Aspect::kState);
}

void Edit::SetMaxLength(int n) {
  max_length_ = n < 0 ? 0 : n;
  Changed(Aspect::kState);
}

void Edit::WndProc(Message& m) {
  if (IsReflectedCommand(m, msg::kEditChange)) {
    if (!syncing_ && Peer()) {
      std::string now = Peer()->WindowText();
      if (now != Text()) {
        StoreCaption(std::move(now));
        TextEdited();
        Fire(OnChange, *this);
      }
    }
    return;
  }
  WinControl::WndProc(m);
}

Memo::Memo(Component* owner) : Edit(owner) {}

std::vector<std::string> Memo::Lines() const {
  std::vector<std::string> lines;
  const std::string& t = Text();
  std::size_t start = 0;
  while (start <= t.size()) {
    std::size_t end = t.find("\r\n", start);
    if (end == std::string::npos) {
      if (start < t.size()) lines.push_back(t.substr(start));
      break;
    }
    lines.push_back(t.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void Memo::SetLines(const std::vector<std::string>& lines) {
  std::string t;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) t += "\r\n";
    t += lines[i];
  }
  SetText(std::move(t));
}

SpinEdit::SpinEdit(Component* owner) : Edit(owner) { StoreCaption("0"); }

int SpinEdit::Clamp(int v) const {
  if (max_ <= min_) return v;  // no range set
  return v < min_ ? min_ : (v > max_ ? max_ : v);
}

void SpinEdit::SetValue(int v) {
  value_ = Clamp(v);
  SetText(std::to_string(value_));
}

void SpinEdit::SetRange(int min_value, int max_value) {
  min_ = min_value;
  max_ = max_value;
  Changed(Aspect::kState);
  SetValue(value_);
}

void SpinEdit::TextEdited() {
  const std::string& t = Text();
  char* end = nullptr;
  long v = std::strtol(t.c_str(), &end, 10);
  // Text that is no number stands for the least value.
  if (t.empty() || *end != '\0' || v < -1000000 || v > 1000000) v = min_;
  value_ = Clamp(static_cast<int>(v));
}

void SpinEdit::WndProc(Message& m) {
  Edit::WndProc(m);
  // Leaving the edit shows the value it stands for.
  if (m.msg == msg::kKillFocus) SetText(std::to_string(value_));
}

}  // namespace corvane::ui

// The windowed controls: panel, check box, radio button, button, bitmap
// button, edit, memo and spin edit. Each keeps its state here; the window,
// when there is one, shows it and reports the user's changes back.
#pragma once
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/graphic_controls.h"

namespace corvane::ui {

enum class BorderStyle { kNone, kSingle };
enum class BevelKind { kNone, kLowered, kRaised };

class Panel : public WinControl {
 public:
  explicit Panel(Component* owner);
  std::string ClassName() const override { return "TPanel"; }

  BorderStyle GetBorderStyle() const { return border_; }
  void SetBorderStyle(BorderStyle b);
  BevelKind BevelOuter() const { return bevel_; }
  void SetBevelOuter(BevelKind b);
  int BorderWidth() const override { return border_ == BorderStyle::kSingle ? 1 : 0; }
  // Inside the bevel.
  Rect AlignRect() const override;

 protected:
  void Paint(Canvas& canvas) override;
  bool PaintsItself() const override { return true; }
  bool ClicksOnRelease() const override { return true; }

 private:
  BorderStyle border_ = BorderStyle::kNone;
  BevelKind bevel_ = BevelKind::kRaised;
};

// Check boxes and radio buttons. A click of the window reaches the control
// as the reflected command; setting Checked to a new value runs the click
// reaction just as a click does.
class ButtonControl : public WinControl {
 public:
  explicit ButtonControl(Component* owner);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);

 protected:
  void WndProc(Message& m) override;
  // A click reported by the window.
  virtual void Clicked() = 0;
  // After a change of Checked: the click reaction.
  virtual void CheckedChanged() { Click(); }

 private:
  bool checked_ = false;
};

class CheckBox : public ButtonControl {
 public:
  using ButtonControl::ButtonControl;
  std::string ClassName() const override { return "TCheckBox"; }

 protected:
  void Clicked() override { SetChecked(!Checked()); }
};

// Checking one unchecks the radio buttons beside it on the same parent.
class RadioButton : public ButtonControl {
 public:
  using ButtonControl::ButtonControl;
  std::string ClassName() const override { return "TRadioButton"; }

 protected:
  void Clicked() override { SetChecked(true); }
  // Only checking reacts, after the siblings were turned off.
  void CheckedChanged() override;
};

class Button : public WinControl {
 public:
  explicit Button(Component* owner);
  std::string ClassName() const override { return "TButton"; }

  bool Default() const { return default_; }
  void SetDefault(bool d);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool c) { cancel_ = c; }
  // Clicking sets the form's modal result to this when it is not 0.
  int ModalResult() const { return modal_result_; }
  void SetModalResult(int r) { modal_result_ = r; }
  void Click() override;

 protected:
  void WndProc(Message& m) override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  int modal_result_ = 0;
};

class BitBtn : public Button {
 public:
  enum class Layout { kGlyphLeft, kGlyphRight, kGlyphTop, kGlyphBottom };
  using Button::Button;
  std::string ClassName() const override { return "TBitBtn"; }

  const Picture& Glyph() const { return glyph_; }
  void SetGlyph(Picture g);
  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int n) { num_glyphs_ = n < 1 ? 1 : n; }
  Layout GetLayout() const { return layout_; }
  void SetLayout(Layout l);
  int Margin() const { return margin_; }  // -1 centres
  void SetMargin(int m) { margin_ = m; }
  int Spacing() const { return spacing_; }
  void SetSpacing(int s) { spacing_ = s; }

 private:
  Picture glyph_;
  int num_glyphs_ = 1;
  Layout layout_ = Layout::kGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};

class Edit : public WinControl {
 public:
  explicit Edit(Component* owner);
  std::string ClassName() const override { return "TEdit"; }

  const std::string& Text() const { return Caption(); }
  void SetText(std::string text);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool r);
  int MaxLength() const { return max_length_; }  // 0 is no limit
  void SetMaxLength(int n);

  std::function<void(Control&)> OnChange;

 protected:
  void WndProc(Message& m) override;
  // The user changed the text in the window.
  virtual void TextEdited() {}

 private:
  bool read_only_ = false;
  int max_length_ = 0;
  bool syncing_ = false;
};

class Memo : public Edit {
 public:
  enum class ScrollBars { kNone, kVertical };
  explicit Memo(Component* owner);
  std::string ClassName() const override { return "TMemo"; }

  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  ScrollBars GetScrollBars() const { return scroll_bars_; }
  void SetScrollBars(ScrollBars s) { scroll_bars_ = s; }

 private:
  ScrollBars scroll_bars_ = ScrollBars::kNone;
};

// A number in [MinValue, MaxValue] with up and down arrows. Typed text
// counts at once, limited to the range (the least value when it is no
// number), and is replaced by the value when the edit loses the focus.
class SpinEdit : public Edit {
 public:
  explicit SpinEdit(Component* owner);
  std::string ClassName() const override { return "TSpinEdit"; }

  int Value() const { return value_; }
  void SetValue(int v);
  int MinValue() const { return min_; }
  int MaxValue() const { return max_; }
  void SetRange(int min_value, int max_value);
  int Increment() const { return increment_; }
  void SetIncrement(int i) { increment_ = i; }

 protected:
  void WndProc(Message& m) override;
  void TextEdited() override;

 private:
  int Clamp(int v) const;
  int value_ = 0;
  int min_ = 0;
  int max_ = 0;
  int increment_ = 1;
};

}  // namespace corvane::ui

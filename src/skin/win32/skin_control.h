// The skinned controls: one skin object per control of a skinned window. It
// sits in front of the control's message method (a control of the class
// library) or of its window procedure (any other window), lets the control
// do its own work and repaints it, wholly or in part, from the skin's
// pieces. This header: TSkinControl, the plain controls (buttons, check
// and radio boxes, edits, combo boxes, group boxes, size boxes) and the
// drawing helpers the members share. The window's SkinControls
// (skin_control_walk.h) owns them and releases them when the window is
// unskinned.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/skin_controls_geometry.h"
#include "skin/skin_data.h"
#include "skin/skin_render.h"
#include "skin/skin_rules.h"
#include "skin/win32/skin_owners.h"
#include "skin/win32/skin_registry.h"
#include "ui/control.h"

namespace corvane::skin::win32 {

class TWinSkinForm;
class SkinControls;

// The library's notifications the members react to.
inline constexpr unsigned kCmEnabledChanged = 0xB00C;
inline constexpr unsigned kCmMouseEnter = 0xB013;
inline constexpr unsigned kCmMouseLeave = 0xB014;
inline constexpr unsigned kCmTextChanged = 0xB01B;
inline constexpr unsigned kCmButtonPressed = 0xB021;
inline constexpr unsigned kCmCheckChanged = 0xB0D0;
inline constexpr unsigned kCmReflectNotify = 0xBC4E;

// State bits.
inline constexpr unsigned kBitHot = 1, kBitPressed = 2;

class TSkinControl : public SkinnedWindow {
 public:
  explicit TSkinControl(SkinControls* list) : SkinnedWindow(Kind::kControl), list_(list) {}
  ~TSkinControl() override;
  TSkinControl(const TSkinControl&) = delete;
  TSkinControl& operator=(const TSkinControl&) = delete;

  // Once only: the skin object's message method goes in front of the
  // control's; with recolour the control shows the skin's ButtonFace.
  virtual void AttachToControl(ui::Control& control, TSkinData& skin, bool recolour);
  // Subclasses the window.
  virtual void AttachToWindow(HWND window, TSkinData& skin);
  // The control's own method or procedure back, and its colour.
  virtual void Detach();
  // Before the control's own handling; false consumes the message.
  virtual bool Filter(ui::Message& m);
  virtual void After(ui::Message& m);
  // Draws into dc (the window DC when null); errors are swallowed.
  virtual void Paint(HDC dc);
  virtual void Draw(HDC dc, const Rect& r);
  // After the skin changed.
  virtual void Refresh();

  // Tells the control that the mouse has gone.
  void MouseLeft();

  HWND Window() const { return window_; }
  ui::Control* HostControl() const { return control_; }
  bool Attached() const { return attached_; }
  bool Hot() const { return (state_ & kBitHot) != 0; }
  bool Pressed() const { return (state_ & kBitPressed) != 0; }
  bool Recoloured() const { return recolour_; }
  // Released while a handler runs: it frees itself afterwards, no longer
  // part of any list.
  void FreeWhenIdle() override {
    list_ = nullptr;
    SkinnedWindow::FreeWhenIdle();
  }

  // What the last draw showed, for tests and the gallery.
  int LastImage() const { return last_image_; }
  COLORREF LastTextColour() const { return last_text_colour_; }
  int Paints() const { return paints_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // Filter, then the control's own handling and After.
  void Dispatch(ui::Message& m);
  // A WM_PAINT the object answers alone: into the message's DC, or between
  // BeginPaint and EndPaint.
  void PaintWhole(ui::Message& m);
  void CallOwn(ui::Message& m);
  LRESULT Own(UINT msg, WPARAM wp, LPARAM lp);
  // Invalidate without erasing, then update.
  virtual void RepaintNow();
  virtual void ReadState();
  void BecomeHot();
  void StopBeingHot();
  void FillFace(HDC dc, const Rect& r) const;
  const SkinModel& Model() const { return skin_->Model(); }
  // The control (and its window) still exist.
  virtual bool WindowAlive() const;
  void SetState(unsigned bit, bool on) { state_ = on ? (state_ | bit) : (state_ & ~bit); }
  LONG_PTR Style() const { return GetWindowLongPtrA(window_, GWL_STYLE); }
  // The owning window is going away: colours are left as they are.
  bool OwnerDetaching() const;
  // Takes the library's control, and leaves the list as soon as it is freed.
  void TakeHostControl(ui::Control& control);

  SkinControls* list_;
  TSkinData* skin_ = nullptr;
  HWND window_ = nullptr;
  ui::Control* control_ = nullptr;
  bool recolour_ = false;
  ui::Color colour_before_ = 0;
  bool parent_colour_before_ = false;
  std::string text_;
  bool focused_ = false, enabled_ = true, handled_ = false, attached_ = false;
  Rect last_rect_;
  unsigned state_ = 0;
  int last_image_ = 0;
  COLORREF last_text_colour_ = 0;
  int paints_ = 0;
  // Where a face with text is composed, kept while attached.
  KeptSurface surface_;

 private:
  WNDPROC own_proc_ = nullptr;
  // The control's own method, shared with the method put in front of it:
  // once the object has gone, that one only passes messages on.
  struct MethodLink {
    TSkinControl* self = nullptr;
    ui::MessageMethod own;
  };
  std::shared_ptr<MethodLink> link_;
  bool destroying_ = false;
};

// Push buttons: the whole button from the Buttons piece.
class TSkinButton : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;

 protected:
  // The glyph and caption over the background (bitmap buttons override).
  // surface holds pixels, the background already drawn.
  virtual void DrawFace(DibSurface& surface, Bitmap32& pixels, const Rect& r, COLORREF text_colour);
  void Click();
};

// Speed buttons: controls without a window, drawn on their parent's canvas.
// The class library has no such button; a windowless control of the class
// "TSpeedButton" gets this object.
class TSkinSpeedButton : public TSkinButton {
 public:
  using TSkinButton::TSkinButton;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;
  void Paint(HDC dc) override;
  void Refresh() override;

 protected:
  void RepaintNow() override;
  void ReadState() override;
  bool WindowAlive() const override;
};

// Bitmap buttons: the glyph and caption placed as the button places them.
class TSkinBitButton : public TSkinButton {
 public:
  using TSkinButton::TSkinButton;

 protected:
  void DrawFace(DibSurface& surface, Bitmap32& pixels, const Rect& r, COLORREF text_colour) override;
};

// Check boxes: only the box is overpainted, after the control's own paint.
class TSkinCheckBox : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;

 protected:
  virtual const Bitmap32& BoxImage(int* frames) const;
  CheckState ReadCheck() const;
};

class TSkinRadioButton : public TSkinCheckBox {
 public:
  using TSkinCheckBox::TSkinCheckBox;

 protected:
  const Bitmap32& BoxImage(int* frames) const override;
};

// Edits: a one-pixel ButtonShadow frame with a white one inside it instead
// of the sunken border.
class TSkinEdit : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;
};

// Combo boxes: the border and the drop-down button.
class TSkinComBox : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;
};

// Panels and the like: not hooked, only shown in ButtonFace while attached.
class TSkinBox : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  void AttachToControl(ui::Control& control, TSkinData& skin, bool recolour) override;
  void AttachToWindow(HWND window, TSkinData& skin) override;
  void Detach() override;
};

// A size box.
class TSkinSizer : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;
};

// --- Drawing helpers shared by the members ---------------------------------

// The window's font, or the default GUI font.
HFONT WindowFont(HWND window);
// The pixels copied to (0, 0) of dc in one blit, with text drawn over them
// first in the kept surface: text gets a DC with the font and colour
// selected and a transparent background.
void BlitWithText(HDC dc, KeptSurface& kept, const Bitmap32& pixels, HFONT font, COLORREF colour,
                  const std::function<void(HDC)>& text);
// A rectangle filled, or framed one pixel wide, in a colour, with no brush
// made for it.
void PaintSolid(HDC dc, const Rect& r, COLORREF colour, bool frame_only);
// One piece state image: nine-part with the piece's margins and tile flag.
NinePart PieceParts(const TDataSkinObject& piece, int frames, int image);

}  // namespace corvane::skin::win32

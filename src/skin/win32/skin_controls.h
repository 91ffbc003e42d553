// The skinned controls: one skin object per control of a skinned window. It
// sits in front of the control's message method (a control of the class
// library) or of its window procedure (any other window), lets the control
// do its own work and repaints it, wholly or in part, from the skin's
// pieces. The window's SkinControls owns them and releases them when the
// window is unskinned.
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

class TSkinControl {
 public:
  explicit TSkinControl(SkinControls* list) : list_(list) {}
  virtual ~TSkinControl();
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
  // A handler of the object is on the stack: it frees itself afterwards.
  bool InCall() const { return depth_ > 0; }
  // Released while a handler runs: it frees itself afterwards, no longer
  // part of any list.
  void FreeWhenIdle() {
    doomed_ = true;
    list_ = nullptr;
  }

  // What the last draw showed, for tests and the gallery.
  int LastImage() const { return last_image_; }
  COLORREF LastTextColour() const { return last_text_colour_; }
  int Paints() const { return paints_; }

  static void Enter(TSkinControl* self, ui::Message& m);

 protected:
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

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  std::unique_ptr<WindowSubclass> subclass_;
  WNDPROC own_proc_ = nullptr;
  // The control's own method, shared with the method put in front of it:
  // once the object has gone, that one only passes messages on.
  struct MethodLink {
    TSkinControl* self = nullptr;
    ui::MessageMethod own;
  };
  std::shared_ptr<MethodLink> link_;
  int depth_ = 0;
  bool doomed_ = false;
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

// The non-client scroll bars of a scrolling control, drawn and the thumb
// dragged by the skin object.
class TSkinScrollBar : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;
  void Paint(HDC dc) override;

  bool Dragging() const { return drag_bar_ >= 0; }
  // The thumb of a bar (SB_HORZ or SB_VERT) as last painted.
  const ThumbGeometry& Thumb(int bar) const { return bars_[bar == SB_VERT ? 1 : 0].thumb; }

 protected:
  struct Bar {
    ThumbGeometry thumb;
    SCROLLINFO seen{};  // what the bar showed when painted
    Rect rect;          // in window coordinates
    bool present = false;
  };
  // The bars of the window, and their thumbs recomputed.
  virtual void Layout();
  virtual int ScrollBarId(int index) const { return index == 1 ? SB_VERT : SB_HORZ; }
  virtual bool Vertical(int index) const { return index == 1; }
  // Where the scroll messages go, and their lParam.
  virtual HWND Notified() const { return window_; }
  virtual LPARAM NotifyParam() const { return 0; }
  void PaintBar(HDC dc, int index);
  bool ScrollInfoChanged();
  // The thumb drag loop; true when the press was on a thumb.
  bool TrackThumb(int index, POINT screen);
  int BarIndexAt(POINT screen) const;

  void PaintNow() { Paint(nullptr); }
  ThumbMetrics MetricsFor(bool vertical) const;

  Bar bars_[2];
  Rect corner_;
  int drag_bar_ = -1;
  int drag_offset_ = 0;
  int pressed_part_ = 0;  // the arrow being pressed: bar * 2 + 1 first, + 2 second
};

// A stand-alone scroll-bar control.
class TSkinScControl : public TSkinScrollBar {
 public:
  using TSkinScrollBar::TSkinScrollBar;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;

 protected:
  void Layout() override;
  int ScrollBarId(int) const override { return SB_CTL; }
  bool Vertical(int) const override;
  HWND Notified() const override { return GetParent(window_); }
  LPARAM NotifyParam() const override { return reinterpret_cast<LPARAM>(window_); }
};

// Header sections with hot and pressed states.
class TSkinHeader : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;

 private:
  int ItemAt(LPARAM client_point) const;
  int hot_item_ = -1, pressed_item_ = -1;
};

// A list view: its scroll bars, and its header window gets a TSkinHeader.
class TSkinListView : public TSkinScrollBar {
 public:
  using TSkinScrollBar::TSkinScrollBar;
  void AttachToControl(ui::Control& control, TSkinData& skin, bool recolour) override;
  void AttachToWindow(HWND window, TSkinData& skin) override;
  void Detach() override;
  TSkinHeader* Header() const { return header_.get(); }

 private:
  void AttachHeader();
  std::unique_ptr<TSkinHeader> header_;
};

// Tab controls: the tabs and the page border.
class TSkinTab : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;

 protected:
  int hot_item_ = -1;
};

// The same for a tab set; the class library has none, so nothing makes one
// but a host's own skinning handler.
class TSkinTab31 : public TSkinTab {
 public:
  using TSkinTab::TSkinTab;
};

// Track bars: the thumb from the Trackbar pieces.
class TSkinTrackBar : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;
};

// Up-down controls: both arrow buttons with hot and pressed states.
class TSkinUpDown : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;

 private:
  int PartAt(LPARAM client_point) const;
  int hot_part_ = 0, pressed_part_ = 0;  // 1 first, 2 second
};

// Progress bars: the frame and the chunks.
class TSkinProgress : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;
};

// Status bars: the bar and its panel edges.
class TSkinStatusBar : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;
};

// Makes the member for a decision of the mapping rules (null for none).
std::unique_ptr<TSkinControl> MakeSkinObject(SkinObject kind, SkinControls* list);

// A host's own choice of skin object for a control (OnSkinControl): return
// one to take the control over, or null to leave it to the rules.
using OnSkinControlHandler = std::function<std::unique_ptr<TSkinControl>(
    TWinSkinForm& sender, TSkinData& skin, ui::WinControl& container, ui::Control& control,
    const std::string& class_upper)>;
void SetOnSkinControl(const TSkinData& skin, OnSkinControlHandler handler);

// The skinned controls of one window, and the one that shows its hot state.
class SkinControls {
 public:
  // form may be null (controls skinned without a window object, in tests).
  SkinControls(TWinSkinForm* form, TSkinData& skin) : form_(form), skin_(skin) {}
  ~SkinControls() { Release(); }
  SkinControls(const SkinControls&) = delete;
  SkinControls& operator=(const SkinControls&) = delete;

  // The window's controls: a form's components by the form rules, a plain
  // window's children by their classes.
  void SkinChildren(ui::WinControl* form, HWND window);
  void SkinForm(ui::WinControl& container);
  void SkinWindowChildren(HWND parent);

  TSkinControl* AttachWindow(SkinObject kind, HWND window);
  TSkinControl* AttachControl(SkinObject kind, ui::Control& control, bool recolour);
  TSkinControl* Adopt(std::unique_ptr<TSkinControl> object);

  // Detach, then free: every control of the window.
  void Release();
  // A member whose control is gone leaves the list at once (freed now, or
  // when its running handler returns), so a new window that gets the same
  // handle is never taken for it.
  void Discard(TSkinControl* object);
  void Refresh();
  // The hover timer: the hot control is told when the mouse has left it.
  void HoverTick();

  TSkinControl* Find(HWND window) const;
  TSkinControl* Find(const ui::Control* control) const;
  bool Contains(const TSkinControl* object) const;
  std::size_t Count() const { return objects_.size(); }
  TSkinControl& At(std::size_t i) const { return *objects_[i]; }

  TSkinControl* HotControl() const { return hot_; }
  void SetHot(TSkinControl* c);
  void DropHot(const TSkinControl* c) {
    if (hot_ == c) hot_ = nullptr;
  }
  TWinSkinForm* Form() const { return form_; }
  TSkinData& Skin() const { return skin_; }

 private:
  void SkinOne(ui::WinControl& container, ui::Control& c);
  void ApplyDecision(const ControlDecision& d, ui::Control& c);

  TWinSkinForm* form_;
  TSkinData& skin_;
  std::vector<std::unique_ptr<TSkinControl>> objects_;
  TSkinControl* hot_ = nullptr;
};

// --- Drawing helpers shared by the members ---------------------------------

// The window's font, or the default GUI font.
HFONT WindowFont(HWND window);
// The pixels copied to (0, 0) of dc in one blit, with text drawn over them
// first: text gets a DC with the font and colour selected and a transparent
// background.
void BlitWithText(HDC dc, const Bitmap32& pixels, HFONT font, COLORREF colour,
                  const std::function<void(HDC)>& text);
// One piece state image: nine-part with the piece's margins and tile flag.
NinePart PieceParts(const TDataSkinObject& piece, int frames, int image);

}  // namespace corvane::skin::win32

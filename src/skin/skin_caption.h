// What a skinned caption does with the mouse and the keyboard: the hot,
// pressed and normal states of the title-bar buttons, hit testing, the
// buttons' actions and the system menu's rules. The Win32 layer feeds it
// window coordinates and carries out the commands it returns.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "skin/skin_geometry.h"

namespace corvane::skin {

namespace hit {
inline constexpr int kNowhere = 0;
inline constexpr int kCaption = 2;
inline constexpr int kMenu = 5;
}  // namespace hit

namespace sc {
inline constexpr unsigned kSize = 0xF000;
inline constexpr unsigned kMove = 0xF010;
inline constexpr unsigned kMinimize = 0xF020;
inline constexpr unsigned kMaximize = 0xF030;
inline constexpr unsigned kNextWindow = 0xF040;
inline constexpr unsigned kPrevWindow = 0xF050;
inline constexpr unsigned kClose = 0xF060;
inline constexpr unsigned kKeyMenu = 0xF100;
inline constexpr unsigned kRestore = 0xF120;
}  // namespace sc

// A WM_COMMAND that the system menu, shown as a plain popup, sends instead
// of WM_SYSCOMMAND.
bool IsSystemCommand(unsigned command);

enum WindowState { kStateNormal = 0, kStateMaximised = 1, kStateMinimised = 2 };
enum NcState { kNcNormal = 1, kNcPressed = 2, kNcHot = 3 };

class TNCObject;

// The part of the skinned window the non-client objects share: the hot
// element, and the painter of their redraws.
class NcForm {
 public:
  virtual ~NcForm() = default;
  TNCObject* Hot() const { return hot_; }
  void SetHot(TNCObject* o) { hot_ = o; }
  // Paints state image `image` of a title-bar button; the Win32 form draws
  // it into the window DC.
  virtual void PaintSysButton(const class TWinSysButton& /*button*/, int /*image*/) {}

 private:
  TNCObject* hot_ = nullptr;
};

// Everything clickable in the non-client area.
class TNCObject {
 public:
  explicit TNCObject(NcForm& form) : form_(form) {}
  virtual ~TNCObject();
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseMove();
  virtual void MouseLeave();
  virtual void Redraw() {}

  Rect rect;
  bool visible = true;
  int state = kNcNormal;

 protected:
  NcForm& form_;
};

class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(NcForm& form, const TDataSkinSysButton& data) : TNCObject(form), data_(data) {}
  const TDataSkinSysButton& Data() const { return data_; }
  void Redraw() override { form_.PaintSysButton(*this, MouseStateImage(data_, state)); }

 private:
  TDataSkinSysButton data_;
};

// The first visible title-bar button with an action of 0 or more under the
// point, else the first menu-bar item under it, else null.
TNCObject* ElementAt(const std::vector<TWinSysButton*>& buttons,
                     const std::vector<TNCObject*>& menu_items, Point window_point);

// WM_NCHITTEST after the own procedure answered: only HTNOWHERE is changed.
// window_y is the point's y in window coordinates.
int CaptionHitTest(int own_result, int window_y, int top);
// Client coordinates to window coordinates for the hit test.
Point ClientToWindowPoint(Point client, const FrameMetrics& f, bool minimised);

// WM_NCLBUTTONDOWN on no element: a maximised, active window is not moved by
// its title.
int ButtonDownHitCode(int hit_code, bool maximised, bool active);

// The hover timer: the hot element is left when the cursor is outside it.
bool HoverShouldLeave(const TNCObject* hot, Point cursor_window_point);

// --- Actions ---------------------------------------------------------------

enum class CaptionAction {
  kClose,           // stop the hover timer, post WM_CLOSE
  kMaximiseToggle,  // maximise, or restore when maximised
  kMinimiseToggle,  // minimise, or restore when minimised
  kSystemMenu,      // open the system menu at the point + (1, 1)
  kMdiMinimise,     // SC_MINIMIZE to the active MDI child
  kMdiRestore,
  kMdiClose,
  kPostAction,  // post kMsgSkinned with wParam = Action
};
CaptionAction ActionFor(int action);

// The system command a toggle sends, and the window state it sets.
struct WindowCommand {
  unsigned command = 0;
  int new_state = kStateNormal;
};
WindowCommand MaximiseToggle(int window_state);
WindowCommand MinimiseToggle(int window_state);
// WM_NCLBUTTONDBLCLK: restore from maximised or minimised, else maximise
// when the window has the box; command 0 means nothing.
WindowCommand TitleDoubleClick(int window_state, bool has_maximise_box);

// --- System menu -----------------------------------------------------------

struct SystemMenuItem {
  std::string caption;
  int tag = 0;  // the glyph, 100 for the separator
  std::string shortcut;
};
std::vector<SystemMenuItem> SystemMenuItems(unsigned border_icons);
// Restore, maximise and minimise are disabled in the state they lead to.
bool SystemMenuItemEnabled(int tag, int window_state);

// A second opening within the double-click time closes the window instead.
class SystemMenuClock {
 public:
  // true: open the menu (and remember now); false: close the window.
  bool Open(std::uint32_t now_ms, std::uint32_t double_click_ms);

 private:
  bool opened_ = false;
  std::uint32_t last_ = 0;
};

// The command of a chosen item.
enum class SystemMenuChoice { kNone, kRestore, kMaximiseToggle, kMinimiseToggle, kClose };
SystemMenuChoice ChooseSystemMenuItem(int tag);

// WM_SYSCOMMAND SC_KEYMENU: consumed so the system's menu mode does not
// start, when the skinned menu bar handles the key.
struct KeyMenuFacts {
  bool menu_tracking = false;
  unsigned command = 0;
  unsigned key = 0;
  bool mouse_captured = false;
  bool key_is_menu_accelerator = false;
};
bool ConsumeKeyMenu(const KeyMenuFacts& f);

}  // namespace corvane::skin

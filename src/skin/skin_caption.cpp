#include "skin/skin_caption.h"

namespace corvane::skin {

bool IsSystemCommand(unsigned c) {
  return c == sc::kSize || c == sc::kMove || c == sc::kMinimize || c == sc::kMaximize ||
         c == sc::kNextWindow || c == sc::kPrevWindow || c == sc::kClose || c == sc::kRestore;
}

TNCObject::~TNCObject() {
  if (form_.Hot() == this) form_.SetHot(nullptr);
}

void TNCObject::MouseDown() {
  TNCObject* previous = form_.Hot();
  if (previous && previous != this) previous->MouseLeave();
  if (!visible) return;
  form_.SetHot(this);
  state = kNcPressed;
  Redraw();
}

void TNCObject::MouseUp() {
  if (!visible) return;
  state = kNcHot;
  Redraw();
}

void TNCObject::MouseMove() {
  TNCObject* previous = form_.Hot();
  if (previous == this) return;
  if (previous) previous->MouseLeave();
  if (!visible) return;
  form_.SetHot(this);
  state = kNcHot;
  Redraw();
}

void TNCObject::MouseLeave() {
  if (!visible) return;
  if (form_.Hot() == this) form_.SetHot(nullptr);
  state = kNcNormal;
  Redraw();
}

TNCObject* ElementAt(const std::vector<TWinSysButton*>& buttons,
                     const std::vector<TNCObject*>& menu_items, Point p) {
  for (TWinSysButton* b : buttons)
    if (b->visible && b->Data().Action >= 0 && b->rect.Contains(p)) return b;
  for (TNCObject* item : menu_items)
    if (item->visible && item->rect.Contains(p)) return item;
  return nullptr;
}

int CaptionHitTest(int own_result, int window_y, int top) {
  if (own_result != hit::kNowhere) return own_result;
  int result = hit::kNowhere;
  if (window_y > 3) result = hit::kCaption;
  if (window_y > top) result = hit::kMenu;
  return result;
}

Point ClientToWindowPoint(Point client, const FrameMetrics& f, bool minimised) {
  if (minimised) return client;
  return {client.x + f.left, client.y + f.top + f.menu_bar};
}

int ButtonDownHitCode(int hit_code, bool maximised, bool active) {
  return maximised && active && hit_code == hit::kCaption ? hit::kMenu : hit_code;
}

bool HoverShouldLeave(const TNCObject* hot, Point p) { return hot && !hot->rect.Contains(p); }

CaptionAction ActionFor(int action) {
  switch (action) {
    case 0: return CaptionAction::kClose;
    case 1:
    case 22: return CaptionAction::kMaximiseToggle;
    case 2:
    case 23: return CaptionAction::kMinimiseToggle;
    case 3:
    case 11:
    case 12: return CaptionAction::kSystemMenu;
    case 7:
    case 60: return CaptionAction::kMdiMinimise;
    case 8:
    case 61: return CaptionAction::kMdiRestore;
    case 9:
    case 62: return CaptionAction::kMdiClose;
    default: return CaptionAction::kPostAction;
  }
}

WindowCommand MaximiseToggle(int state) {
  if (state == kStateMaximised) return {sc::kRestore, kStateNormal};
  return {sc::kMaximize, kStateMaximised};
}

WindowCommand MinimiseToggle(int state) {
  if (state == kStateMinimised) return {sc::kRestore, kStateNormal};
  return {sc::kMinimize, kStateMinimised};
}

WindowCommand TitleDoubleClick(int state, bool has_maximise_box) {
  if (state == kStateMaximised || state == kStateMinimised) return {sc::kRestore, kStateNormal};
  if (has_maximise_box) return {sc::kMaximize, kStateMaximised};
  return {0, state};
}

std::vector<SystemMenuItem> SystemMenuItems(unsigned icons) {
  std::vector<SystemMenuItem> items = {{" Restore ", 0, ""}};
  if (icons & kBiMaximize) items.push_back({" Maximize ", 1, ""});
  if (icons & kBiMinimize) items.push_back({" Minimize ", 2, ""});
  items.push_back({"-", 100, ""});
  items.push_back({" Close ", 3, "Shift+F4"});
  return items;
}

bool SystemMenuItemEnabled(int tag, int state) {
  switch (tag) {
    case 0: return state != kStateNormal;
    case 1: return state != kStateMaximised;
    case 2: return state != kStateMinimised;
    default: return true;
  }
}

bool SystemMenuClock::Open(std::uint32_t now, std::uint32_t double_click) {
  // Unsigned difference: the tick count wraps after 49 days.
  if (opened_ && now - last_ <= double_click) {
    opened_ = false;
    return false;
  }
  opened_ = true;
  last_ = now;
  return true;
}

SystemMenuChoice ChooseSystemMenuItem(int tag) {
  switch (tag) {
    case 0: return SystemMenuChoice::kRestore;
    case 1: return SystemMenuChoice::kMaximiseToggle;
    case 2: return SystemMenuChoice::kMinimiseToggle;
    case 3: return SystemMenuChoice::kClose;
    default: return SystemMenuChoice::kNone;
  }
}

bool ConsumeKeyMenu(const KeyMenuFacts& f) {
  if (f.menu_tracking || (f.command & 0xFFF0) != sc::kKeyMenu || f.mouse_captured) return false;
  if (f.key == 32 || f.key == 45) return false;
  return f.key == 0 || f.key_is_menu_accelerator;
}

}  // namespace corvane::skin

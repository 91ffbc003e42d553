// A hook for a skin that draws the program's popup menus itself. While one is
// set, a popup menu is offered to it before it is shown, and the owner-drawn
// items' measure and draw messages are handed to it by whichever of the
// program's windows receives them.
#pragma once
#include <windows.h>

#include <memory>

namespace corvane::ui {
class PopupMenu;
}

namespace corvane::ui::win32 {

class PopupMenuSkin {
 public:
  virtual ~PopupMenuSkin() = default;
  // The menu built for `menu` is about to be shown: the skin may make its
  // items owner-drawn for as long as the returned scope lives (null: the
  // system draws it).
  virtual std::shared_ptr<void> Begin(PopupMenu& menu, HMENU built) = 0;
  // WM_MEASUREITEM or WM_DRAWITEM; true when the item was the skin's.
  virtual bool ItemMessage(UINT msg, LPARAM lp) = 0;
};

// The skin in use, or null.
void SetPopupMenuSkin(PopupMenuSkin* skin);
PopupMenuSkin* CurrentPopupMenuSkin();
// For window procedures: true when the message was a skinned item's.
bool RoutePopupMenuItemMessage(UINT msg, LPARAM lp);

}  // namespace corvane::ui::win32

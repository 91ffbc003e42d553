// Skinned menus on real windows: the menu bar a skinned window shows in its
// own non-client area (TWinSkinMenu, one TMenuBtn per top-level item), the
// owner-drawn items drawn with the skin's MenuItem piece, and the border of
// every popup menu window with its MenuBackground piece (TWinSkinPopMenu).
// The layout rules are the portable core's.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/skin_caption.h"
#include "skin/skin_data.h"
#include "skin/skin_menu.h"
#include "skin/win32/skin_owners.h"
#include "skin/win32/skin_registry.h"
#include "ui/win32/gdi.h"

namespace corvane::skin::win32 {

// How an owner-drawn item is measured.
enum class MenuKind {
  kPlain,   // a menu that is no host menu: measured from its caption
  kHost,    // a popup menu of the control library
  kBarSub,  // a sub-menu opened from the skinned bar
  kSystem,  // the skinned system menu: the engine's glyphs as images
};

// While it lives, every item of a menu (and of its sub-menus, when asked)
// is owner-drawn by the skin; the items keep their strings, so whoever reads
// the menu still finds its texts. Afterwards each item gets its own type and
// item data back.
class OwnerDrawnMenu {
 public:
  OwnerDrawnMenu(HMENU menu, TSkinData& skin, MenuKind kind, bool recursive);
  ~OwnerDrawnMenu();
  OwnerDrawnMenu(const OwnerDrawnMenu&) = delete;
  OwnerDrawnMenu& operator=(const OwnerDrawnMenu&) = delete;
  std::size_t Count() const { return records_.size(); }
  // The system's menu font, plain or bold (a default entry), made once for
  // the menu's opening.
  HFONT Font(bool bold) const;
  // The DC its entries are measured on, taken once for the menu's opening.
  HDC MeasureDc() const;

  struct Record {
    HMENU menu;
    UINT position;
    MenuKind kind;
    TSkinData* skin;
    UINT old_type;
    ULONG_PTR old_data;
    const OwnerDrawnMenu* owner;
  };

 private:
  void Convert(HMENU menu, bool recursive, int depth);
  std::vector<std::unique_ptr<Record>> records_;
  TSkinData& skin_;
  MenuKind kind_;
  mutable FontHandle font_, bold_font_;
  mutable std::unique_ptr<WindowDc> measure_dc_;
};

// WM_MEASUREITEM or WM_DRAWITEM of an item an OwnerDrawnMenu made; false
// for every other item (the window's own handling then runs).
bool SkinnedMenuItemMessage(UINT msg, LPARAM lp);

// --- Popup menu windows ----------------------------------------------------------

class TWinSkinPopMenu : public SkinnedWindow {
 public:
  TWinSkinPopMenu(TSkinData& skin, HWND popup, bool from_bar);
  ~TWinSkinPopMenu() override;
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  bool Attached() const { return Subclassed(); }
  HWND Window() const { return window_; }
  bool FromBar() const { return from_bar_; }
  // The menu it shows, asked from the window the first time.
  HMENU Menu();
  // The MenuBackground piece at the window's size; empty without a piece.
  const Bitmap32& Background();
  // Where the client area's origin lies in the window (the border).
  POINT ClientOffset() const;

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  LRESULT Own(UINT msg, WPARAM wp, LPARAM lp);
  bool HasBackground() const;
  void RenderBackground();
  // The background in a memory DC, for the ring and the whole popup.
  DibSurface* Surface(HDC reference);
  void PaintRing(HDC window_dc);
  void PaintWhole(HDC client_dc);

  TSkinData& skin_;
  HWND window_;
  bool from_bar_;
  HMENU menu_ = nullptr;
  Bitmap32 background_;
  KeptSurface surface_;
};

// The manager's popup skins and the menu-tracking flag.
class PopupMenuSkins {
 public:
  ~PopupMenuSkins();
  void Add(TSkinData& skin, HWND popup);
  // HCBT_DESTROYWND: the popup's skin goes; with the last one the
  // menu-tracking flag is cleared.
  void Remove(HWND popup);
  TWinSkinPopMenu* Find(HWND popup) const;
  TWinSkinPopMenu* ForMenu(HMENU menu) const;
  std::size_t Count() const { return popups_.size(); }
  // The open popups, oldest first.
  std::vector<TWinSkinPopMenu*> Open() const;
  bool tracking = false;

 private:
  std::vector<std::unique_ptr<TWinSkinPopMenu>> popups_;
};

// The program's popup menus (the control library's) owner-drawn while a
// skin that asks for it is active.
void InstallProgramMenuSkin();
void RemoveProgramMenuSkin();

// --- The menu bar ----------------------------------------------------------------

class TWinSkinMenu;

class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(NcForm& form, TWinSkinMenu& bar, int index) : TNCObject(form), bar_(bar), index_(index) {}
  void Redraw() override;
  int Index() const { return index_; }

  std::string caption;
  bool enabled = true;
  UINT id = 0;
  HMENU sub = nullptr;

 private:
  TWinSkinMenu& bar_;
  int index_;
};

// Shared: a menu opened from the bar keeps the bar alive until
// TrackPopupMenu returns, whatever detaches the window meanwhile.
class TWinSkinMenu : public std::enable_shared_from_this<TWinSkinMenu> {
 public:
  // Takes the window's menu and removes it from the window; the client
  // area keeps its size.
  TWinSkinMenu(NcForm& form, TSkinData& skin, HWND window);
  // A menu not given back goes with this object (its window is going).
  ~TWinSkinMenu();
  TWinSkinMenu(const TWinSkinMenu&) = delete;
  TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

  // The window shows its own menu again.
  void GiveBack();
  // The window lets go of the bar: the menu goes back to it (unless it is
  // going) and the items go. An open menu of the bar then ends without
  // touching the window, the form or the items again.
  void Release(bool give_back);
  bool Released() const { return released_; }
  // A menu the window set while skinned replaces the bar's.
  void TakeNewMenu();
  HMENU Menu() const { return menu_.get(); }
  std::size_t Count() const { return items_.size(); }
  TMenuBtn& Item(std::size_t i) { return *items_[i]; }
  std::vector<TNCObject*> Elements() const;
  TMenuBtn* ItemOf(const TNCObject* element) const;
  // The bar rectangle (window coordinates) of the last paint.
  const Rect& BarRect() const { return bar_; }

  // Paints the bar into the window DC at bar (window coordinates); over
  // draws on the bar's pixels (bar coordinates) before they are shown.
  void Paint(HDC window_dc, const Rect& bar, bool active,
             const std::function<void(Bitmap32& canvas, const Rect& bar)>& over = {});
  // The bar's background (no items) under a rectangle in window
  // coordinates; empty before the first paint.
  Bitmap32 BackgroundUnder(const Rect& window_rect) const;
  void RedrawItem(const TMenuBtn& item);
  // The skin changed: the background is rendered again at the next paint.
  void DropBackground() { background_.Clear(); }

  // The first enabled item whose caption has key as its accelerator, or -1.
  int AcceleratorItem(unsigned key) const;
  // Alt or F10 (key 0) opens the first menu, an accelerator its item's.
  void OpenByKey(unsigned key);
  // A click: a command item acts, a sub-menu opens.
  void Open(TMenuBtn& item);
  bool Tracking() const { return tracking_; }
  // The item whose menu is open, -1 when none.
  int OpenIndex() const { return open_; }

 private:
  friend struct MenuTracking;
  void Track(int index, bool by_keyboard);
  void ReadItems();
  std::vector<MenuBarEntry> Entries() const;
  void DrawCaption(HDC dc, const TMenuBtn& item, const Rect& r) const;
  void DrawItemFace(Bitmap32& canvas, const TMenuBtn& item, const Rect& r) const;
  bool RightToLeft() const;

  NcForm& form_;
  TSkinData& skin_;
  HWND window_;
  FontHandle font_;  // the system's menu font, made with the bar
  ui::win32::MenuHandle menu_;
  std::vector<std::unique_ptr<TMenuBtn>> items_;
  Rect bar_;
  Bitmap32 background_;
  bool background_active_ = false;
  bool active_ = true;
  bool tracking_ = false;
  bool released_ = false;
  int open_ = -1;
};

}  // namespace corvane::skin::win32

// The skinned menus' rules, apart from the windows: where the bar's items go,
// which item an accelerator or an arrow key leads to while a menu is open,
// how big an owner-drawn item is and where its glyph, caption and shortcut
// go, and the pixels of the bar, the separator strip and a popup's border.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "skin/skin_data.h"
#include "skin/skin_render.h"

namespace corvane::skin {

// --- Captions ----------------------------------------------------------------

// The accelerator of a caption: the upper-case character after the first
// single '&' ("&&" is a literal ampersand, a double-byte character after '&'
// is none); 0 when there is none.
char MenuAccelerator(std::string_view caption);
// The caption before the tab and the shortcut after it ("Close\tShift+F4").
struct CaptionParts {
  std::string text;
  std::string shortcut;
};
CaptionParts SplitShortcut(std::string_view caption);

// --- The bar -------------------------------------------------------------------

struct MenuBarEntry {
  std::string caption;  // at most 80 bytes, whole characters
  bool enabled = true;
  bool visible = true;
  bool has_sub = true;  // opens a menu; a command item only acts
};

// The first item's edge: from the left, or from the right end for a
// right-to-left menu.
int FirstTextPosition(int bar_width, const TDataSkinObject* bar_piece, bool right_to_left);

// One rectangle per entry, in the bar's coordinates: text width + 10 wide
// (0 for an empty caption or a hidden entry), the bar's height - 1 high,
// one after another from the first text position.
std::vector<Rect> LayOutMenuBar(const Rect& bar, const std::vector<int>& text_widths,
                                const std::vector<MenuBarEntry>& entries, int first_position,
                                bool right_to_left);

// The bar's background: the menu-bar piece (state image 1 active, 2
// inactive, of 2 stacked vertically), nine-part with a stretched middle when
// its Tile is 1, else ends and a repeated middle slice; the Menubar colour
// without a piece or where the piece does not reach. `menubar` is an RGB
// colour already resolved.
Bitmap32 RenderMenuBarBackground(int width, int height, const TDataSkinObject* bar_piece,
                                 bool active, std::uint32_t menubar_rgb);

// The first enabled, visible entry whose caption has key as its accelerator
// (without regard to case); -1 when none.
int FindAcceleratorEntry(const std::vector<MenuBarEntry>& entries, char key);

// --- Tracking --------------------------------------------------------------------

inline constexpr unsigned kVkLeft = 0x25;
inline constexpr unsigned kVkRight = 0x27;
// A right-to-left menu swaps the arrow keys.
unsigned ArrowForDirection(unsigned vk, bool right_to_left);

// What the menu loop knows when an arrow key comes.
struct TrackingKey {
  unsigned vk = 0;
  int open = -1;                   // the bar entry whose menu is open
  bool has_current = false;        // an item is selected
  bool current_in_open_menu = false;  // ... and it belongs to the open menu itself
  bool current_has_sub_items = false;
};
// The bar entry the key switches to, or -1 to leave the key to the menu:
// left goes to the previous entry (the last after the first), right to the
// next (the first after the last). Entries that open no menu (hidden,
// disabled, empty or command items) are passed over: landing on one would
// end the menu mode or run its command.
int ArrowTarget(const TrackingKey& k, const std::vector<MenuBarEntry>& entries);

// The entry under a point of the bar, -1 when none.
int EntryAt(const std::vector<Rect>& rects, Point p);

// --- Items in popups ---------------------------------------------------------

struct ItemSize {
  int width = 0, height = 0;
};
// An item that is not one of the host's menu items: caption width + 26,
// + the MenuItem piece's LeftWidth; height text + 4, a separator 8; + 4
// more on the Windows 95 family.
ItemSize MeasurePlainMenuItem(int caption_width, int caption_height, bool separator,
                              const TDataSkinObject* item_piece, bool win95_family);
// A host menu item in a popup menu: its own width + LeftWidth + 12, and 23
// more without an image list.
int MeasureFormMenuItemWidth(int own_width, const TDataSkinObject* item_piece, bool has_images);
// A sub-menu item of the skinned bar: own width + LeftWidth + 10, and 25
// more without an image list.
int MeasureBarSubItemWidth(int own_width, const TDataSkinObject* item_piece, bool has_images);

struct MenuItemContentInput {
  Rect item;
  const TDataSkinObject* item_piece = nullptr;
  int image_width = 0;  // 0: no image list (16 is used)
  bool checked = false;
  bool separator = false;
  int caption_width = 0, caption_height = 0;
  bool right_to_left = false;
};
struct MenuItemContent {
  Rect glyph;      // empty for a separator
  Rect caption;    // the caption's box, centred vertically
  Rect shortcut;   // right-aligned (left-aligned mirrored), 10 pixels from the edge
  Rect separator;  // the etched line's rectangle
};
MenuItemContent LayOutMenuItem(const MenuItemContentInput& in);

// The part of the MenuItem image the separator strip comes from: the second
// of five state images, its bottom `item_height` rows when it is taller.
Rect SeparatorSource(const TDataSkinObject& item_piece, int item_height);
// The separator strip over an item's rectangle of dst: LeftWidth and
// RightWidth ends, the middle stretched, magenta transparent.
void DrawSeparatorStrip(Bitmap32& dst, const Rect& item, const TDataSkinObject& item_piece);
// The MenuItem piece over an item: state image 1 (4 when selected) of 5
// side by side, nine-part, tiled when its Tile is 1, magenta transparent
// when its Trans is 1.
void DrawMenuItemPiece(Bitmap32& dst, const Rect& item, const TDataSkinObject& item_piece,
                       bool selected);

// A popup's background: the MenuBackground piece at the window's size.
Bitmap32 RenderMenuBackground(int width, int height, const TDataSkinObject& background);
// The outer ring a popup's border is painted with: top, bottom, left and
// right strips `thickness` pixels wide, none when the window is too small.
std::vector<Rect> BorderRing(int width, int height, int thickness = 3);

}  // namespace corvane::skin

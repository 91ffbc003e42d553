// The geometry of a skinned frame: what kind of frame a window has, how
// thick the skin makes it, where the pieces, the title text and the
// title-bar buttons go. Styles are the Windows bit values.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/text.h"
#include "skin/skin_data.h"
#include "skin/skin_render.h"

namespace corvane::skin {

namespace style {
inline constexpr std::uint32_t kPopup = 0x80000000u;
inline constexpr std::uint32_t kChild = 0x40000000u;
inline constexpr std::uint32_t kCaption = 0x00C00000u;
inline constexpr std::uint32_t kVScroll = 0x00200000u;
inline constexpr std::uint32_t kHScroll = 0x00100000u;
inline constexpr std::uint32_t kSysMenu = 0x00080000u;
inline constexpr std::uint32_t kThickFrame = 0x00040000u;
inline constexpr std::uint32_t kMinimizeBox = 0x00020000u;
inline constexpr std::uint32_t kMaximizeBox = 0x00010000u;
inline constexpr std::uint32_t kCaptionButtons = kSysMenu | kMinimizeBox | kMaximizeBox;  // 0xB0000
inline constexpr std::uint32_t kExWindowEdge = 0x00000100u;
inline constexpr std::uint32_t kExMdiChild = 0x00000040u;
inline constexpr std::uint32_t kExLeftScrollBar = 0x00004000u;
}  // namespace style

// The kinds of frame a window gets; the values are the skin's.
enum WindowFrameKind : int {
  kFrameSizeable = 0,  // sizeable or with a window edge
  kFrameBare = 2,      // a popup without the full caption: no frame at all
  kFrameFixed = 3,     // anything else
};
WindowFrameKind FrameKind(std::uint32_t style, std::uint32_t ex_style);

enum BorderIcon : unsigned { kBiMaximize = 1, kBiMinimize = 2, kBiSystemMenu = 4 };
unsigned BorderIcons(std::uint32_t style, bool has_system_menu);

// Caption buttons the system would draw come off while the skin draws its
// own; putting them back restores only those the window had at attach.
inline std::uint32_t WithoutCaptionButtons(std::uint32_t s) { return s & ~style::kCaptionButtons; }
inline std::uint32_t WithCaptionButtons(std::uint32_t s, std::uint32_t at_attach) {
  return s | (at_attach & style::kCaptionButtons);
}

struct FrameMetrics {
  int left = 0, top = 0, right = 0, bottom = 0;
  int menu_bar = 0;
};
// From the frame pieces' image sizes and frame counts; frame kind 2 has none.
FrameMetrics ComputeFrameMetrics(const SkinModel& m, WindowFrameKind frame_kind, int menu_bar_height);

struct Size {
  int width = 0, height = 0;
};
// The window size that keeps the client size under the skin's frame.
Size WindowSizeForClient(Size client, const FrameMetrics& f);

// WM_NCCALCSIZE: the client rectangle for a proposed window rectangle.
Rect ClientRectForWindow(const Rect& window, const FrameMetrics& f);

// Where the frame pieces go in a W x H window.
Rect FramePieceRect(FramePiece p, int w, int h, const FrameMetrics& f);
// How a frame piece is rendered: margins, stacking, state image, tiling.
NinePart FramePieceLayout(const TDataSkinBorder& piece, FramePiece p, bool active);
// The piece rendered to the size of its place (empty when it has none).
Bitmap32 RenderFramePiece(const SkinModel& m, FramePiece p, int w, int h, const FrameMetrics& f,
                          bool active);

// --- Title text -----------------------------------------------------------

struct TitleTextInput {
  int window_width = 0;
  FrameMetrics frame;
  int text_width = 0, text_height = 0;  // the window text and three blanks, measured
  bool popup = false;                   // WS_POPUP
  bool right_to_left = false;
  int right_buttons_left = 0;  // largest left edge of right-aligned buttons, last layout
};
struct TitleTextLayout {
  Rect title;       // (left, 0, W - right, top)
  Rect box;         // the text box, remembered for button alignment
  Rect text;        // where the text is drawn, ending in an ellipsis if it must
  int dx = 0, dy = 0;
};
TitleTextLayout LayoutTitleText(const TDataSkinTitle& t, const TitleTextInput& in);

// The longest prefix of text, whole characters only, that fits with "..."
// into max_width, given the width of a text; the whole text when it fits.
// width_of is the caption font's measure.
template <class Measure>
std::string EndEllipsis(const std::string& s, int max_width, Measure width_of);

// --- Title-bar buttons ------------------------------------------------------

struct ButtonWindowFacts {
  WindowFrameKind frame_kind = kFrameSizeable;
  unsigned border_icons = 0;
  bool maximised = false;
  bool active = true;
  bool mdi_child_maximised = false;  // the MDI parent's active child
  int menu_bar_height = 0;
};
bool VisibilityCode(int code, const TDataSkinSysButton& b, const ButtonWindowFacts& w, bool first);
bool ButtonVisible(const TDataSkinSysButton& b, const ButtonWindowFacts& w);

struct ButtonLayoutInput {
  int window_width = 0;
  FrameMetrics frame;
  Rect text_box;  // from the title text layout
  bool right_to_left = false;
  int menu_bar_left_width = 0;  // the menu-bar piece's LeftWidth, 0 without one
};
struct ButtonPlace {
  bool visible = false;
  Rect rect;  // empty when the button is not placed
};
// One place per button; *right_buttons_left gets the largest left edge of
// the Align 1 buttons (unchanged when there are none).
std::vector<ButtonPlace> LayoutButtons(const std::vector<TDataSkinSysButton>& buttons,
                                       const ButtonWindowFacts& w, const ButtonLayoutInput& in,
                                       int* right_buttons_left);

// The skin's title-bar buttons as a window uses them: an Action 3 or 11
// button without an image shows the window's small icon as one image (and
// the skin's application icon becomes that icon when it has none).
std::vector<TDataSkinSysButton> WindowTitleButtons(const std::vector<TDataSkinSysButton>& skin,
                                                   const Bitmap32& small_icon, Bitmap32& app_icon);

// The state image drawn during frame painting, and on a mouse redraw.
int PaintStateImage(const TDataSkinSysButton& b, bool active);
int MouseStateImage(const TDataSkinSysButton& b, int state);

template <class Measure>
std::string EndEllipsis(const std::string& s, int max_width, Measure width_of) {
  if (width_of(s) <= max_width) return s;
  std::string best = "...";
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t next = std::min(i + std::max<std::size_t>(text::CharLength(s, i), 1), s.size());
    std::string candidate = s.substr(0, next) + "...";
    if (width_of(candidate) > max_width) break;
    best = std::move(candidate);
    i = next;
  }
  return best;
}

}  // namespace corvane::skin

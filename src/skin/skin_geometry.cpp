#include "skin/skin_geometry.h"

#include <algorithm>

namespace corvane::skin {

WindowFrameKind FrameKind(std::uint32_t s, std::uint32_t ex) {
  if ((s & style::kPopup) && (s & style::kCaption) != style::kCaption) return kFrameBare;
  if ((s & style::kThickFrame) || (ex & style::kExWindowEdge)) return kFrameSizeable;
  return kFrameFixed;
}

unsigned BorderIcons(std::uint32_t s, bool has_system_menu) {
  unsigned icons = 0;
  if (s & style::kMaximizeBox) icons |= kBiMaximize;
  if (s & style::kMinimizeBox) icons |= kBiMinimize;
  if ((s & style::kSysMenu) || has_system_menu) icons |= kBiSystemMenu;
  return icons;
}

FrameMetrics ComputeFrameMetrics(const SkinModel& m, WindowFrameKind frame_kind, int menu_bar_height) {
  FrameMetrics f;
  if (frame_kind == kFrameBare) return f;
  auto across = [&](FramePiece p) {
    return m.Frames[p].Image.Width() / std::max(m.Frames[p].FrameCount, 1);
  };
  auto down = [&](FramePiece p) {
    return m.Frames[p].Image.Height() / std::max(m.Frames[p].FrameCount, 1);
  };
  f.left = across(kFrameLeft);
  f.right = across(kFrameRight);
  f.top = down(kFrameTop);
  f.bottom = down(kFrameBottom);
  f.menu_bar = std::max(menu_bar_height, 0);
  return f;
}

Size WindowSizeForClient(Size client, const FrameMetrics& f) {
  return {client.width + f.left + f.right, client.height + f.top + f.menu_bar + f.bottom};
}

Rect ClientRectForWindow(const Rect& w, const FrameMetrics& f) {
  Rect c{w.left + f.left, w.top + f.top + f.menu_bar, w.right - f.right, w.bottom - f.bottom};
  // A window smaller than its frame gets an empty client, never an inverted one.
  c.right = std::max(c.right, c.left);
  c.bottom = std::max(c.bottom, c.top);
  return c;
}

Rect FramePieceRect(FramePiece p, int w, int h, const FrameMetrics& f) {
  switch (p) {
    case kFrameLeft: return {0, 0, f.left, h};
    case kFrameRight: return {w - f.right, 0, w, h};
    case kFrameTop: return {f.left, 0, w - f.right, f.top};
    case kFrameBottom: return {f.left, h - f.bottom, w - f.right, h};
  }
  return {};
}

NinePart FramePieceLayout(const TDataSkinBorder& piece, FramePiece p, bool active) {
  NinePart n;
  n.n = std::max(piece.FrameCount, 1);
  n.k = active || n.n == 1 ? 1 : 2;
  n.tile = piece.Tile != 1;
  if (p == kFrameLeft || p == kFrameRight) {
    n.stacking = Stacking::kSideBySide;
    n.top = piece.TopHeight;
    n.bottom = piece.BottomHeight;
  } else {
    n.stacking = Stacking::kVertical;
    n.left = piece.LeftWidth;
    n.right = piece.RightWidth;
  }
  return n;
}

Bitmap32 RenderFramePiece(const SkinModel& m, FramePiece p, int w, int h, const FrameMetrics& f,
                          bool active) {
  const Rect r = FramePieceRect(p, w, h, f);
  if (r.Empty()) return {};
  return RenderNinePart(r.Width(), r.Height(), m.Frames[p].Image,
                        FramePieceLayout(m.Frames[p], p, active));
}

TitleTextLayout LayoutTitleText(const TDataSkinTitle& t, const TitleTextInput& in) {
  TitleTextLayout out;
  const FrameMetrics& f = in.frame;
  out.title = {f.left, 0, in.window_width - f.right, f.top};
  const int title_w = out.title.Width(), title_h = out.title.Height();
  const int ends = t.TXTBackleft + t.TXTBackRight;
  const int text_shift = t.LeftWidth, shift_vert = t.TopHeight, right_clip = t.RightWidth;
  out.box = {out.title.left, out.title.top, out.title.left + in.text_width + ends,
             out.title.top + in.text_height};
  const int right_aligned = title_w - right_clip - in.text_width - ends;
  switch (in.right_to_left ? 2 : t.TextAlignment) {
    case 0: out.dx = text_shift; break;
    case 1: out.dx = (title_w - in.text_width - ends) / 2; break;
    case 2: out.dx = right_aligned; break;
    default: out.dx = 0;
  }
  out.dy = (title_h - in.text_height) / 2 + shift_vert / 2;
  out.box = out.box.Offset(out.dx, out.dy);
  if (in.popup && in.right_buttons_left > 0) {
    // The box reaches the right-hand buttons but never runs under them.
    out.box.right = in.right_buttons_left - 5;
  } else if (out.box.right > out.title.right - right_clip) {
    out.box.right = out.title.right - right_clip;
  }
  out.text = {out.box.left + t.TXTBackleft, out.box.top, out.box.right - t.TXTBackRight,
              out.box.bottom};
  return out;
}

bool VisibilityCode(int code, const TDataSkinSysButton& b, const ButtonWindowFacts& w, bool first) {
  const bool max_box = w.border_icons & kBiMaximize, min_box = w.border_icons & kBiMinimize;
  const bool sys_menu = w.border_icons & kBiSystemMenu;
  switch (code) {
    case 0: return first ? w.frame_kind != kFrameFixed && (b.Action != 0 || sys_menu) : true;
    case 1: return w.maximised;
    case 2: return !w.maximised;
    case 3: return w.active;
    case 4: return !w.active;
    case 6: return first ? max_box && sys_menu : max_box;
    case 7: return !max_box;
    case 8: return first ? min_box && sys_menu : min_box;
    case 9: return !min_box;
    case 100: return w.mdi_child_maximised && w.menu_bar_height > 0;
    default: return code >= 200 && code <= 2000;
  }
}

bool ButtonVisible(const TDataSkinSysButton& b, const ButtonWindowFacts& w) {
  if (b.Action == 1 && !(w.border_icons & kBiMaximize)) return false;
  if (b.Action == 2 && !(w.border_icons & kBiMinimize)) return false;
  return VisibilityCode(b.Visibility, b, w, true) && VisibilityCode(b.Visibility1, b, w, false);
}

std::vector<ButtonPlace> LayoutButtons(const std::vector<TDataSkinSysButton>& buttons,
                                       const ButtonWindowFacts& w, const ButtonLayoutInput& in,
                                       int* right_buttons_left) {
  std::vector<ButtonPlace> places(buttons.size());
  bool any_right = false;
  int right_left = 0;
  const FrameMetrics& f = in.frame;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const TDataSkinSysButton& b = buttons[i];
    ButtonPlace& place = places[i];
    place.visible = ButtonVisible(b, w);
    if (!place.visible || b.Image.Empty()) continue;
    const int bw = b.Image.Width() / std::max(b.FrameCount, 1), bh = b.Image.Height();
    int x = 0, y = b.Ycoord;
    switch (b.Align) {
      case 0: x = b.Xcoord; break;
      case 1:
        x = in.window_width - b.Xcoord;
        right_left = any_right ? std::max(right_left, x) : x;
        any_right = true;
        break;
      case 2:
      case 8: x = in.text_box.left - bw - b.Xcoord; break;
      case 3:
      case 9: x = in.text_box.right + b.Xcoord; break;
      case 100:
        y = f.top + (f.menu_bar - bh) / 2;
        x = in.right_to_left ? b.Xcoord + in.menu_bar_left_width + f.left
                             : in.window_width - b.Xcoord - f.right - in.menu_bar_left_width;
        break;
      default: continue;  // an alignment the engine does not know: not placed
    }
    place.rect = Rect::FromBounds(x, y, bw, bh);
  }
  if (any_right && right_buttons_left) *right_buttons_left = right_left;
  return places;
}

std::vector<TDataSkinSysButton> WindowTitleButtons(const std::vector<TDataSkinSysButton>& skin,
                                                   const Bitmap32& small_icon, Bitmap32& app_icon) {
  std::vector<TDataSkinSysButton> out = skin;
  for (TDataSkinSysButton& b : out) {
    if ((b.Action != 3 && b.Action != 11) || !b.Image.Empty()) continue;
    b.Image = small_icon;
    if (app_icon.Empty()) app_icon = small_icon;
    b.FrameCount = 1;
  }
  return out;
}

int PaintStateImage(const TDataSkinSysButton& b, bool active) {
  return active || b.FrameCount < 4 ? 1 : 4;
}

int MouseStateImage(const TDataSkinSysButton& b, int state) {
  return b.Visibility == 100 && state == 3 ? 4 : state;
}

}  // namespace corvane::skin

#include "skin/skin_menu.h"

#include <algorithm>
#include <cctype>

#include "core/text.h"

namespace corvane::skin {

char MenuAccelerator(std::string_view caption) {
  for (std::size_t i = 0; i < caption.size(); i += text::CharLength(caption, i)) {
    if (caption[i] != '&' || i + 1 >= caption.size()) continue;
    if (caption[i + 1] == '&') {
      ++i;  // a literal ampersand
      continue;
    }
    if (text::CharLength(caption, i + 1) != 1) return 0;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

CaptionParts SplitShortcut(std::string_view caption) {
  for (std::size_t i = 0; i < caption.size(); i += text::CharLength(caption, i)) {
    if (caption[i] == '\t')
      return {std::string(caption.substr(0, i)), std::string(caption.substr(i + 1))};
  }
  return {std::string(caption), {}};
}

// --- The bar -------------------------------------------------------------------

int FirstTextPosition(int bar_width, const TDataSkinObject* piece, bool rtl) {
  if (!piece) return 6;
  const int pos = rtl ? piece->RightWidth + 8 : piece->LeftWidth + 4;
  return bar_width < pos ? 12 : pos;
}

std::vector<Rect> LayOutMenuBar(const Rect& bar, const std::vector<int>& widths,
                                const std::vector<MenuBarEntry>& entries, int first, bool rtl) {
  std::vector<Rect> out;
  const int height = std::max(bar.Height() - 1, 0);
  int x = first;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int tw = i < widths.size() ? widths[i] : 0;
    const int w = entries[i].caption.empty() || !entries[i].visible ? 0 : std::max(tw, 0) + 10;
    if (rtl) {
      out.push_back({bar.right - x - w, bar.top, bar.right - x, bar.top + height});
    } else {
      out.push_back({bar.left + x, bar.top, bar.left + x + w, bar.top + height});
    }
    x += w;
  }
  return out;
}

Bitmap32 RenderMenuBarBackground(int width, int height, const TDataSkinObject* piece, bool active,
                                 std::uint32_t menubar_rgb) {
  if (width <= 0 || height <= 0) return {};
  Bitmap32 out(width, height, 0xFF000000u | (menubar_rgb & 0xFFFFFFu));
  if (!piece || piece->Image.Empty()) return out;
  const int k = active ? 1 : 2;
  if (piece->Tile == 1) {
    NinePart p;
    p.n = 2;
    p.k = k;
    p.stacking = Stacking::kVertical;
    p.left = piece->LeftWidth;
    p.right = piece->RightWidth;
    Blit(out, 0, 0, RenderNinePart(width, height, piece->Image, p), false);
  } else {
    DrawThreePartStrip(out, {0, 0, width, height}, piece->Image, k, piece->LeftWidth,
                       piece->RightWidth);
  }
  return out;
}

namespace {
bool CanOpen(const MenuBarEntry& e) {
  return e.visible && e.enabled && e.has_sub && !e.caption.empty();
}
}  // namespace

int FindAcceleratorEntry(const std::vector<MenuBarEntry>& entries, char key) {
  const char want = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
  if (want == 0) return -1;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i].enabled && entries[i].visible && MenuAccelerator(entries[i].caption) == want)
      return static_cast<int>(i);
  return -1;
}

// --- Tracking --------------------------------------------------------------------

unsigned ArrowForDirection(unsigned vk, bool rtl) {
  if (!rtl) return vk;
  if (vk == kVkLeft) return kVkRight;
  if (vk == kVkRight) return kVkLeft;
  return vk;
}

int ArrowTarget(const TrackingKey& k, const std::vector<MenuBarEntry>& entries) {
  int step = 0;
  if (k.vk == kVkLeft && (!k.has_current || k.current_in_open_menu)) step = -1;
  if (k.vk == kVkRight && (!k.has_current || !k.current_has_sub_items)) step = 1;
  const int n = static_cast<int>(entries.size());
  if (step == 0 || n == 0 || k.open < 0 || k.open >= n) return -1;
  for (int i = 1, at = k.open; i < n; ++i) {
    at = (at + step + n) % n;
    if (CanOpen(entries[static_cast<std::size_t>(at)])) return at;
  }
  return -1;
}

int EntryAt(const std::vector<Rect>& rects, Point p) {
  for (std::size_t i = 0; i < rects.size(); ++i)
    if (rects[i].Contains(p)) return static_cast<int>(i);
  return -1;
}

// --- Items in popups ---------------------------------------------------------

ItemSize MeasurePlainMenuItem(int caption_width, int caption_height, bool separator,
                              const TDataSkinObject* piece, bool win95) {
  ItemSize s;
  s.width = caption_width + 26 + (piece ? piece->LeftWidth : 0);
  s.height = separator ? 8 : caption_height + 4;
  if (win95) s.height += 4;
  return s;
}

int MeasureFormMenuItemWidth(int own, const TDataSkinObject* piece, bool has_images) {
  return own + (piece ? piece->LeftWidth : 0) + 12 + (has_images ? 0 : 23);
}

int MeasureBarSubItemWidth(int own, const TDataSkinObject* piece, bool has_images) {
  return own + (piece ? piece->LeftWidth : 0) + 10 + (has_images ? 0 : 25);
}

MenuItemContent LayOutMenuItem(const MenuItemContentInput& in) {
  MenuItemContent c;
  const Rect& r = in.item;
  c.separator = {r.left, std::min(r.top + 4, r.bottom), r.right, r.bottom};
  if (in.separator) return c;
  const int lw = in.item_piece ? in.item_piece->LeftWidth : 0;
  int side = in.image_width > 0 ? in.image_width : 16;
  if (in.checked) side = std::max(side, 16);
  const int top = r.top + (r.Height() - in.caption_height) / 2;
  if (in.right_to_left) {
    c.glyph = Rect::FromBounds(r.right - 1 - lw - side, r.top + 1, side, side);
    c.caption = {r.left + 1, top, c.glyph.left - 3, top + in.caption_height};
    c.shortcut = {r.left + 10, top, c.glyph.left - 3, top + in.caption_height};
  } else {
    c.glyph = Rect::FromBounds(r.left + 1 + lw, r.top + 1, side, side);
    c.caption = {c.glyph.right + 3, top, r.right - 1, top + in.caption_height};
    c.shortcut = {c.glyph.right + 3, top, r.right - 10, top + in.caption_height};
  }
  return c;
}

Rect SeparatorSource(const TDataSkinObject& piece, int item_height) {
  const Rect image = StateImageRect(piece.Image, 5, 2, Stacking::kSideBySide);
  if (image.Height() > item_height && item_height > 0)
    return {image.left, image.bottom - item_height, image.right, image.bottom};
  return image;
}

void DrawSeparatorStrip(Bitmap32& dst, const Rect& item, const TDataSkinObject& piece) {
  if (item.Empty() || piece.Image.Empty()) return;
  const Rect s = SeparatorSource(piece, item.Height());
  if (s.Empty()) return;
  Bitmap32 source(s.Width(), s.Height());
  StretchCopy(source, {0, 0, s.Width(), s.Height()}, piece.Image, s);
  NinePart p;
  p.left = piece.LeftWidth;
  p.right = piece.RightWidth;
  DrawNinePart(dst, item, source, p, true);
}

void DrawMenuItemPiece(Bitmap32& dst, const Rect& item, const TDataSkinObject& piece,
                       bool selected) {
  NinePart p;
  p.n = 5;
  p.k = selected ? 4 : 1;
  p.stacking = Stacking::kSideBySide;
  p.left = piece.LeftWidth;
  p.top = piece.TopHeight;
  p.right = piece.RightWidth;
  p.bottom = piece.BottomHeight;
  p.tile = piece.Tile == 1;
  DrawNinePart(dst, item, piece.Image, p, piece.Trans == 1);
}

Bitmap32 RenderMenuBackground(int width, int height, const TDataSkinObject& piece) {
  NinePart p;
  p.left = piece.LeftWidth;
  p.top = piece.TopHeight;
  p.right = piece.RightWidth;
  p.bottom = piece.BottomHeight;
  p.tile = piece.Tile == 1;
  return RenderNinePart(width, height, piece.Image, p);
}

std::vector<Rect> BorderRing(int w, int h, int t) {
  if (w <= 0 || h <= 0 || t <= 0) return {};
  t = std::min({t, w, h});
  std::vector<Rect> ring = {{0, 0, w, t}, {0, std::max(h - t, t), w, h}};
  if (h > 2 * t) {
    ring.push_back({0, t, t, h - t});
    ring.push_back({std::max(w - t, t), t, w, h - t});
  }
  ring.erase(std::remove_if(ring.begin(), ring.end(), [](const Rect& r) { return r.Empty(); }),
             ring.end());
  return ring;
}

}  // namespace corvane::skin

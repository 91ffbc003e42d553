#include "skin/skin_controls_geometry.h"

#include <algorithm>
#include <cstdint>

namespace corvane::skin {

int ButtonStateImage(bool pressed, bool focused, bool hot, bool enabled) {
  if (!enabled) return kImgDisabled;
  if (pressed) return kImgPressed;
  return focused || hot ? kImgHot : kImgNormal;
}

int CheckStateImage(CheckState state, bool enabled) {
  if (state == kIndeterminate) return 4;
  const int image = state == kChecked ? 2 : 1;
  return enabled ? image : image + 2;
}

CheckBoxPlace PlaceCheckBox(int width, int height, int iw, int ih, bool text_left) {
  const int cell_w = iw < 15 ? 14 : iw;
  const int x = text_left ? width - cell_w : 0;
  const int y = (height - ih) / 2;
  CheckBoxPlace p;
  p.cell = Rect::FromBounds(x, y, cell_w, ih);
  p.image = Rect::FromBounds(x + (cell_w - iw) / 2, y, iw, ih);
  return p;
}

BitButtonPlace PlaceBitButton(const Rect& client, int gw, int gh, int tw, int th,
                              GlyphLayout layout, int margin, int spacing) {
  const int cw = client.Width(), ch = client.Height();
  const bool horizontal = layout == GlyphLayout::kLeft || layout == GlyphLayout::kRight;
  Point g, t;
  if (horizontal) {
    g.y = (ch - gh + 1) / 2;
    t.y = (ch - th + 1) / 2;
  } else {
    g.x = (cw - gw + 1) / 2;
    t.x = (cw - tw + 1) / 2;
  }
  const int extent = horizontal ? cw : ch;
  const int glyph = horizontal ? gw : gh;
  const int text = horizontal ? tw : th;
  if (text == 0 || glyph == 0) spacing = 0;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (extent - (glyph + text)) / 3;
      spacing = margin;
    } else {
      margin = (extent - (glyph + spacing + text) + 1) / 2;
    }
  } else if (spacing == -1) {
    spacing = (extent - (margin + glyph) - text) / 2;
  }
  switch (layout) {
    case GlyphLayout::kLeft:
      g.x = margin;
      t.x = g.x + gw + spacing;
      break;
    case GlyphLayout::kRight:
      g.x = cw - margin - gw;
      t.x = g.x - spacing - tw;
      break;
    case GlyphLayout::kTop:
      g.y = margin;
      t.y = g.y + gh + spacing;
      break;
    case GlyphLayout::kBottom:
      g.y = ch - margin - gh;
      t.y = g.y - spacing - th;
      break;
  }
  BitButtonPlace p;
  p.glyph = {client.left + g.x, client.top + g.y};
  p.text = Rect::FromBounds(client.left + t.x, client.top + t.y, tw, th);
  return p;
}

int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t n = static_cast<std::int64_t>(a) * b;
  const bool negative = (n < 0) != (c < 0);
  const std::int64_t an = n < 0 ? -n : n, ac = c < 0 ? -static_cast<std::int64_t>(c) : c;
  const std::int64_t q = (an + ac / 2) / ac;
  return static_cast<int>(negative ? -q : q);
}

int ArrowLength(int bar_length, int system_arrow) {
  return bar_length < 2 * system_arrow ? bar_length / 2 : system_arrow;
}

bool ComputeThumb(int bar_length, const ScrollRange& r, const ThumbMetrics& m,
                  ThumbGeometry* out) {
  const int range = r.max - r.min;
  if (range <= 0) return false;
  ThumbGeometry g;
  g.arrow = ArrowLength(std::max(bar_length, 0), m.arrow);
  g.track = std::max(0, bar_length - 2 * g.arrow);
  const int L = g.track;
  int t;
  if (r.page != 0) {
    t = std::max(MulDivRound(r.page, L, range), m.win95 ? m.arrow / 2 : 8);
  } else {
    t = m.system_thumb;
  }
  t = std::min(t, L);
  int o;
  if (r.page >= range) {
    // The whole range is in view (a page above the range counts the same:
    // the offset formula would go negative).
    o = 0;
    if (r.page == range) t -= 1;
  } else {
    o = MulDivRound(r.pos - r.min, L - t, range - r.page);
    o = std::clamp(o, 0, std::max(L - t, 0));
  }
  g.length = std::max(t, 0);
  g.offset = o;
  g.drawn = g.length > 0 && L >= g.length;
  *out = g;
  return true;
}

ScrollPart HitTestBar(int x, const ThumbGeometry& g) {
  const int a = g.arrow;
  if (x < 0) return ScrollPart::kNone;
  if (x < a) return ScrollPart::kFirstArrow;
  if (x < a + g.track) {
    if (!g.drawn) return ScrollPart::kNone;
    if (x < a + g.offset) return ScrollPart::kPageBefore;
    if (x < a + g.offset + g.length) return ScrollPart::kThumb;
    return ScrollPart::kPageAfter;
  }
  if (x < 2 * a + g.track) return ScrollPart::kSecondArrow;
  return ScrollPart::kNone;
}

int DragPosition(int offset_at_press, int travel, const ThumbGeometry& g, const ScrollRange& r,
                 int* offset) {
  const int L = g.track, t = g.length, range = r.max - r.min;
  int o = std::max(0, offset_at_press + travel);
  int pos;
  if (r.page != 0) {
    o = std::min(o, L);
    pos = L > 0 ? r.min + MulDivRound(o, range, L) : r.min;
    if (pos >= r.max - r.page) pos = r.max - r.page + 1;
  } else {
    o = std::min(o, std::max(L - t, 0));
    pos = L - t > 0 ? r.min + MulDivRound(o, range, L - t) : r.min;
    pos = std::min(pos, r.max);
  }
  pos = std::max(pos, r.min);
  // The thumb is drawn at the offset: it stays inside the track.
  if (offset) *offset = std::min(o, std::max(L - t, 0));
  return pos;
}

ScrollBarRects PlaceScrollBars(const Rect& client, bool horz, bool vert, bool left_vert,
                               int vert_width, int horz_height) {
  ScrollBarRects b;
  if (vert) {
    const int x = left_vert ? client.left - vert_width : client.right;
    b.vert = {x, client.top, x + vert_width, client.bottom};
  }
  if (horz) b.horz = {client.left, client.bottom, client.right, client.bottom + horz_height};
  if (vert && horz) b.corner = {b.vert.left, client.bottom, b.vert.right, client.bottom + horz_height};
  return b;
}

ProgressFill FillProgress(const Rect& inner, int min, int max, int pos, bool vertical,
                          bool smooth, int chunk_size) {
  ProgressFill f;
  const int extent = vertical ? inner.Height() : inner.Width();
  int filled = 0;
  if (max > min && extent > 0) {
    filled = MulDivRound(std::clamp(pos, min, max) - min, extent, max - min);
    filled = std::clamp(filled, 0, extent);
  }
  f.filled = vertical ? Rect{inner.left, inner.bottom - filled, inner.right, inner.bottom}
                      : Rect{inner.left, inner.top, inner.left + filled, inner.bottom};
  if (filled > 0) f.chunks = smooth || chunk_size <= 0 ? 1 : (filled + chunk_size - 1) / chunk_size;
  return f;
}

Rect ProgressChunk(const ProgressFill& f, int i, bool vertical, bool smooth, int chunk_size) {
  if (smooth || chunk_size <= 0) return f.filled;
  // Whole chunks, the last one cut at the filled part's end.
  if (vertical) {
    const int bottom = f.filled.bottom - i * chunk_size;
    return {f.filled.left, std::max(bottom - chunk_size, f.filled.top), f.filled.right, bottom};
  }
  const int left = f.filled.left + i * chunk_size;
  return {left, f.filled.top, std::min(left + chunk_size, f.filled.right), f.filled.bottom};
}

void SplitUpDown(const Rect& c, bool horizontal, Rect* first, Rect* second) {
  if (horizontal) {
    const int mid = c.left + c.Width() / 2;
    *first = {c.left, c.top, mid, c.bottom};
    *second = {mid, c.top, c.right, c.bottom};
  } else {
    const int mid = c.top + c.Height() / 2;
    *first = {c.left, c.top, c.right, mid};
    *second = {c.left, mid, c.right, c.bottom};
  }
}

Bitmap32 RenderThumb(int w, int h, const Bitmap32& src, const NinePart& parts, bool vertical) {
  const Rect from = StateImageRect(src, parts.n, parts.k, parts.stacking);
  Bitmap32 state(from.Width(), from.Height());
  Blit(state, -from.left, -from.top, src, false);
  const int length = vertical ? state.Height() : state.Width();
  const int m0 = vertical ? parts.top : parts.left;
  const int m1 = vertical ? parts.bottom : parts.right;
  const int middle = length - m0 - m1;
  NinePart one = parts;
  one.n = one.k = 1;
  one.tile = false;
  if (middle <= 2 || m0 < 0 || m1 < 0) return RenderNinePart(w, h, state, one);
  Bitmap32 plain = state;
  for (int i = m0 + 1; i < length - m1; ++i) {
    const int across = vertical ? state.Width() : state.Height();
    for (int j = 0; j < across; ++j) {
      if (vertical)
        plain.Set(j, i, state.At(j, m0));
      else
        plain.Set(i, j, state.At(m0, j));
    }
  }
  Bitmap32 out = RenderNinePart(w, h, plain, one);
  const int target = vertical ? h : w;
  if (target < length) return out;
  const int at = (target - middle) / 2;
  if (vertical)
    StretchCopy(out, {0, at, w, at + middle}, state, {0, m0, state.Width(), m0 + middle});
  else
    StretchCopy(out, {at, 0, at + middle, h}, state, {m0, 0, m0 + middle, state.Height()});
  return out;
}

}  // namespace corvane::skin

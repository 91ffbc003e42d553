#include "skin/skin_render.h"

#include <algorithm>

namespace corvane::skin {

Rect StateImageRect(const Bitmap32& src, int n, int k, Stacking stacking) {
  n = std::max(n, 1);
  if (k < 1 || k > n) k = 1;
  if (stacking == Stacking::kVertical) {
    const int h = src.Height() / n;
    return Rect::FromBounds(0, h * (k - 1), src.Width(), h);
  }
  const int w = src.Width() / n;
  return Rect::FromBounds(w * (k - 1), 0, w, src.Height());
}

void StretchCopy(Bitmap32& dst, const Rect& to, const Bitmap32& src, const Rect& from) {
  const int dw = to.Width(), dh = to.Height(), sw = from.Width(), sh = from.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const int x0 = std::max(to.left, 0), x1 = std::min(to.right, dst.Width());
  const int y0 = std::max(to.top, 0), y1 = std::min(to.bottom, dst.Height());
  if (x0 >= x1 || y0 >= y1) return;
  // Source column of every destination column, sampled at pixel centres.
  std::vector<int> cols(static_cast<std::size_t>(x1 - x0));
  for (int x = x0; x < x1; ++x) {
    const long long i = x - to.left;
    cols[static_cast<std::size_t>(x - x0)] = from.left + static_cast<int>((2 * i + 1) * sw / (2LL * dw));
  }
  for (int y = y0; y < y1; ++y) {
    const long long j = y - to.top;
    const int sy = from.top + static_cast<int>((2 * j + 1) * sh / (2LL * dh));
    if (sy < 0 || sy >= src.Height()) continue;
    const std::uint32_t* s = src.Row(sy);
    std::uint32_t* d = dst.MutableRow(y);
    for (int x = x0; x < x1; ++x) {
      const int sx = cols[static_cast<std::size_t>(x - x0)];
      if (sx >= 0 && sx < src.Width()) d[x] = s[sx];
    }
  }
}

void Blit(Bitmap32& dst, int x, int y, const Bitmap32& src, bool transparent) {
  const int x0 = std::max(x, 0), x1 = std::min(x + src.Width(), dst.Width());
  const int y0 = std::max(y, 0), y1 = std::min(y + src.Height(), dst.Height());
  for (int row = y0; row < y1; ++row) {
    const std::uint32_t* s = src.Row(row - y) - x;
    std::uint32_t* d = dst.MutableRow(row);
    for (int col = x0; col < x1; ++col)
      if (!transparent || !IsMagenta(s[col])) d[col] = s[col];
  }
}

namespace {

// Draws the source middle repeatedly from the middle's top-left corner,
// clipped to it.
void Tile(Bitmap32& dst, const Rect& to, const Bitmap32& src, const Rect& from) {
  const int tw = from.Width(), th = from.Height();
  if (tw <= 0 || th <= 0 || to.Empty()) return;
  for (int y = to.top; y < to.bottom; y += th) {
    for (int x = to.left; x < to.right; x += tw) {
      const int w = std::min(tw, to.right - x), h = std::min(th, to.bottom - y);
      StretchCopy(dst, Rect::FromBounds(x, y, w, h), src, Rect::FromBounds(from.left, from.top, w, h));
    }
  }
}

}  // namespace

Bitmap32 RenderNinePart(int w, int h, const Bitmap32& src, const NinePart& p) {
  if (w <= 0 || h <= 0) return {};
  Bitmap32 out(w, h);
  if (src.Empty()) return out;
  const Rect s = StateImageRect(src, p.n, p.k, p.stacking);
  if (s.Empty()) return out;
  int l = std::max(p.left, 0), r = std::max(p.right, 0);
  int t = std::max(p.top, 0), b = std::max(p.bottom, 0);
  if (w < l + r) l = r = 0;
  if (h < t + b) t = b = 0;
  const int sw = s.Width(), sh = s.Height();
  // Destination and source edges of the three columns and rows.
  auto part = [&](int dx0, int dy0, int dx1, int dy1, int sx0, int sy0, int sx1, int sy1) {
    StretchCopy(out, {dx0, dy0, dx1, dy1}, src,
                {s.left + sx0, s.top + sy0, s.left + sx1, s.top + sy1});
  };
  if (l * t > 0) part(0, 0, l, t, 0, 0, l, t);
  if (l * b > 0) part(0, h - b, l, h, 0, sh - b, l, sh);
  if (r * t > 0) part(w - r, 0, w, t, sw - r, 0, sw, t);
  if (l > 0) part(0, t, l, h - b, 0, t, l, sh - b);
  if (t > 0) part(l, 0, w - r, t, l, 0, sw - r, t);
  const Rect middle_src{s.left + l, s.top + t, s.right - r, s.bottom - b};
  if (p.tile) {
    Tile(out, {l, t, w - r, h - b}, src, middle_src);
  } else {
    StretchCopy(out, {l, t, w - r, h - b}, src, middle_src);
  }
  if (r * b > 0) part(w - r, h - b, w, h, sw - r, sh - b, sw, sh);
  if (r > 0) part(w - r, t, w, h - b, sw - r, t, sw, sh - b);
  if (b > 0) part(l, h - b, w - r, h, l, sh - b, sw - r, sh);
  return out;
}

void DrawNinePart(Bitmap32& dst, const Rect& rect, const Bitmap32& src, const NinePart& p,
                  bool transparent) {
  Blit(dst, rect.left, rect.top, RenderNinePart(rect.Width(), rect.Height(), src, p), transparent);
}

void DrawStateImage(Bitmap32& dst, const Rect& rect, const Bitmap32& src, int n, int k,
                    bool transparent) {
  if (rect.Empty() || src.Empty()) return;
  Bitmap32 image(rect.Width(), rect.Height());
  StretchCopy(image, {0, 0, rect.Width(), rect.Height()}, src,
              StateImageRect(src, n, k, Stacking::kSideBySide));
  Blit(dst, rect.left, rect.top, image, transparent);
}

void DrawThreePartStrip(Bitmap32& dst, const Rect& rect, const Bitmap32& src, int k,
                        int left_end, int right_end) {
  if (rect.Empty() || src.Empty()) return;
  const Rect s = StateImageRect(src, 2, k, Stacking::kVertical);
  const int h = std::min(rect.Height(), s.Height());
  left_end = std::clamp(left_end, 0, s.Width());
  right_end = std::clamp(right_end, 0, s.Width() - left_end);
  Bitmap32 strip(rect.Width(), h, kMagentaRgb | 0xFF000000u);
  auto copy = [&](int dx, int sx, int w) {
    StretchCopy(strip, Rect::FromBounds(dx, 0, w, h), src, Rect::FromBounds(s.left + sx, s.top, w, h));
  };
  const int middle = s.Width() - left_end - right_end;
  const int fill_from = std::min(left_end, rect.Width());
  const int fill_to = std::max(rect.Width() - right_end, fill_from);
  if (middle > 0)
    for (int x = fill_from; x < fill_to; x += middle) copy(x, left_end, std::min(middle, fill_to - x));
  if (left_end > 0) copy(0, 0, std::min(left_end, rect.Width()));
  if (right_end > 0 && rect.Width() - right_end >= 0) copy(rect.Width() - right_end, s.Width() - right_end, right_end);
  Blit(dst, rect.left, rect.top, strip, true);
}

}  // namespace corvane::skin

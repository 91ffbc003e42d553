#include "skin/skin_shape.h"

#include <algorithm>

namespace corvane::skin {

RectBatcher::RectBatcher(RectBatchSink sink, Rect clip) : sink_(std::move(sink)), clip_(clip) {
  rects_.reserve(kGrowth);
}

void RectBatcher::Add(const Rect& in) {
  const Rect r = clip_.Empty() ? in : in.Intersect(clip_);
  if (r.Empty()) return;
  if (rects_.size() == rects_.capacity()) rects_.reserve(rects_.capacity() + kGrowth);
  rects_.push_back(r);
  if (rects_.size() >= kBatch) Flush();
}

void RectBatcher::Flush() {
  if (rects_.empty()) return;
  if (sink_) sink_(rects_.data(), rects_.size());
  rects_.clear();
}

void ScanOpaqueRuns(const Bitmap32& image, int x, int y, RectBatcher& out) {
  // A run equal to one of the row above grows that rectangle downwards:
  // the straight edges of a piece become one rectangle each.
  std::vector<Rect> open, next;  // by left edge
  const int w = image.Width();
  for (int row = 0; row < image.Height(); ++row) {
    next.clear();
    const std::uint32_t* p = image.Row(row);
    std::size_t k = 0;
    int col = 0;
    while (col < w) {
      while (col < w && IsShapeTransparent(p[col])) ++col;
      const int start = col;
      while (col < w && !IsShapeTransparent(p[col])) ++col;
      if (col == start) continue;
      const int left = x + start, right = x + col;
      while (k < open.size() && open[k].left < left) out.Add(open[k++]);
      if (k < open.size() && open[k].left == left && open[k].right == right) {
        Rect grown = open[k++];
        grown.bottom = y + row + 1;
        next.push_back(grown);
      } else {
        next.push_back({left, y + row, right, y + row + 1});
      }
    }
    while (k < open.size()) out.Add(open[k++]);
    open.swap(next);
  }
  for (const Rect& r : open) out.Add(r);
}

bool BuildWindowShape(const SkinModel& m, const ShapeInput& in, const RectBatchSink& sink) {
  const int w = in.width, h = in.height;
  const FrameMetrics& f = in.frame;
  const Rect window{0, 0, w, h};
  if (window.Empty()) return false;
  auto rect = [&](const Rect& r) {
    const Rect c = r.Intersect(window);
    if (!c.Empty()) sink(&c, 1);
  };
  auto pixels = [&](const Bitmap32& image, int x, int y) {
    RectBatcher batcher(sink, window);
    ScanOpaqueRuns(image, x, y, batcher);
  };
  const bool any_trans = std::any_of(m.Frames.begin(), m.Frames.end(),
                                     [](const TDataSkinBorder& p) { return p.Trans != 0; });
  if (!any_trans) {
    rect({0, 0, w, h});
    return true;
  }
  rect({f.left, f.top, w - f.right, h - f.bottom});
  if (in.frame_kind == kFrameBare) return false;
  auto trans = [&](FramePiece p) { return m.Frames[p].Trans == 1; };
  auto render = [&](FramePiece p) { return RenderFramePiece(m, p, w, h, f, in.active); };

  for (FramePiece p : {kFrameLeft, kFrameRight}) {
    const Rect place = FramePieceRect(p, w, h, f);
    if (trans(p) && h > 1) {
      pixels(render(p), place.left, place.top);
    } else {
      rect(place);
    }
  }
  const Rect bottom = FramePieceRect(kFrameBottom, w, h, f);
  if (trans(kFrameBottom) && f.bottom >= 2) {
    pixels(render(kFrameBottom), bottom.left, bottom.top);
  } else {
    rect(bottom);
  }
  const Rect top = FramePieceRect(kFrameTop, w, h, f);
  if (trans(kFrameTop) && f.top > 1 && top.Width() > 0) {
    const bool painted = in.title_bar && in.title_bar->Width() == w &&
                         in.title_bar->Height() == f.top;
    Bitmap32 image = painted ? Bitmap32(top.Width(), top.Height()) : render(kFrameTop);
    if (painted)
      StretchCopy(image, {0, 0, top.Width(), top.Height()}, *in.title_bar, top);
    pixels(image, top.left, top.top);
  } else {
    rect(top);
  }
  return false;
}

bool ShapeNeedsRebuild(const ShapeRebuildFacts& f) {
  if (f.width <= 0 || f.height <= 0) return false;
  if (f.mdi_child && !f.normal) return false;
  return f.width != f.built_width || f.height != f.built_height || f.mdi_child ||
         f.skin_state == 3;
}

void PixelRegion::AddSpan(std::vector<Span>& row, int from, int to) {
  if (row.empty() || from > row.back().to) {  // the scan's usual case
    row.push_back({from, to});
    return;
  }
  // First span that ends at or after from; everything it reaches is merged.
  auto first = std::lower_bound(row.begin(), row.end(), from,
                                [](const Span& s, int x) { return s.to < x; });
  auto last = first;
  while (last != row.end() && last->from <= to) {
    from = std::min(from, last->from);
    to = std::max(to, last->to);
    ++last;
  }
  first = row.erase(first, last);
  row.insert(first, {from, to});
}

void PixelRegion::AddRect(const Rect& r) {
  if (r.Empty() || r.bottom <= 0) return;
  const int top = std::max(r.top, 0);
  if (rows_.size() < static_cast<std::size_t>(r.bottom)) rows_.resize(static_cast<std::size_t>(r.bottom));
  for (int y = top; y < r.bottom; ++y) AddSpan(rows_[static_cast<std::size_t>(y)], r.left, r.right);
}

bool PixelRegion::Contains(int x, int y) const {
  if (y < 0 || static_cast<std::size_t>(y) >= rows_.size()) return false;
  for (const Span& s : rows_[static_cast<std::size_t>(y)])
    if (x >= s.from && x < s.to) return true;
  return false;
}

std::int64_t PixelRegion::Area() const {
  std::int64_t area = 0;
  for (const auto& row : rows_)
    for (const Span& s : row) area += s.to - s.from;
  return area;
}

bool PixelRegion::operator==(const PixelRegion& o) const {
  const std::size_t n = std::max(rows_.size(), o.rows_.size());
  static const std::vector<Span> kEmpty;
  for (std::size_t y = 0; y < n; ++y) {
    const auto& a = y < rows_.size() ? rows_[y] : kEmpty;
    const auto& b = y < o.rows_.size() ? o.rows_[y] : kEmpty;
    if (a != b) return false;
  }
  return true;
}

}  // namespace corvane::skin

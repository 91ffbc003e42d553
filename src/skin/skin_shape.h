// The window shape of a skinned frame: the inner rectangle and the frame
// pieces without their magenta pixels, as rectangles handed out in batches
// (the Win32 layer makes one region per batch and unites them).
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "skin/skin_geometry.h"

namespace corvane::skin {

// The shape's key: magenta with a tolerance of one on green.
inline bool IsShapeTransparent(std::uint32_t argb) {
  const std::uint32_t rgb = argb & 0xFFFFFFu;
  return rgb == 0xFF00FFu || rgb == 0xFF01FFu;
}

using RectBatchSink = std::function<void(const Rect* rects, std::size_t count)>;

// Collects rectangles and hands them on in batches of at most kBatch.
class RectBatcher {
 public:
  static constexpr std::size_t kBatch = 2000;
  static constexpr std::size_t kGrowth = 500;
  // Rectangles are clipped to clip (the window) when it is not empty.
  explicit RectBatcher(RectBatchSink sink, Rect clip = {});
  ~RectBatcher() { Flush(); }
  RectBatcher(const RectBatcher&) = delete;
  RectBatcher& operator=(const RectBatcher&) = delete;
  void Add(const Rect& r);
  void Flush();
  std::size_t Capacity() const { return rects_.capacity(); }

 private:
  RectBatchSink sink_;
  Rect clip_;
  std::vector<Rect> rects_;
};

// Every run of non-transparent pixels of a row, offset by (x, y), as a
// rectangle; equal runs of rows that follow each other make one.
void ScanOpaqueRuns(const Bitmap32& image, int x, int y, RectBatcher& out);

struct ShapeInput {
  int width = 0, height = 0;
  FrameMetrics frame;
  WindowFrameKind frame_kind = kFrameSizeable;
  bool active = true;
  // The painted off-screen title bar (W x top), so that its text and buttons
  // belong to the shape; null before the first paint.
  const Bitmap32* title_bar = nullptr;
};

// Hands the shape's rectangles, clipped to the window, to the sink; true when the shape is the whole
// window (no frame piece is transparent), which needs no region at all.
bool BuildWindowShape(const SkinModel& m, const ShapeInput& in, const RectBatchSink& sink);

// Whether the shape must be built again.
struct ShapeRebuildFacts {
  int width = 0, height = 0;
  int built_width = -1, built_height = -1;
  bool mdi_child = false;
  bool normal = true;  // window state normal
  int skin_state = 1;
};
bool ShapeNeedsRebuild(const ShapeRebuildFacts& f);

// A set of pixels kept as sorted, disjoint spans per row: the portable
// stand-in for a region, used to check and measure shapes.
class PixelRegion {
 public:
  void AddRect(const Rect& r);
  void AddRects(const Rect* rects, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) AddRect(rects[i]);
  }
  bool Contains(int x, int y) const;
  std::int64_t Area() const;
  bool operator==(const PixelRegion& o) const;
  bool operator!=(const PixelRegion& o) const { return !(*this == o); }

 private:
  struct Span {
    int from, to;
    bool operator==(const Span& o) const { return from == o.from && to == o.to; }
  };
  void AddSpan(std::vector<Span>& row, int from, int to);
  std::vector<std::vector<Span>> rows_;  // rows_[y], y >= 0
};

}  // namespace corvane::skin

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "skin/skin_shape.h"

namespace corvane::skin {
namespace {

constexpr std::uint32_t kMagenta = 0xFFFF00FFu;
constexpr std::uint32_t kGrey = 0xFF808080u;

// A frame with rounded top corners (magenta in the Top image's ends), a
// notched Left piece and a Bottom piece with one near-magenta column.
SkinModel RoundedFrame() {
  SkinModel m;
  Bitmap32 top(40, 44, kGrey);  // two states of 22
  for (int s = 0; s < 2; ++s)
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5 - y; ++x) {
        top.Set(x, s * 22 + y, kMagenta);
        top.Set(39 - x, s * 22 + y, kMagenta);
      }
  m.Frames[kFrameTop].Image = top;
  m.Frames[kFrameTop].FrameCount = 2;
  m.Frames[kFrameTop].LeftWidth = 8;
  m.Frames[kFrameTop].RightWidth = 8;
  Bitmap32 side(8, 30, kGrey);  // two states of 4 side by side
  for (int y = 0; y < 3; ++y) side.Set(0, y, kMagenta);
  for (int y = 27; y < 30; ++y) side.Set(4, y, kMagenta);
  m.Frames[kFrameLeft].Image = side;
  m.Frames[kFrameLeft].FrameCount = 2;
  m.Frames[kFrameLeft].TopHeight = 3;
  m.Frames[kFrameLeft].BottomHeight = 3;
  m.Frames[kFrameRight] = m.Frames[kFrameLeft];
  Bitmap32 bottom(10, 4, kGrey);
  for (int y = 0; y < 4; ++y) bottom.Set(0, y, 0xFFFF01FFu);
  m.Frames[kFrameBottom].Image = bottom;
  m.Frames[kFrameBottom].FrameCount = 1;
  m.Frames[kFrameBottom].LeftWidth = 1;
  for (auto& f : m.Frames) {
    f.Trans = 1;
    f.Tile = 1;
  }
  return m;
}

// The reference: every pixel of the window asked on its own whether it is
// in the shape, each piece rendered independently.
PixelRegion NaiveShape(const SkinModel& m, const ShapeInput& in) {
  const FrameMetrics& f = in.frame;
  PixelRegion r;
  Bitmap32 pieces[4];
  for (int p = 0; p < 4; ++p)
    pieces[p] = RenderFramePiece(m, static_cast<FramePiece>(p), in.width, in.height, f, in.active);
  for (int y = 0; y < in.height; ++y) {
    for (int x = 0; x < in.width; ++x) {
      bool in_shape = true;
      for (int p = 0; p < 4; ++p) {
        const Rect place = FramePieceRect(static_cast<FramePiece>(p), in.width, in.height, f);
        if (!place.Contains({x, y})) continue;
        const bool keyed = m.Frames[p].Trans == 1 && (p != kFrameBottom || f.bottom >= 2);
        in_shape = !keyed || !IsShapeTransparent(pieces[p].At(x - place.left, y - place.top));
      }
      if (in_shape) r.AddRect({x, y, x + 1, y + 1});
    }
  }
  return r;
}

PixelRegion Build(const SkinModel& m, const ShapeInput& in, bool* whole = nullptr) {
  PixelRegion r;
  bool w = BuildWindowShape(m, in, [&](const Rect* rects, std::size_t n) { r.AddRects(rects, n); });
  if (whole) *whole = w;
  return r;
}

ShapeInput Input(const SkinModel& m, int w, int h) {
  ShapeInput in;
  in.width = w;
  in.height = h;
  in.frame = ComputeFrameMetrics(m, kFrameSizeable, 0);
  return in;
}

TEST(WindowShape, MatchesThePerPixelReference) {
  const SkinModel m = RoundedFrame();
  for (auto [w, h] : {std::pair{530, 386}, std::pair{120, 60}, std::pair{9, 30}, std::pair{40, 2}}) {
    for (bool active : {true, false}) {
      ShapeInput in = Input(m, w, h);
      in.active = active;
      bool whole = true;
      const PixelRegion shape = Build(m, in, &whole);
      EXPECT_FALSE(whole);
      EXPECT_TRUE(shape == NaiveShape(m, in)) << w << "x" << h;
    }
  }
  const PixelRegion shape = Build(m, Input(m, 530, 386));
  EXPECT_FALSE(shape.Contains(4, 0));  // the rounded corner is cut out
  EXPECT_TRUE(shape.Contains(4 + 5, 0));
  EXPECT_FALSE(shape.Contains(0, 1));  // the notch of the Left piece
  EXPECT_TRUE(shape.Contains(200, 200));
  EXPECT_FALSE(shape.Contains(4, 386 - 2));  // near-magenta counts as the key
  EXPECT_FALSE(shape.Contains(530, 100));
}

TEST(WindowShape, PlainRectangleWithoutTransparentPieces) {
  SkinModel m = RoundedFrame();
  for (auto& f : m.Frames) f.Trans = 0;
  bool whole = false;
  std::vector<Rect> got;
  BuildWindowShape(m, Input(m, 100, 80), [&](const Rect* r, std::size_t n) {
    got.insert(got.end(), r, r + n);
  });
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].right, 100);
  EXPECT_EQ(got[0].bottom, 80);
  Build(m, Input(m, 100, 80), &whole);
  EXPECT_TRUE(whole);

  // Only the Top piece keyed: its corners go, the rest is solid.
  m.Frames[kFrameTop].Trans = 1;
  const PixelRegion shape = Build(m, Input(m, 100, 80));
  EXPECT_FALSE(shape.Contains(4, 0));
  EXPECT_TRUE(shape.Contains(0, 1));
  EXPECT_EQ(shape.Area(), 100 * 80 - 2 * 15);
}

TEST(WindowShape, PaintedTitleBarAndFramelessPopups) {
  const SkinModel m = RoundedFrame();
  ShapeInput in = Input(m, 100, 60);
  // The painted title bar decides: a magenta dot in its text area is cut.
  Bitmap32 title(100, in.frame.top, kGrey);
  title.Set(50, 10, kMagenta);
  title.Set(2, 3, kMagenta);  // under the Left piece: not the title's part
  in.title_bar = &title;
  PixelRegion shape = Build(m, in);
  EXPECT_FALSE(shape.Contains(50, 10));
  EXPECT_TRUE(shape.Contains(4 + 4, 0));  // no rounded corner in the painted bar
  // A title bar of another size is stale: the Top piece is rendered instead.
  Bitmap32 stale(90, in.frame.top, kGrey);
  in.title_bar = &stale;
  shape = Build(m, in);
  EXPECT_TRUE(shape.Contains(50, 10));
  EXPECT_FALSE(shape.Contains(4 + 4, 0));

  ShapeInput popup = in;
  popup.frame_kind = kFrameBare;
  popup.frame = ComputeFrameMetrics(m, kFrameBare, 0);
  shape = Build(m, popup);
  EXPECT_EQ(shape.Area(), 100 * 60);
}

TEST(WindowShape, RunsComeInBatchesOfAtMost2000) {
  // Every other pixel keyed, shifted by one on every row (so no run
  // continues one of the row above): 64 runs a row, 100 rows.
  Bitmap32 comb(128, 100, kGrey);
  for (int y = 0; y < 100; ++y)
    for (int x = 1 - y % 2; x < 128; x += 2) comb.Set(x, y, kMagenta);
  std::vector<std::size_t> batches;
  PixelRegion r;
  {
    RectBatcher b([&](const Rect* rects, std::size_t n) {
      batches.push_back(n);
      r.AddRects(rects, n);
    });
    EXPECT_EQ(b.Capacity(), 500u);
    ScanOpaqueRuns(comb, 10, 20, b);
  }
  EXPECT_EQ(batches, (std::vector<std::size_t>{2000, 2000, 2000, 400}));
  EXPECT_EQ(r.Area(), 6400);
  EXPECT_TRUE(r.Contains(10, 20));
  EXPECT_FALSE(r.Contains(11, 20));
  EXPECT_TRUE(r.Contains(10 + 127, 119));
}

TEST(WindowShape, EqualRunsOfFollowingRowsMakeOneRectangle) {
  // Two columns of runs down 50 rows; rows 20 to 29 have a third run and
  // the first one wider, which ends both rectangles above them.
  Bitmap32 image(40, 50, kMagenta);
  auto fill = [&](int x0, int x1, int y0, int y1) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) image.Set(x, y, kGrey);
  };
  fill(0, 5, 0, 50);
  fill(30, 40, 0, 50);
  fill(0, 8, 20, 30);
  fill(15, 20, 20, 30);
  std::vector<Rect> rects;
  PixelRegion merged;
  {
    RectBatcher b([&](const Rect* r, std::size_t n) {
      rects.insert(rects.end(), r, r + n);
      merged.AddRects(r, n);
    });
    ScanOpaqueRuns(image, 3, 4, b);
  }
  // Left: 0-20, 20-30 (wider), 30-50; middle: 20-30; right: 0-50 whole.
  EXPECT_EQ(rects.size(), 5u);
  EXPECT_NE(std::find(rects.begin(), rects.end(), Rect{33, 4, 43, 54}), rects.end());
  EXPECT_NE(std::find(rects.begin(), rects.end(), Rect{3, 24, 11, 34}), rects.end());
  // The same pixels as one rectangle per run and row.
  PixelRegion rows;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 40; ++x)
      if (image.At(x, y) == kGrey) rows.AddRect({3 + x, 4 + y, 4 + x, 5 + y});
  EXPECT_EQ(merged, rows);
}

TEST(WindowShape, RebuildOnlyWhenNeeded) {
  ShapeRebuildFacts f;
  f.width = 300;
  f.height = 200;
  EXPECT_TRUE(ShapeNeedsRebuild(f));
  f.built_width = 300;
  f.built_height = 200;
  EXPECT_FALSE(ShapeNeedsRebuild(f));
  f.skin_state = 3;
  EXPECT_TRUE(ShapeNeedsRebuild(f));
  f.skin_state = 1;
  f.mdi_child = true;
  EXPECT_TRUE(ShapeNeedsRebuild(f));
  f.normal = false;
  EXPECT_FALSE(ShapeNeedsRebuild(f));
  f = ShapeRebuildFacts();
  f.height = 10;
  EXPECT_FALSE(ShapeNeedsRebuild(f));
}

TEST(PixelRegionSet, UnionIsCanonical) {
  std::mt19937 rng(7);
  PixelRegion a, b;
  std::vector<Rect> rects;
  for (int i = 0; i < 200; ++i) {
    int x = static_cast<int>(rng() % 60), y = static_cast<int>(rng() % 40);
    rects.push_back({x, y, x + 1 + static_cast<int>(rng() % 15), y + 1 + static_cast<int>(rng() % 5)});
  }
  for (const Rect& r : rects) a.AddRect(r);
  for (auto it = rects.rbegin(); it != rects.rend(); ++it)
    for (int y = it->top; y < it->bottom; ++y)
      for (int x = it->left; x < it->right; ++x) b.AddRect({x, y, x + 1, y + 1});
  EXPECT_TRUE(a == b);
  std::int64_t area = 0;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 80; ++x) area += a.Contains(x, y);
  EXPECT_EQ(a.Area(), area);
  b.AddRect({100, 0, 101, 1});
  EXPECT_TRUE(a != b);
}

}  // namespace
}  // namespace corvane::skin

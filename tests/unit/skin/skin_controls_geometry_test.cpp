#include <gtest/gtest.h>

#include "skin/skin_controls_geometry.h"

namespace corvane::skin {
namespace {

Rect R(int l, int t, int r, int b) { return {l, t, r, b}; }

TEST(ControlStates, DisabledWinsThenPressedThenFocusOrHot) {
  EXPECT_EQ(ButtonStateImage(false, false, false, true), 1);
  EXPECT_EQ(ButtonStateImage(true, true, true, true), 2);
  EXPECT_EQ(ButtonStateImage(false, true, false, true), 4);
  EXPECT_EQ(ButtonStateImage(false, false, true, true), 4);
  EXPECT_EQ(ButtonStateImage(true, true, true, false), 3);

  EXPECT_EQ(CheckStateImage(kUnchecked, true), 1);
  EXPECT_EQ(CheckStateImage(kChecked, true), 2);
  EXPECT_EQ(CheckStateImage(kUnchecked, false), 3);
  EXPECT_EQ(CheckStateImage(kChecked, false), 4);
  EXPECT_EQ(CheckStateImage(kIndeterminate, true), 4);
}

TEST(ControlPlaces, CheckBoxCellIsCentredAndFollowsTheTextSide) {
  CheckBoxPlace p = PlaceCheckBox(100, 21, 13, 13, false);
  EXPECT_EQ(p.cell, R(0, 4, 14, 17));
  EXPECT_EQ(p.image, R(0, 4, 13, 17));
  p = PlaceCheckBox(100, 21, 13, 13, true);
  EXPECT_EQ(p.cell, R(86, 4, 100, 17));
  p = PlaceCheckBox(100, 20, 10, 10, false);
  EXPECT_EQ(p.image, R(2, 5, 12, 15));
  p = PlaceCheckBox(100, 20, 16, 16, false);  // wide images get a cell of their own size
  EXPECT_EQ(p.cell, R(0, 2, 16, 18));
}

TEST(ControlPlaces, BitButtonPlacesGlyphAndCaptionLikeTheButton) {
  const Rect c = R(0, 0, 75, 25);
  BitButtonPlace p = PlaceBitButton(c, 16, 16, 30, 13, GlyphLayout::kLeft, -1, 4);
  EXPECT_EQ(p.glyph, (Point{13, 5}));
  EXPECT_EQ(p.text, R(33, 6, 63, 19));
  p = PlaceBitButton(c, 16, 16, 30, 13, GlyphLayout::kRight, -1, 4);
  EXPECT_EQ(p.glyph, (Point{46, 5}));
  EXPECT_EQ(p.text.left, 12);
  p = PlaceBitButton(R(0, 0, 75, 60), 16, 16, 30, 13, GlyphLayout::kTop, -1, 4);
  EXPECT_EQ(p.glyph, (Point{30, 14}));
  EXPECT_EQ(p.text, R(23, 34, 53, 47));
  p = PlaceBitButton(c, 16, 16, 30, 13, GlyphLayout::kLeft, -1, -1);  // spread evenly
  EXPECT_EQ(p.glyph.x, 9);
  EXPECT_EQ(p.text.left, 34);
  p = PlaceBitButton(c, 16, 16, 0, 0, GlyphLayout::kLeft, -1, 4);  // no caption: no spacing
  EXPECT_EQ(p.glyph.x, 30);
  p = PlaceBitButton(R(10, 20, 85, 45), 16, 16, 30, 13, GlyphLayout::kLeft, 2, 4);
  EXPECT_EQ(p.glyph, (Point{12, 25}));
}

TEST(MulDivRound, RoundsHalvesAwayFromZeroAndRefusesZero) {
  EXPECT_EQ(MulDivRound(7, 1, 2), 4);
  EXPECT_EQ(MulDivRound(-7, 1, 2), -4);
  EXPECT_EQ(MulDivRound(10, 168, 100), 17);
  EXPECT_EQ(MulDivRound(1, 1, 0), -1);
  EXPECT_EQ(MulDivRound(2000000000, 3, 4), 1500000000);  // no overflow in between
}

const ThumbMetrics kNt{16, 16, false};

TEST(ScrollThumb, LengthFollowsThePageWithTheFamilysMinimum) {
  ThumbGeometry g;
  ASSERT_TRUE(ComputeThumb(200, {0, 100, 10, 0}, kNt, &g));
  EXPECT_EQ(g.arrow, 16);
  EXPECT_EQ(g.track, 168);
  EXPECT_EQ(g.length, 17);
  EXPECT_EQ(g.offset, 0);
  EXPECT_TRUE(g.drawn);
  ASSERT_TRUE(ComputeThumb(200, {0, 100, 10, 45}, kNt, &g));
  EXPECT_EQ(g.offset, 76);  // 45 * 151 / 90 = 75.5
  ASSERT_TRUE(ComputeThumb(200, {0, 100, 10, 90}, kNt, &g));
  EXPECT_EQ(g.offset, 151);
  ASSERT_TRUE(ComputeThumb(200, {0, 100, 10, 500}, kNt, &g));
  EXPECT_EQ(g.offset, 151) << "capped at L - t";

  // A tiny page: 8 pixels on the NT family, half an arrow on the 95 family.
  ASSERT_TRUE(ComputeThumb(200, {0, 1000, 1, 0}, {20, 16, false}, &g));
  EXPECT_EQ(g.length, 8);
  ASSERT_TRUE(ComputeThumb(200, {0, 1000, 1, 0}, {20, 16, true}, &g));
  EXPECT_EQ(g.length, 10);
  // Page 0: the system's thumb width.
  ASSERT_TRUE(ComputeThumb(200, {0, 100, 0, 50}, {16, 12, false}, &g));
  EXPECT_EQ(g.length, 12);
  EXPECT_EQ(g.offset, 78);
}

TEST(ScrollThumb, PageEqualToTheRangeAndEmptyOrShortBars) {
  ThumbGeometry g;
  ASSERT_TRUE(ComputeThumb(200, {0, 100, 100, 40}, kNt, &g));
  EXPECT_EQ(g.offset, 0);
  EXPECT_EQ(g.length, 167);
  ASSERT_TRUE(ComputeThumb(200, {0, 100, 101, 40}, kNt, &g));
  EXPECT_EQ(g.offset, 0) << "never a negative offset";
  EXPECT_EQ(g.length, 168);

  g.offset = 33;
  EXPECT_FALSE(ComputeThumb(200, {5, 5, 0, 5}, kNt, &g));
  EXPECT_EQ(g.offset, 33) << "an empty range keeps the old thumb";

  ASSERT_TRUE(ComputeThumb(20, {0, 100, 10, 0}, kNt, &g));
  EXPECT_EQ(g.arrow, 10) << "arrows take half of a short bar";
  EXPECT_EQ(g.track, 0);
  EXPECT_FALSE(g.drawn);
}

TEST(ScrollThumb, HitTestWalksArrowPageThumbPageArrow) {
  ThumbGeometry g;
  ASSERT_TRUE(ComputeThumb(200, {0, 100, 10, 45}, kNt, &g));  // a 16, o 76, t 17, L 168
  EXPECT_EQ(HitTestBar(5, g), ScrollPart::kFirstArrow);
  EXPECT_EQ(HitTestBar(91, g), ScrollPart::kPageBefore);
  EXPECT_EQ(HitTestBar(92, g), ScrollPart::kThumb);
  EXPECT_EQ(HitTestBar(108, g), ScrollPart::kThumb);
  EXPECT_EQ(HitTestBar(109, g), ScrollPart::kPageAfter);
  EXPECT_EQ(HitTestBar(184, g), ScrollPart::kSecondArrow);
  EXPECT_EQ(HitTestBar(200, g), ScrollPart::kNone);
  EXPECT_EQ(HitTestBar(-1, g), ScrollPart::kNone);
}

TEST(ScrollThumb, DragPositionsWithAPage) {
  ThumbGeometry g;
  const ScrollRange r{0, 100, 10, 0};
  ASSERT_TRUE(ComputeThumb(200, r, kNt, &g));
  int offset = -1;
  EXPECT_EQ(DragPosition(0, 84, g, r, &offset), 50);
  EXPECT_EQ(offset, 84);
  EXPECT_EQ(DragPosition(0, 500, g, r, &offset), 91) << "the last page starts at max - page + 1";
  EXPECT_EQ(offset, 151) << "the thumb stays in the track";
  EXPECT_EQ(DragPosition(40, -100, g, r, &offset), 0);
  EXPECT_EQ(offset, 0);
  const ScrollRange shifted{10, 110, 10, 10};
  EXPECT_EQ(DragPosition(0, 84, g, shifted, &offset), 60);
}

TEST(ScrollThumb, DragPositionsWithoutAPageAndOnAnEmptyTrack) {
  ThumbGeometry g;
  const ScrollRange r{0, 100, 0, 0};
  ASSERT_TRUE(ComputeThumb(200, r, kNt, &g));  // t 16, L - t 152
  int offset = 0;
  EXPECT_EQ(DragPosition(0, 76, g, r, &offset), 50);
  EXPECT_EQ(DragPosition(0, 1000, g, r, &offset), 100);
  EXPECT_EQ(offset, 152);
  ASSERT_TRUE(ComputeThumb(20, r, kNt, &g));
  EXPECT_EQ(DragPosition(0, 30, g, r, &offset), 0) << "no division by an empty track";
}

TEST(ControlPlaces, ScrollBarsBesideTheClientArea) {
  ScrollBarRects b = PlaceScrollBars(R(2, 2, 182, 102), true, true, false, 16, 16);
  EXPECT_EQ(b.vert, R(182, 2, 198, 102));
  EXPECT_EQ(b.horz, R(2, 102, 182, 118));
  EXPECT_EQ(b.corner, R(182, 102, 198, 118));
  b = PlaceScrollBars(R(18, 2, 198, 102), false, true, true, 16, 16);
  EXPECT_EQ(b.vert, R(2, 2, 18, 102));
  EXPECT_TRUE(b.horz.Empty());
  EXPECT_TRUE(b.corner.Empty());
}

TEST(ControlPlaces, ProgressChunksFillFromTheStart) {
  ProgressFill f = FillProgress(R(0, 0, 100, 10), 0, 100, 50, false, false, 8);
  EXPECT_EQ(f.filled, R(0, 0, 50, 10));
  EXPECT_EQ(f.chunks, 7);
  EXPECT_EQ(ProgressChunk(f, 0, false, false, 8), R(0, 0, 8, 10));
  EXPECT_EQ(ProgressChunk(f, 6, false, false, 8), R(48, 0, 50, 10));
  f = FillProgress(R(0, 0, 10, 100), 0, 100, 25, true, false, 8);
  EXPECT_EQ(f.filled, R(0, 75, 10, 100));
  EXPECT_EQ(ProgressChunk(f, 0, true, false, 8), R(0, 92, 10, 100));
  EXPECT_EQ(FillProgress(R(0, 0, 100, 10), 5, 5, 5, false, false, 8).chunks, 0);
  f = FillProgress(R(0, 0, 100, 10), 0, 100, 150, false, true, 8);
  EXPECT_EQ(f.chunks, 1);
  EXPECT_EQ(ProgressChunk(f, 0, false, true, 8), R(0, 0, 100, 10));

  Rect a, b;
  SplitUpDown(R(0, 0, 16, 21), false, &a, &b);
  EXPECT_EQ(a, R(0, 0, 16, 10));
  EXPECT_EQ(b, R(0, 10, 16, 21));
}

TEST(ScrollThumb, ALongThumbKeepsItsGripAtItsOwnSize) {
  // One state image 12 wide: ends 3 wide, a face colour, a 2-pixel grip in the middle.
  const std::uint32_t end = 0xFF000001u, face = 0xFF000002u, grip = 0xFF000003u;
  std::vector<std::uint32_t> px;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 12; ++x) px.push_back(x < 3 || x >= 9 ? end : (x == 5 || x == 6) ? grip : face);
  const Bitmap32 src(12, 4, px);
  NinePart p;
  p.stacking = Stacking::kSideBySide;
  p.left = p.right = 3;
  const Bitmap32 out = RenderThumb(60, 4, src, p, false);
  int grips = 0;
  for (int x = 0; x < 60; ++x) grips += out.At(x, 1) == grip;
  EXPECT_EQ(grips, 2) << "the grip is not stretched";
  EXPECT_EQ(out.At(29, 1), grip);
  EXPECT_EQ(out.At(10, 1), face);
  EXPECT_EQ(out.At(0, 1), end);
  EXPECT_EQ(out.At(59, 1), end);
  // Shorter than the image: the plain nine-part look.
  EXPECT_EQ(RenderThumb(8, 4, src, p, false).Width(), 8);
}

}  // namespace
}  // namespace corvane::skin

#include <gtest/gtest.h>

#include "skin/skin_menu.h"

namespace corvane::skin {
namespace {

TDataSkinObject Piece(int left, int right, Bitmap32 image = {}) {
  TDataSkinObject p;
  p.LeftWidth = left;
  p.RightWidth = right;
  p.Image = std::move(image);
  return p;
}

std::vector<MenuBarEntry> Bar(std::vector<std::string> captions) {
  std::vector<MenuBarEntry> out;
  for (auto& c : captions) out.push_back({c, true, true, true});
  return out;
}

TEST(MenuCaptions, AcceleratorIsTheCharacterAfterASingleAmpersand) {
  EXPECT_EQ(MenuAccelerator("&File"), 'F');
  EXPECT_EQ(MenuAccelerator("退出程序(&x)"), 'X');
  EXPECT_EQ(MenuAccelerator("Save && &quit"), 'Q');
  EXPECT_EQ(MenuAccelerator("No accelerator"), 0);
  EXPECT_EQ(MenuAccelerator("trailing&"), 0);
  EXPECT_EQ(MenuAccelerator("&文件"), 0) << "a double-byte character is no accelerator";
  // "\x81&" is one GBK character whose trail byte is '&': not an ampersand.
  EXPECT_EQ(MenuAccelerator("\x81&A"), 0);
  EXPECT_EQ(MenuAccelerator("\x81&&B"), 'B');

  EXPECT_EQ(SplitShortcut(" Close \tShift+F4").text, " Close ");
  EXPECT_EQ(SplitShortcut(" Close \tShift+F4").shortcut, "Shift+F4");
  EXPECT_EQ(SplitShortcut("plain").shortcut, "");
}

TEST(MenuBarLayout, ItemsFollowEachOtherFromTheFirstTextPosition) {
  const TDataSkinObject piece = Piece(5, 7);
  EXPECT_EQ(FirstTextPosition(300, nullptr, false), 6);
  EXPECT_EQ(FirstTextPosition(300, nullptr, true), 6);
  EXPECT_EQ(FirstTextPosition(300, &piece, false), 9);
  EXPECT_EQ(FirstTextPosition(300, &piece, true), 15);
  EXPECT_EQ(FirstTextPosition(8, &piece, false), 12) << "narrower than the position";

  auto entries = Bar({"&File", "", "&Edit", "&Help"});
  entries[3].visible = false;
  const Rect bar{4, 30, 304, 50};
  const auto ltr = LayOutMenuBar(bar, {30, 0, 25, 40}, entries, 9, false);
  ASSERT_EQ(ltr.size(), 4u);
  EXPECT_EQ(ltr[0], (Rect{13, 30, 53, 49}));
  EXPECT_TRUE(ltr[1].Empty()) << "an empty caption takes no room";
  EXPECT_EQ(ltr[2], (Rect{53, 30, 88, 49}));
  EXPECT_TRUE(ltr[3].Empty()) << "a hidden entry takes no room";

  const auto rtl = LayOutMenuBar(bar, {30, 0, 25, 40}, entries, 15, true);
  EXPECT_EQ(rtl[0], (Rect{249, 30, 289, 49}));
  EXPECT_EQ(rtl[2], (Rect{214, 30, 249, 49}));

  EXPECT_EQ(EntryAt(ltr, {14, 35}), 0);
  EXPECT_EQ(EntryAt(ltr, {60, 40}), 2);
  EXPECT_EQ(EntryAt(ltr, {60, 49}), -1) << "the bar's last row belongs to no item";
  EXPECT_EQ(EntryAt(ltr, {200, 40}), -1);
}

TEST(MenuBarLayout, AcceleratorsFindTheFirstEnabledVisibleEntry) {
  auto entries = Bar({"&Open", "&Options", "&View", "&Window"});
  EXPECT_EQ(FindAcceleratorEntry(entries, 'o'), 0);
  entries[0].enabled = false;
  EXPECT_EQ(FindAcceleratorEntry(entries, 'O'), 1);
  entries[3].visible = false;
  EXPECT_EQ(FindAcceleratorEntry(entries, 'w'), -1);
  EXPECT_EQ(FindAcceleratorEntry(entries, 0), -1);
}

TEST(MenuBarLayout, TheBackgroundUsesThePieceOrTheMenubarColour) {
  // Two states of 4 x 2, stacked: active red with blue ends, inactive green.
  Bitmap32 image(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      image.Set(x, y, y < 2 ? (x == 0 || x == 3 ? 0xFF0000FFu : 0xFFFF0000u) : 0xFF00FF00u);
  TDataSkinObject piece = Piece(1, 1, image);
  Bitmap32 plain = RenderMenuBarBackground(10, 3, nullptr, true, 0x123456);
  EXPECT_EQ(plain.At(5, 1), 0xFF123456u);

  Bitmap32 strip = RenderMenuBarBackground(10, 3, &piece, true, 0x123456);
  EXPECT_EQ(strip.At(0, 0), 0xFF0000FFu) << "the left end";
  EXPECT_EQ(strip.At(5, 1), 0xFFFF0000u) << "the repeated middle";
  EXPECT_EQ(strip.At(9, 1), 0xFF0000FFu) << "the right end";
  EXPECT_EQ(strip.At(5, 2), 0xFF123456u) << "below the piece: the colour";
  EXPECT_EQ(RenderMenuBarBackground(10, 3, &piece, false, 0).At(5, 0), 0xFF00FF00u);

  piece.Tile = 1;
  Bitmap32 nine = RenderMenuBarBackground(10, 6, &piece, true, 0x123456);
  EXPECT_EQ(nine.At(5, 5), 0xFFFF0000u) << "stretched over the whole height";
  EXPECT_EQ(nine.At(9, 5), 0xFF0000FFu);
}

TEST(MenuTracking, ArrowKeysWrapAroundTheBar) {
  auto entries = Bar({"&File", "&Edit", "&View"});
  TrackingKey k;
  k.open = 0;
  k.vk = kVkLeft;
  EXPECT_EQ(ArrowTarget(k, entries), 2) << "left on the first opens the last";
  k.open = 2;
  k.vk = kVkRight;
  EXPECT_EQ(ArrowTarget(k, entries), 0) << "right on the last opens the first";

  // An entry with a sub-menu takes the right arrow itself.
  k.open = 0;
  k.has_current = true;
  k.current_has_sub_items = true;
  EXPECT_EQ(ArrowTarget(k, entries), -1);
  k.current_has_sub_items = false;
  EXPECT_EQ(ArrowTarget(k, entries), 1);
  // Left inside a deeper sub-menu closes that one only.
  k.vk = kVkLeft;
  k.current_in_open_menu = false;
  EXPECT_EQ(ArrowTarget(k, entries), -1);
  k.current_in_open_menu = true;
  EXPECT_EQ(ArrowTarget(k, entries), 2);

  // Entries that open nothing are passed over.
  entries[1].enabled = false;
  entries[2].has_sub = false;
  k = {};
  k.vk = kVkRight;
  k.open = 0;
  EXPECT_EQ(ArrowTarget(k, entries), -1) << "no other entry opens a menu";
  entries.push_back({"&Help", true, true, true});
  EXPECT_EQ(ArrowTarget(k, entries), 3);
  k.vk = 0x28;  // down: the menu's own
  EXPECT_EQ(ArrowTarget(k, entries), -1);

  EXPECT_EQ(ArrowForDirection(kVkLeft, true), kVkRight);
  EXPECT_EQ(ArrowForDirection(kVkRight, true), kVkLeft);
  EXPECT_EQ(ArrowForDirection(kVkLeft, false), kVkLeft);
  EXPECT_EQ(ArrowForDirection(0x28, true), 0x28u);
}

TEST(MenuItems, MeasuringFollowsTheKindOfItem) {
  const TDataSkinObject piece = Piece(3, 3);
  ItemSize s = MeasurePlainMenuItem(50, 13, false, &piece, false);
  EXPECT_EQ(s.width, 79);
  EXPECT_EQ(s.height, 17);
  s = MeasurePlainMenuItem(50, 13, true, nullptr, true);
  EXPECT_EQ(s.width, 76);
  EXPECT_EQ(s.height, 12);
  EXPECT_EQ(MeasureFormMenuItemWidth(60, &piece, false), 98);
  EXPECT_EQ(MeasureFormMenuItemWidth(60, nullptr, true), 72);
  EXPECT_EQ(MeasureBarSubItemWidth(60, &piece, false), 98);
  EXPECT_EQ(MeasureBarSubItemWidth(60, nullptr, true), 70);
}

TEST(MenuItems, ContentIsLaidOutFromTheGlyphBoxAndMirrored) {
  const TDataSkinObject piece = Piece(3, 3);
  MenuItemContentInput in;
  in.item = {3, 20, 153, 40};
  in.item_piece = &piece;
  in.caption_width = 60;
  in.caption_height = 12;
  MenuItemContent c = LayOutMenuItem(in);
  EXPECT_EQ(c.glyph, (Rect{7, 21, 23, 37}));
  EXPECT_EQ(c.caption, (Rect{26, 24, 152, 36}));
  EXPECT_EQ(c.shortcut.right, 143);

  in.image_width = 12;
  EXPECT_EQ(LayOutMenuItem(in).glyph.Width(), 12);
  in.checked = true;
  EXPECT_EQ(LayOutMenuItem(in).glyph.Width(), 16) << "a check mark needs 16";

  in.right_to_left = true;
  c = LayOutMenuItem(in);
  EXPECT_EQ(c.glyph, (Rect{133, 21, 149, 37}));
  EXPECT_EQ(c.caption.right, 130);
  EXPECT_EQ(c.shortcut.left, 13);

  in.separator = true;
  c = LayOutMenuItem(in);
  EXPECT_TRUE(c.glyph.Empty());
  EXPECT_EQ(c.separator, (Rect{3, 24, 153, 40}));
}

TEST(MenuItems, TheSeparatorStripComesFromTheBottomOfTheSecondImage) {
  // Five images of 6 x 10; image 2 has a red rule on its last row and blue
  // ends; everything else is magenta.
  Bitmap32 image(30, 10, 0xFF000000u | kMagentaRgb);
  for (int x = 6; x < 12; ++x) image.Set(x, 9, x == 6 || x == 11 ? 0xFF0000FFu : 0xFFFF0000u);
  TDataSkinObject piece = Piece(1, 1, image);
  EXPECT_EQ(SeparatorSource(piece, 4), (Rect{6, 6, 12, 10}));
  EXPECT_EQ(SeparatorSource(piece, 20), (Rect{6, 0, 12, 10}));

  Bitmap32 dst(40, 8, 0xFFFFFFFFu);
  DrawSeparatorStrip(dst, {2, 4, 38, 8}, piece);
  EXPECT_EQ(dst.At(20, 7), 0xFFFF0000u) << "the rule, stretched";
  EXPECT_EQ(dst.At(2, 7), 0xFF0000FFu) << "the left end";
  EXPECT_EQ(dst.At(37, 7), 0xFF0000FFu) << "the right end";
  EXPECT_EQ(dst.At(20, 5), 0xFFFFFFFFu) << "magenta lets the background through";
  EXPECT_EQ(dst.At(20, 2), 0xFFFFFFFFu) << "outside the item";

  // The item piece: image 1 normal, image 4 selected.
  for (int x = 18; x < 24; ++x)
    for (int y = 0; y < 10; ++y) image.Set(x, y, 0xFF00FF00u);
  piece.Image = image;
  piece.Trans = 1;
  Bitmap32 item(20, 10, 0xFFFFFFFFu);
  DrawMenuItemPiece(item, {0, 0, 20, 10}, piece, false);
  EXPECT_EQ(item.At(10, 5), 0xFFFFFFFFu);
  DrawMenuItemPiece(item, {0, 0, 20, 10}, piece, true);
  EXPECT_EQ(item.At(10, 5), 0xFF00FF00u);
}

TEST(MenuBackground, TheBorderRingIsThreePixelsOfTheRenderedPiece) {
  Bitmap32 image(9, 9, 0xFFFFFFFFu);
  for (int i = 0; i < 9; ++i) {
    image.Set(i, 0, 0xFF000000u);
    image.Set(0, i, 0xFF000000u);
  }
  TDataSkinObject piece = Piece(3, 3, image);
  piece.TopHeight = piece.BottomHeight = 3;
  Bitmap32 bg = RenderMenuBackground(40, 30, piece);
  ASSERT_EQ(bg.Width(), 40);
  EXPECT_EQ(bg.At(20, 0), 0xFF000000u);
  EXPECT_EQ(bg.At(0, 15), 0xFF000000u);
  EXPECT_EQ(bg.At(20, 15), 0xFFFFFFFFu);

  const auto ring = BorderRing(40, 30);
  ASSERT_EQ(ring.size(), 4u);
  EXPECT_EQ(ring[0], (Rect{0, 0, 40, 3}));
  EXPECT_EQ(ring[1], (Rect{0, 27, 40, 30}));
  EXPECT_EQ(ring[2], (Rect{0, 3, 3, 27}));
  EXPECT_EQ(ring[3], (Rect{37, 3, 40, 27}));
  // A window smaller than the ring: the strips never overlap or invert.
  for (const Rect& r : BorderRing(4, 5)) {
    EXPECT_FALSE(r.Empty());
    EXPECT_LE(r.right, 4);
    EXPECT_LE(r.bottom, 5);
  }
  EXPECT_TRUE(BorderRing(0, 10).empty());
}

}  // namespace
}  // namespace corvane::skin

#include <gtest/gtest.h>

#include "skin/skin_geometry.h"

namespace corvane::skin {
namespace {

constexpr std::uint32_t kMagenta = 0xFFFF00FFu;

Rect R(int l, int t, int r, int b) { return {l, t, r, b}; }

// The frame of the worked example: Left and Right 10 wide with 2 frames,
// Top 40 high with 2 frames, Bottom 6 high with 1 frame.
SkinModel ExampleFrame() {
  SkinModel m;
  auto set = [&](FramePiece p, int w, int h, int frames) {
    m.Frames[p].Image = Bitmap32(w, h, 0xFF000000u | static_cast<std::uint32_t>(p + 1));
    m.Frames[p].FrameCount = frames;
    m.Frames[p].Tile = 1;
    m.Frames[p].Trans = 0;
  };
  set(kFrameLeft, 10, 50, 2);
  set(kFrameRight, 10, 50, 2);
  set(kFrameTop, 60, 40, 2);
  set(kFrameBottom, 60, 6, 1);
  return m;
}

TEST(FrameMetrics, WorkedExampleKeepsTheClientSize) {
  const SkinModel m = ExampleFrame();
  FrameMetrics f = ComputeFrameMetrics(m, kFrameSizeable, 0);
  EXPECT_EQ(f.left, 5);
  EXPECT_EQ(f.right, 5);
  EXPECT_EQ(f.top, 20);
  EXPECT_EQ(f.bottom, 6);
  Size s = WindowSizeForClient({300, 200}, f);
  EXPECT_EQ(s.width, 310);
  EXPECT_EQ(s.height, 226);
  f = ComputeFrameMetrics(m, kFrameSizeable, 19);
  s = WindowSizeForClient({300, 200}, f);
  EXPECT_EQ(s.height, 245);
  // WM_NCCALCSIZE gives the client back where it was.
  Rect client = ClientRectForWindow(Rect::FromBounds(100, 50, s.width, s.height), f);
  EXPECT_EQ(client, Rect::FromBounds(105, 50 + 20 + 19, 300, 200));
  // A window smaller than its frame gets an empty client, not an inverted one.
  client = ClientRectForWindow({0, 0, 4, 10}, f);
  EXPECT_TRUE(client.Empty());
  EXPECT_GE(client.right, client.left);
  EXPECT_GE(client.bottom, client.top);

  const FrameMetrics none = ComputeFrameMetrics(m, kFrameBare, 19);
  EXPECT_EQ(none.left + none.top + none.right + none.bottom + none.menu_bar, 0);
}

TEST(FrameMetrics, FrameKindAndBorderIcons) {
  using namespace style;
  EXPECT_EQ(FrameKind(kPopup, 0), 2);
  EXPECT_EQ(FrameKind(kPopup | 0x00800000u /*border only*/ | kThickFrame, 0), 2);
  EXPECT_EQ(FrameKind(kPopup | kCaption, 0), 3);
  EXPECT_EQ(FrameKind(kPopup | kCaption, kExWindowEdge), 0);
  EXPECT_EQ(FrameKind(kCaption | kThickFrame, 0), 0);
  EXPECT_EQ(FrameKind(kCaption, 0), 3);
  EXPECT_EQ(BorderIcons(kMaximizeBox | kMinimizeBox, false), kBiMaximize | kBiMinimize);
  EXPECT_EQ(BorderIcons(0, true), kBiSystemMenu);
  const std::uint32_t at_attach = kCaption | kSysMenu | kMinimizeBox;
  const std::uint32_t bare = WithoutCaptionButtons(at_attach | kMaximizeBox);
  EXPECT_EQ(bare, kCaption);
  EXPECT_EQ(WithCaptionButtons(bare, at_attach), at_attach);
}

TEST(FrameMetrics, PieceRectsMeetWithoutOverlap) {
  const FrameMetrics f{5, 20, 5, 6, 0};
  EXPECT_EQ(FramePieceRect(kFrameLeft, 310, 226, f), R(0, 0, 5, 226));
  EXPECT_EQ(FramePieceRect(kFrameRight, 310, 226, f), R(305, 0, 310, 226));
  EXPECT_EQ(FramePieceRect(kFrameTop, 310, 226, f), R(5, 0, 305, 20));
  EXPECT_EQ(FramePieceRect(kFrameBottom, 310, 226, f), R(5, 220, 305, 226));
  TDataSkinBorder piece;
  piece.FrameCount = 2;
  piece.TopHeight = 3;
  piece.BottomHeight = 4;
  piece.Tile = 0;
  NinePart n = FramePieceLayout(piece, kFrameLeft, false);
  EXPECT_EQ(n.k, 2);
  EXPECT_EQ(n.stacking, Stacking::kSideBySide);
  EXPECT_EQ(n.top + n.bottom, 7);
  EXPECT_TRUE(n.tile);
  piece.FrameCount = 1;
  EXPECT_EQ(FramePieceLayout(piece, kFrameTop, false).k, 1);  // one frame serves both states
}

// A 9 x 9 source whose nine 3 x 3 parts each have their own colour.
Bitmap32 NineColours(int n = 1) {
  Bitmap32 b(9, 9 * n);
  for (int y = 0; y < 9 * n; ++y)
    for (int x = 0; x < 9; ++x)
      b.Set(x, y, 0xFF000000u | static_cast<std::uint32_t>(((y / 9) << 16) | ((y % 9 / 3) * 3 + x / 3)));
  return b;
}

TEST(NinePartRenderer, CornersKeptEdgesAndMiddleStretched) {
  NinePart p;
  p.left = p.top = p.right = p.bottom = 3;
  const Bitmap32 out = RenderNinePart(30, 20, NineColours(), p);
  ASSERT_EQ(out.Width(), 30);
  auto part = [&](int x, int y) { return out.At(x, y) & 0xFFFF; };
  EXPECT_EQ(part(0, 0), 0u);
  EXPECT_EQ(part(2, 2), 0u);
  EXPECT_EQ(part(3, 0), 1u);
  EXPECT_EQ(part(26, 2), 1u);
  EXPECT_EQ(part(27, 0), 2u);
  EXPECT_EQ(part(0, 3), 3u);
  EXPECT_EQ(part(0, 16), 3u);
  EXPECT_EQ(part(15, 10), 4u);
  EXPECT_EQ(part(29, 10), 5u);
  EXPECT_EQ(part(0, 17), 6u);
  EXPECT_EQ(part(15, 19), 7u);
  EXPECT_EQ(part(29, 19), 8u);
  // Margins that do not fit are dropped in pairs: everything is stretched.
  const Bitmap32 small = RenderNinePart(4, 20, NineColours(), p);
  EXPECT_EQ(small.At(0, 0) & 0xFFFF, 0u);
  EXPECT_EQ(small.At(0, 5) & 0xFFFF, 3u);  // rows still have their margins
  EXPECT_EQ(small.At(3, 10) & 0xFFFF, 5u);
}

TEST(NinePartRenderer, StateImagesAndTiling) {
  NinePart p;
  p.n = 3;
  p.k = 2;
  const Bitmap32 out = RenderNinePart(5, 5, NineColours(3), p);
  EXPECT_EQ(out.At(2, 2) >> 16 & 0xFF, 1u);  // the second of three, stacked vertically
  EXPECT_EQ(StateImageRect(NineColours(3), 3, 3, Stacking::kVertical), R(0, 18, 9, 27));
  EXPECT_EQ(StateImageRect(NineColours(), 3, 2, Stacking::kSideBySide), R(3, 0, 6, 9));
  EXPECT_EQ(StateImageRect(NineColours(), 3, 7, Stacking::kSideBySide), R(0, 0, 3, 9));

  // A 4-pixel middle with a gradient, tiled across 10 pixels: it repeats.
  Bitmap32 src(6, 1);
  for (int x = 0; x < 6; ++x) src.Set(x, 0, 0xFF000000u | static_cast<std::uint32_t>(x));
  NinePart t;
  t.left = t.right = 1;
  t.tile = true;
  const Bitmap32 tiled = RenderNinePart(12, 1, src, t);
  std::vector<std::uint32_t> got;
  for (int x = 0; x < 12; ++x) got.push_back(tiled.At(x, 0) & 0xFF);
  EXPECT_EQ(got, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 5}));
  t.tile = false;
  const Bitmap32 stretched = RenderNinePart(12, 1, src, t);
  EXPECT_EQ(stretched.At(1, 0) & 0xFF, 1u);
  EXPECT_EQ(stretched.At(10, 0) & 0xFF, 4u);
  EXPECT_EQ(stretched.At(5, 0) & 0xFF, 2u);
  EXPECT_TRUE(RenderNinePart(0, 5, src, t).Empty());
  EXPECT_EQ(RenderNinePart(3, 3, Bitmap32(), t).Width(), 3);  // nothing to draw: black
}

TEST(NinePartRenderer, TransparentStateBlit) {
  // Two state images side by side; the second has a magenta hole.
  Bitmap32 src(4, 2, 0xFF112233u);
  src.Set(2, 0, kMagenta);
  Bitmap32 dst(6, 4, 0xFF000000u);
  DrawStateImage(dst, {1, 1, 3, 3}, src, 2, 2, true);
  EXPECT_EQ(dst.At(1, 1), 0xFF000000u);  // the hole shows what was there
  EXPECT_EQ(dst.At(2, 1), 0xFF112233u);
  EXPECT_EQ(dst.At(1, 2), 0xFF112233u);
  EXPECT_EQ(dst.At(0, 0), 0xFF000000u);
  DrawStateImage(dst, {1, 1, 3, 3}, src, 2, 2, false);
  EXPECT_EQ(dst.At(1, 1), kMagenta);
  // Near-magenta is not the key for drawing.
  Bitmap32 near(1, 1, 0xFFFF01FFu);
  Blit(dst, 0, 0, near, true);
  EXPECT_EQ(dst.At(0, 0), 0xFFFF01FFu);
}

TEST(NinePartRenderer, TitleBackStripKeepsItsEnds) {
  // Two states stacked; state 2 is 8 wide: ends 2 wide (colours 1, 3) and a
  // middle of two columns (colours 2, 2').
  Bitmap32 src(8, 4, 0xFF000000u);
  for (int y = 2; y < 4; ++y) {
    for (int x = 0; x < 8; ++x)
      src.Set(x, y, 0xFF000000u | static_cast<std::uint32_t>(x < 2 ? 1 : x >= 6 ? 3 : 10 + x % 2));
  }
  Bitmap32 dst(20, 4, 0xFF0000FFu);
  DrawThreePartStrip(dst, {2, 0, 18, 4}, src, 2, 2, 2);
  EXPECT_EQ(dst.At(1, 0), 0xFF0000FFu);
  EXPECT_EQ(dst.At(2, 0) & 0xFF, 1u);
  EXPECT_EQ(dst.At(4, 0) & 0xFF, 10u);
  EXPECT_EQ(dst.At(5, 0) & 0xFF, 11u);
  EXPECT_EQ(dst.At(6, 0) & 0xFF, 10u);
  EXPECT_EQ(dst.At(16, 1) & 0xFF, 3u);
  EXPECT_EQ(dst.At(10, 2), 0xFF0000FFu);  // copied as it is: no taller than a state image
}

TDataSkinTitle Title(int align, int shift, int shift_vert, int right_clip, int back_l, int back_r) {
  TDataSkinTitle t;
  t.TextAlignment = align;
  t.LeftWidth = shift;
  t.TopHeight = shift_vert;
  t.RightWidth = right_clip;
  t.TXTBackleft = back_l;
  t.TXTBackRight = back_r;
  return t;
}

TEST(TitleText, OffsetsForEachAlignment) {
  TitleTextInput in;
  in.window_width = 310;
  in.frame = {5, 20, 5, 6, 0};
  in.text_width = 100;
  in.text_height = 13;
  // Title 300 wide at x 5; box 100 + 4 + 6 wide.
  TitleTextLayout l = LayoutTitleText(Title(0, 7, 3, 40, 4, 6), in);
  EXPECT_EQ(l.title, R(5, 0, 305, 20));
  EXPECT_EQ(l.dx, 7);
  EXPECT_EQ(l.dy, 3 + 1);
  EXPECT_EQ(l.box, R(12, 4, 122, 17));
  EXPECT_EQ(l.text, R(16, 4, 116, 17));
  l = LayoutTitleText(Title(1, 7, -3, 40, 4, 6), in);
  EXPECT_EQ(l.dx, (300 - 110) / 2);
  EXPECT_EQ(l.dy, 3 - 1);  // -3 div 2 rounds towards zero
  l = LayoutTitleText(Title(2, 7, 0, 40, 4, 6), in);
  EXPECT_EQ(l.dx, 300 - 40 - 110);
  EXPECT_EQ(l.box.right, 265);
  EXPECT_EQ(LayoutTitleText(Title(5, 7, 0, 40, 4, 6), in).dx, 0);
  in.right_to_left = true;
  EXPECT_EQ(LayoutTitleText(Title(0, 7, 0, 40, 4, 6), in).dx, 150);
}

TEST(TitleText, LongTitleEndsBeforeTheRightClip) {
  TitleTextInput in;
  in.window_width = 310;
  in.frame = {5, 20, 5, 6, 0};
  in.text_width = 900;
  in.text_height = 13;
  TitleTextLayout l = LayoutTitleText(Title(0, 7, 0, 40, 4, 6), in);
  EXPECT_EQ(l.box.right, 305 - 40);
  EXPECT_EQ(l.text.right, 305 - 40 - 6);
  // A popup's box reaches the right-hand buttons, and never runs under them.
  in.popup = true;
  in.right_buttons_left = 280;
  EXPECT_EQ(LayoutTitleText(Title(0, 7, 0, 40, 4, 6), in).box.right, 275);
  in.text_width = 20;
  EXPECT_EQ(LayoutTitleText(Title(0, 7, 0, 40, 4, 6), in).box.right, 275);

  auto width = [](const std::string& s) { return static_cast<int>(s.size()) * 7; };
  EXPECT_EQ(EndEllipsis("Corvane", 100, width), "Corvane");
  EXPECT_EQ(EndEllipsis("Corvane 1.2 settings", 70, width), "Corvane...");
  EXPECT_EQ(EndEllipsis("Corvane", 10, width), "...");
  // A GBK character is never split: "开始" is four bytes, two characters.
  const std::string gbk = "\xBF\xAA\xCA\xBC\xB2\xCB\xB5\xA5";
  EXPECT_EQ(EndEllipsis(gbk, 7 * 6, width), "\xBF\xAA...");
  EXPECT_EQ(EndEllipsis(gbk, 7 * 8, width), gbk);
  EXPECT_EQ(EndEllipsis(gbk, 7 * 7, width).size(), 7u);
}

TDataSkinSysButton Button(int action, int align, int x, int y, int vis, int vis1 = 0, int w = 60,
                          int frames = 3, int h = 19) {
  TDataSkinSysButton b;
  b.Action = action;
  b.Align = align;
  b.Xcoord = x;
  b.Ycoord = y;
  b.Visibility = vis;
  b.Visibility1 = vis1;
  b.Image = Bitmap32(w, h);
  b.FrameCount = frames;
  return b;
}

TEST(TitleButtons, VisibilityCodes) {
  ButtonWindowFacts w;
  w.border_icons = kBiMaximize | kBiMinimize | kBiSystemMenu;
  const TDataSkinSysButton close = Button(0, 1, 25, 4, 0);
  EXPECT_TRUE(ButtonVisible(close, w));
  w.border_icons = kBiMaximize | kBiMinimize;
  EXPECT_FALSE(ButtonVisible(close, w));          // no system menu, no close button
  EXPECT_TRUE(ButtonVisible(Button(5, 1, 0, 0, 0), w));  // code 0 only asks the frame kind
  w.frame_kind = kFrameFixed;
  EXPECT_FALSE(ButtonVisible(Button(5, 1, 0, 0, 0), w));
  w = ButtonWindowFacts();
  w.border_icons = kBiMinimize | kBiSystemMenu;
  for (int code : {0, 2, 200, 2000})
    EXPECT_FALSE(ButtonVisible(Button(1, 1, 0, 0, code), w)) << code;  // no maximise box
  w.border_icons = kBiMaximize | kBiSystemMenu;
  EXPECT_FALSE(ButtonVisible(Button(2, 1, 0, 0, 0), w));

  w.border_icons = kBiMaximize | kBiMinimize | kBiSystemMenu;
  struct Case {
    int code;
    bool normal_active, maximised, inactive;
  };
  for (const Case& c : {Case{1, false, true, false}, Case{2, true, false, true},
                        Case{3, true, true, false}, Case{4, false, false, true},
                        Case{5, false, false, false}, Case{6, true, true, true},
                        Case{7, false, false, false}, Case{8, true, true, true},
                        Case{9, false, false, false}, Case{10, false, false, false},
                        Case{11, false, false, false}, Case{199, false, false, false},
                        Case{200, true, true, true}, Case{2001, false, false, false}}) {
    ButtonWindowFacts f = w;
    EXPECT_EQ(ButtonVisible(Button(5, 1, 0, 0, c.code, c.code), f), c.normal_active) << c.code;
    f.maximised = true;
    EXPECT_EQ(ButtonVisible(Button(5, 1, 0, 0, c.code, c.code), f), c.maximised) << c.code;
    f.maximised = false;
    f.active = false;
    EXPECT_EQ(ButtonVisible(Button(5, 1, 0, 0, c.code, c.code), f), c.inactive) << c.code;
  }
  // Both codes must agree.
  EXPECT_FALSE(ButtonVisible(Button(5, 1, 0, 0, 3, 1), w));
  // 6 and 8 need the system menu in the first code only.
  ButtonWindowFacts no_menu = w;
  no_menu.border_icons = kBiMaximize | kBiMinimize;
  EXPECT_FALSE(ButtonVisible(Button(5, 1, 0, 0, 6, 6), no_menu));
  EXPECT_TRUE(ButtonVisible(Button(5, 1, 0, 0, 0, 6), no_menu));
  // 100: the MDI buttons, while a child is maximised under a menu bar.
  ButtonWindowFacts mdi = w;
  EXPECT_FALSE(ButtonVisible(Button(7, 100, 0, 0, 100, 100), mdi));
  mdi.mdi_child_maximised = true;
  EXPECT_FALSE(ButtonVisible(Button(7, 100, 0, 0, 100, 100), mdi));
  mdi.menu_bar_height = 19;
  EXPECT_TRUE(ButtonVisible(Button(7, 100, 0, 0, 100, 100), mdi));
}

TEST(TitleButtons, LayoutForEveryAlign) {
  ButtonWindowFacts w;
  w.border_icons = kBiMaximize | kBiMinimize | kBiSystemMenu;
  w.mdi_child_maximised = true;
  w.menu_bar_height = 21;
  ButtonLayoutInput in;
  in.window_width = 310;
  in.frame = {5, 20, 5, 6, 21};
  in.text_box = {40, 3, 150, 16};
  in.menu_bar_left_width = 2;
  std::vector<TDataSkinSysButton> b = {
      Button(4, 0, 6, 3, 200),          Button(0, 1, 25, 4, 0),  Button(1, 1, 45, 4, 0),
      Button(4, 2, 3, 2, 200),          Button(4, 8, 3, 2, 200), Button(4, 3, 3, 2, 200),
      Button(4, 9, 1, 2, 200),          Button(7, 100, 42, 0, 100, 100, 40, 4, 15),
      Button(4, 5, 1, 1, 200),          Button(4, 0, 1, 1, 5),   Button(4, 0, 1, 1, 200, 0, 0)};
  b.back().Image = Bitmap32();
  int right_left = -1;
  std::vector<ButtonPlace> p = LayoutButtons(b, w, in, &right_left);
  ASSERT_EQ(p.size(), b.size());
  EXPECT_EQ(p[0].rect, Rect::FromBounds(6, 3, 20, 19));
  EXPECT_EQ(p[1].rect, Rect::FromBounds(285, 4, 20, 19));
  EXPECT_EQ(p[2].rect, Rect::FromBounds(265, 4, 20, 19));
  EXPECT_EQ(right_left, 285);  // the largest left edge of the right-aligned ones
  EXPECT_EQ(p[3].rect, Rect::FromBounds(40 - 20 - 3, 2, 20, 19));
  EXPECT_EQ(p[4].rect, p[3].rect);
  EXPECT_EQ(p[5].rect, Rect::FromBounds(153, 2, 20, 19));
  EXPECT_EQ(p[6].rect, Rect::FromBounds(151, 2, 20, 19));
  EXPECT_EQ(p[7].rect, Rect::FromBounds(310 - 42 - 5 - 2, 20 + (21 - 15) / 2, 10, 15));
  EXPECT_TRUE(p[8].visible);
  EXPECT_TRUE(p[8].rect.Empty());  // an unknown alignment is not placed
  EXPECT_FALSE(p[9].visible);
  EXPECT_TRUE(p[9].rect.Empty());
  EXPECT_TRUE(p[10].rect.Empty());  // no image: not placed

  in.right_to_left = true;
  p = LayoutButtons(b, w, in, &right_left);
  EXPECT_EQ(p[7].rect.left, 42 + 2 + 5);
  // Without right-aligned buttons the remembered edge stays.
  right_left = 77;
  LayoutButtons({Button(4, 0, 6, 3, 200)}, w, in, &right_left);
  EXPECT_EQ(right_left, 77);
}

TEST(TitleButtons, StateImagesAndWindowIcon) {
  TDataSkinSysButton b = Button(0, 1, 25, 4, 0, 0, 80, 4);
  EXPECT_EQ(PaintStateImage(b, true), 1);
  EXPECT_EQ(PaintStateImage(b, false), 4);
  b.FrameCount = 3;
  EXPECT_EQ(PaintStateImage(b, false), 1);
  EXPECT_EQ(MouseStateImage(b, 3), 3);
  b.Visibility = 100;
  EXPECT_EQ(MouseStateImage(b, 3), 4);
  EXPECT_EQ(MouseStateImage(b, 2), 2);

  std::vector<TDataSkinSysButton> skin = {Button(3, 0, 4, 4, 0), Button(11, 0, 4, 4, 0),
                                          Button(0, 1, 25, 4, 0)};
  skin[0].Image = Bitmap32();
  const Bitmap32 icon(16, 16, 0xFF123456u);
  Bitmap32 app;
  std::vector<TDataSkinSysButton> own = WindowTitleButtons(skin, icon, app);
  EXPECT_EQ(own[0].Image, icon);
  EXPECT_EQ(own[0].FrameCount, 1);
  EXPECT_EQ(app, icon);
  EXPECT_EQ(own[1].Image.Width(), 60);  // an image of its own stays
  EXPECT_TRUE(skin[0].Image.Empty());   // the skin's buttons are not changed
}

}  // namespace
}  // namespace corvane::skin

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>

#include "platform/memory/memory_filesystem.h"
#include "skin/skin_data.h"
#include "skin/skin_reader.h"
#include "skin_test_support.h"

namespace corvane::skin {
namespace {

using testing::MakeBmp;
using testing::Packed;

// Loads a skin made of a description and bitmaps.
TSkinData Load(const std::string& ini, testing::Entries images = {}) {
  images.insert(images.begin(), {"skin.ini", ToBytes(ini)});
  TSkinData data;
  EXPECT_TRUE(data.LoadPackage(Packed(images))) << data.LastError();
  EXPECT_FALSE(data.NotLoaded());
  return data;
}

TEST(ParseColour, ComponentRules) {
  EXPECT_EQ(ParseColour("59 97 131", 7), Rgb(59, 97, 131));
  EXPECT_EQ(ParseColour("  12 ", 7), Rgb(0, 0, 0));
  EXPECT_EQ(ParseColour("1 2", 7), Rgb(1, 0, 0));
  EXPECT_EQ(ParseColour("1,2,3,4 5", 7), Rgb(1, 2, 3));
  EXPECT_EQ(ParseColour("300 256 511", 7), Rgb(44, 0, 255));  // low bytes
  EXPECT_EQ(ParseColour("red", 7), Rgb(0, 0, 0));
  EXPECT_EQ(ParseColour("", 7), 7u);
  EXPECT_EQ(ParseColour("99999999999999 1 2", 7) & 0xFFFF00, Rgb(0, 1, 2) & 0xFFFF00);
}

TEST(SkinImages, LookupRules) {
  TSkinReader r;
  ASSERT_TRUE(r.ReadPackage(Packed({{"status.bmp", MakeBmp(3, 2)}, {"a.tga", MakeBmp(3, 2)},
                                    {"bad.bmp", ToBytes("BMjunk")}})));
  EXPECT_EQ(LoadSkinImage(r, "Status.bmp").Width(), 3);
  EXPECT_EQ(LoadSkinImage(r, "skins\\old\\status.bmp").Width(), 3);
  EXPECT_TRUE(LoadSkinImage(r, "status.BMP").Empty());  // extension compared exactly
  EXPECT_TRUE(LoadSkinImage(r, "a.tga").Empty());
  EXPECT_TRUE(LoadSkinImage(r, "bad.bmp").Empty());
  EXPECT_TRUE(LoadSkinImage(r, "missing.bmp").Empty());
  EXPECT_TRUE(LoadSkinImage(r, "dir\\").Empty());
}

TEST(SkinDescription, SectionCountingForButtonsAndColours) {
  TSkinData d = Load(
      "[BUTTON0]\n[BUTTON1]\n[button3]\n[BUTTON4]\n[Buttons]\n[Button.Radio]\n[Button.Checkbox]\n"
      "[Colour0]\ncolor=1 0 0\n[Colours]\n[COLOUR1]\ncolor=2 0 0\n[Colour2]\n[colour3]\ncolor=4 0 0\n"
      "[Colour4]\ncolor=\n[Colour5]\ncolor=6 0 0\n");
  const SkinModel& m = d.Model();
  ASSERT_EQ(m.SysButtons.size(), 7u);
  EXPECT_EQ(m.SysButtons[2].Name, "button3");
  EXPECT_EQ(m.SysButtons[4].Action, 7);
  EXPECT_EQ(m.IndexedColours,
            (std::vector<SkinColour>{Rgb(1, 0, 0), Rgb(2, 0, 0), SysColour(8), Rgb(4, 0, 0),
                                     SysColour(8), Rgb(6, 0, 0)}));
}

TEST(SkinDescription, ColourDefaults) {
  const SkinModel m = Load("[Colours]\nWindowText=1 2 3\nMenuText=\n").Model();
  EXPECT_EQ(m.Colours.WindowText, Rgb(1, 2, 3));
  EXPECT_EQ(m.Colours.ButtonFace, 0xFF00000Fu);
  EXPECT_EQ(m.Colours.Menubar, 0xFF00000Fu);
  EXPECT_EQ(m.Colours.MenuText, 0xFF000007u);
  EXPECT_EQ(m.Colours.Buttonlight, 0xFF000014u);
  EXPECT_EQ(m.Colours.ButtonDkShadow, 0xFF000010u);
  const SkinModel n = Load("[colours]\nbuttonface=10 20 30\nButtonText=5 5 5\n"
                            "[SunkEdge]\nImage=x.bmp\nPressedColour2=1 1 1\n").Model();
  EXPECT_EQ(n.Colours.Menubar, Rgb(10, 20, 30));
  ASSERT_TRUE(n.SunkEdge);
  EXPECT_EQ(n.SunkEdge->NormalColour2, Rgb(5, 5, 5));  // ButtonText is read first
  EXPECT_EQ(n.SunkEdge->PressedColour2, Rgb(1, 1, 1));
  EXPECT_EQ(n.SunkEdge->NormalColour, -1);
}

TEST(SkinDescription, TitleButtonFrameCounts) {
  TSkinData d = Load(
      "[BUTTON0]\nButtonImage=narrow.bmp\n[BUTTON1]\nButtonImage=wide.bmp\n"
      "[BUTTON2]\nButtonImage=narrow.bmp\nAction=-1\n[BUTTON3]\nButtonImage=narrow.bmp\nAction=3\n"
      "[BUTTON4]\nButtonImage=narrow.bmp\nAction=11\nframe=2\n[BUTTON5]\nAction=1\n"
      "[BUTTON6]\nframe=x\nXcoord=12\nCombineOp=2\n",
      {{"narrow.bmp", MakeBmp(57, 19)}, {"wide.bmp", MakeBmp(120, 19)}});
  const auto& b = d.Model().SysButtons;
  ASSERT_EQ(b.size(), 10u);
  EXPECT_EQ(b[0].FrameCount, 3);  // 57 / 19 = 3.0
  EXPECT_EQ(b[1].FrameCount, 6);
  EXPECT_EQ(b[2].FrameCount, 6);  // negative action
  EXPECT_EQ(b[3].FrameCount, 3);
  EXPECT_TRUE(b[3].Image.Empty());  // the window icon goes there
  EXPECT_EQ(b[4].FrameCount, 2);
  EXPECT_FALSE(b[4].Image.Empty());  // frame given: image kept
  EXPECT_EQ(b[5].FrameCount, 6);
  EXPECT_EQ(b[6].FrameCount, 6);  // non-numeric frame is 0
  EXPECT_EQ(b[6].Xcoord, 12);
  EXPECT_EQ(b[6].CombineOp, 2);
  EXPECT_EQ(b[5].CombineOp, -1);
}

TEST(SkinDescription, MdiButtonsAreSlicesOfOneStrip) {
  TSkinData d = Load("[MDICONTROLS]\nImage=mdi.bmp\n", {{"mdi.bmp", MakeBmp(120, 9, 0, true)}});
  const auto& b = d.Model().SysButtons;
  ASSERT_EQ(b.size(), 3u);
  const int x_expected[3] = {42, 28, 14};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(b[k].Action, 7 + k);
    EXPECT_EQ(b[k].Align, 100);
    EXPECT_EQ(b[k].Visibility1, 100);
    EXPECT_EQ(b[k].FrameCount, 4);
    EXPECT_EQ(b[k].Image.Width(), 40);
    EXPECT_EQ(b[k].Image.Height(), 9);
    EXPECT_EQ(b[k].Xcoord, x_expected[k]);
    EXPECT_EQ(b[k].Image.At(0, 0) >> 16 & 0xFF, static_cast<unsigned>(40 * k));  // red = source x
  }
  const auto none = Load("[MDICONTROLS]\nImage=\n").Model().SysButtons;
  ASSERT_EQ(none.size(), 3u);
  EXPECT_TRUE(none[0].Image.Empty());
  EXPECT_EQ(none[0].Xcoord, 0);
}

TEST(SkinDescription, FramePiecesMapTheirKeys) {
  TSkinData d = Load(
      "[Personality]\nLeft=l.bmp\nLeftTopHeight=5\nLeftBotHeight=6\nLeftFrame=2\nLeftStretch=0\n"
      "Top=t.bmp\nTopTopHeight=7\nTopBotHeight=8\nTopTrans=0\n",
      {{"l.bmp", MakeBmp(8, 30)}, {"t.bmp", MakeBmp(40, 30)}});
  const auto& f = d.Model().Frames;
  EXPECT_EQ(f[kFrameLeft].TopHeight, 5);
  EXPECT_EQ(f[kFrameLeft].BottomHeight, 6);
  EXPECT_EQ(f[kFrameLeft].LeftWidth, 0);
  EXPECT_EQ(f[kFrameLeft].FrameCount, 2);
  EXPECT_EQ(f[kFrameLeft].Tile, 0);
  EXPECT_EQ(f[kFrameLeft].Trans, 1);
  EXPECT_EQ(f[kFrameTop].LeftWidth, 7);
  EXPECT_EQ(f[kFrameTop].RightWidth, 8);
  EXPECT_EQ(f[kFrameTop].TopHeight, 0);
  EXPECT_EQ(f[kFrameTop].Trans, 0);
  EXPECT_EQ(f[kFrameTop].Tile, 1);
  EXPECT_EQ(f[kFrameTop].Name, "Top");
  EXPECT_TRUE(f[kFrameBottom].Image.Empty());
  EXPECT_EQ(f[kFrameBottom].FrameCount, 1);
}

TEST(SkinDescription, FixedFrameCountsAndPieces) {
  std::string ini;
  for (const char* s : {"GroupBoxEdge", "Toolbars", "StatusBarEdges", "SunkEdge", "ExtraImages",
                        "Headerbar", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll",
                        "VertScroll", "HorzScrollThumb", "VertScrollThumb", "Trackbar.ThumbUp",
                        "Tabs", "ComboButton", "UpDown.Horz", "UpDown.Vert"})
    ini += std::string("[") + s + "]\nImage=p.bmp\nFrameCount=9\nTile=2\n";
  ini += "[VertScrollThumb]\n[Progress]\nBitmap=p.bmp\nChunk=p.bmp\nTile=2\n"
         "[Personality]\nmenuBar=p.bmp\n[Buttons]\nBitmap=p.bmp\nTile=3\n";
  const SkinModel m = Load(ini, {{"p.bmp", MakeBmp(30, 20)}}).Model();
  EXPECT_EQ(m.GroupBoxEdge->FrameCount, 2);
  EXPECT_EQ(m.StatusBarEdges->FrameCount, 3);
  EXPECT_EQ(m.SunkEdge->FrameCount, 4);
  EXPECT_EQ(m.ComboButton->FrameCount, 4);
  EXPECT_EQ(m.Toolbars->FrameCount, 5);
  EXPECT_EQ(m.Tabs->FrameCount, 5);
  EXPECT_EQ(m.TrackbarThumbs[kThumbUp]->FrameCount, 5);
  EXPECT_FALSE(m.TrackbarThumbs[kThumbDown]);
  EXPECT_EQ(m.UpDownVert->FrameCount, 8);
  EXPECT_EQ(m.Scrollbar->FrameCount, 23);
  EXPECT_EQ(m.MenuBackground->FrameCount, 1);
  EXPECT_EQ(m.HorzScrollThumb->FrameCount, 9);
  EXPECT_EQ(m.VertScrollThumb->FrameCount, 9);  // the first of two sections counts
  EXPECT_EQ(m.Progress->FrameCount, 2);
  EXPECT_EQ(m.Progress->Tile, 2);  // only common and two-image pieces fold Tile
  EXPECT_EQ(m.Progress->Image2.Width(), 30);
  EXPECT_EQ(m.MenuBar->FrameCount, 2);
  EXPECT_EQ(m.MenuBar->LeftWidth, 1);
  EXPECT_EQ(m.MenuBar->RightWidth, 1);
  EXPECT_EQ(m.Toolbars->Tile, 0);
  EXPECT_EQ(m.Buttons.FrameCount, 5);
  EXPECT_EQ(m.Title.FrameCount, 2);
  EXPECT_FALSE(m.Headerbar->Image.Empty());
}

TEST(SkinDescription, FrameCountsNeverReachZero) {
  const SkinModel m = Load("[Personality]\nLeftFrame=0\nTopFrame=-3\n[BUTTON0]\nframe=-2\n"
                           "[VertScrollThumb]\nImage=x.bmp\nFrameCount=0\n"
                           "[Buttons]\nCheckButtonFrame=-1\n").Model();
  EXPECT_EQ(m.Frames[kFrameLeft].FrameCount, 1);
  EXPECT_EQ(m.Frames[kFrameTop].FrameCount, 1);
  EXPECT_EQ(m.SysButtons[0].FrameCount, 1);
  EXPECT_EQ(m.VertScrollThumb->FrameCount, 1);
  EXPECT_EQ(m.Buttons.CheckButtonFrame, 1);
}

TEST(SkinDescription, ThumbFrameCountDefaultsToThree) {
  const SkinModel m = Load("[HorzScrollThumb]\nImage=none.bmp\n").Model();
  ASSERT_TRUE(m.HorzScrollThumb);
  EXPECT_TRUE(m.HorzScrollThumb->Image.Empty());  // present though its bitmap is missing
  EXPECT_EQ(m.HorzScrollThumb->FrameCount, 3);
  EXPECT_FALSE(m.Tabs);
  EXPECT_FALSE(m.Progress);
  EXPECT_FALSE(m.MenuBar);
}

TEST(SkinDescription, CheckAndRadioFrames) {
  const SkinModel m =
      Load("[Buttons]\nCheckButton=c.bmp\nRadioButton=r.bmp\n",
           {{"c.bmp", MakeBmp(78, 13)}, {"r.bmp", MakeBmp(96, 16)}}).Model();
  EXPECT_EQ(m.Buttons.CheckButtonFrame, 6);  // 78 / 13, height below 16
  EXPECT_EQ(m.Buttons.RadioButtonFrame, 6);  // 96 / 16
  const SkinModel n =
      Load("[Buttons]\nCheckButton=c.bmp\nRadioButtonFrame=3\n", {{"c.bmp", MakeBmp(26, 13)}}).Model();
  EXPECT_EQ(n.Buttons.CheckButtonFrame, 4);  // at least 4
  EXPECT_EQ(n.Buttons.RadioButtonFrame, 3);
}

TEST(SkinDescription, TitleAndComboButton) {
  const SkinModel m = Load(
      "[TitlebarSkin]\nSkinName=Test\n[Personality]\nTextShift=6\nTextShiftVert=2\n"
      "ActiveTextR=255\nActiveTextG=128\nActiveTextB=0\nInActiveTextR=1\nInActiveTextG=-1\n"
      "InActiveTextB=1\n[Fonts]\nFontHeight=12\n[ComboButton]\nImage=c.bmp\n",
      {{"c.bmp", MakeBmp(4, 2, 0, true)}}).Model();
  EXPECT_EQ(m.SkinName, "Test");
  EXPECT_EQ(m.Title.LeftWidth, 6);
  EXPECT_EQ(m.Title.TopHeight, 2);
  EXPECT_EQ(m.Title.ActiveText, Rgb(255, 128, 0));
  EXPECT_EQ(m.Title.InActiveText, kColourNotGiven);
  EXPECT_EQ(m.Title.FontHeight, 12);
  ASSERT_TRUE(m.ComboButton);
  ASSERT_EQ(m.ComboButton->Image2.Width(), 4);
  EXPECT_EQ(m.ComboButton->Image2.At(0, 1), m.ComboButton->Image.At(3, 1));
}

TEST(SkinData, FailedLoadKeepsTheModel) {
  TSkinData d = Load("[TitlebarSkin]\nSkinName=Kept\n");
  std::string shown;
  d.OnMessage = [&](const std::string& m) { shown = m; };
  Bytes u = testing::Unpacked({{"skin.ini", ToBytes("[TitlebarSkin]\nSkinName=New\n")}});
  testing::PutI32At(u, 0, 1);
  EXPECT_FALSE(d.LoadPackage(skinpack::EncodeLzh(u)));
  EXPECT_TRUE(d.NotLoaded());
  EXPECT_EQ(shown, kOlderSkinMessage);
  EXPECT_EQ(d.Model().SkinName, "Kept");
  shown.clear();
  EXPECT_FALSE(d.LoadPackage(Bytes{0xFF, 0xFF, 0xFF, 0x7F}));  // 2 GiB declared
  EXPECT_TRUE(shown.empty());
  EXPECT_FALSE(d.LastError().empty());
  EXPECT_FALSE(d.LoadPackage(Packed({{"only.bmp", MakeBmp(1, 1)}})));  // no description
  EXPECT_EQ(d.Model().SkinName, "Kept");
}

TEST(SkinData, SkinStreamLayout) {
  TSkinData d;
  EXPECT_TRUE(d.ReadSkinStream(Bytes{0, 0, 0, 0}));
  EXPECT_TRUE(d.NotLoaded());
  EXPECT_TRUE(d.ReadSkinStream(Bytes{0xFE, 0xFF, 0xFF, 0xFF}));  // negative: nothing stored
  EXPECT_TRUE(d.NotLoaded());
  EXPECT_EQ(d.WriteSkinStream(), (Bytes{0, 0, 0, 0}));

  Bytes package = Packed({{"s.ini", ToBytes("[TitlebarSkin]\nSkinName=S\n")}});
  Bytes stream;
  PutU32(stream, static_cast<std::uint32_t>(package.size()));
  stream.insert(stream.end(), package.begin(), package.end());
  stream.push_back(0x99);  // whatever the host stores next
  std::size_t used = 0;
  ASSERT_TRUE(d.ReadSkinStream(stream, &used));
  EXPECT_EQ(used, stream.size() - 1);
  EXPECT_FALSE(d.NotLoaded());
  EXPECT_EQ(d.Model().SkinName, "S");
  stream.pop_back();
  EXPECT_EQ(d.WriteSkinStream(), stream);

  TSkinData e;
  stream.resize(stream.size() - 1);
  EXPECT_FALSE(e.ReadSkinStream(stream));  // count runs past the data
  EXPECT_TRUE(e.Package().empty());
}

TEST(SkinData, SkinFileReplacesTheStoredPackage) {
  TSkinData d = Load("[TitlebarSkin]\nSkinName=Stored\n");
  MemoryFileSystem fs;
  Bytes other = Packed({{"o.ini", ToBytes("[TitlebarSkin]\nSkinName=Other\n")}});
  fs.AddFile("C:\\Skins\\Other.skin", std::string(other.begin(), other.end()));
  EXPECT_FALSE(d.SetSkinFile("C:\\missing.skin", fs));
  EXPECT_TRUE(d.NotLoaded());
  EXPECT_EQ(d.SkinFile, "C:\\missing.skin");
  EXPECT_EQ(d.Model().SkinName, "Stored");
  EXPECT_TRUE(d.SetSkinFile("C:\\skins\\other.skin", fs));
  EXPECT_FALSE(d.NotLoaded());
  EXPECT_EQ(d.Model().SkinName, "Other");
  EXPECT_EQ(d.Package(), other);
}

// 60 bytes of bitmap that decode to 16 million pixels, named by every
// title-bar button: one decode per section used to hold gigabytes.
TEST(SkinBudget, AnAmplifyingPackageIsRefusedAndTheModelKept) {
  TSkinData d = Load("[TitlebarSkin]\nSkinName=Kept\n");
  std::string ini;
  for (int i = 0; i < 6; ++i) ini += "[Button" + std::to_string(i) + "]\nButtonImage=bomb.bmp\n";
  Bytes package = Packed({{"bomb.ini", ToBytes(ini)}, {"bomb.bmp", testing::MakeRleBmp(4096, 4096)}});
  ASSERT_LT(package.size(), 300u);
  EXPECT_FALSE(d.LoadPackage(package));
  EXPECT_THAT(d.LastError(), ::testing::HasSubstr("pixels"));
  EXPECT_TRUE(d.NotLoaded());
  EXPECT_EQ(d.Model().SkinName, "Kept");
}

TEST(SkinBudget, AnEntryIsDecodedOnceAndSharedByEveryPieceNamingIt) {
  const int side = 2048;  // the whole budget in one bitmap
  static_assert(side * side == kMaxSkinPixels);
  std::string ini = "[Personality]\nLeft=big.bmp\nTop=skin\\BIG.bmp\n[Buttons]\nBitmap=Big.bmp\n";
  for (int i = 0; i < 50; ++i) ini += "[BUTTON" + std::to_string(i) + "]\nButtonImage=big.bmp\n";
  TSkinData d = Load(ini, {{"big.bmp", testing::MakeRleBmp(side, side)}});
  const SkinModel& m = d.Model();
  const Bitmap32& left = m.Frames[kFrameLeft].Image;
  ASSERT_EQ(left.Width(), side);
  EXPECT_TRUE(left.SharesPixelsWith(m.Frames[kFrameTop].Image));
  EXPECT_TRUE(left.SharesPixelsWith(m.Buttons.Image));
  EXPECT_TRUE(left.SharesPixelsWith(m.SysButtons[49].Image));

  // One pixel more, in another entry or in a copy the model makes of it,
  // and the package is refused with the limit named.
  const std::string limit = std::to_string(kMaxSkinPixels) + " pixels";
  TSkinData other = Load("[TitlebarSkin]\nSkinName=Kept\n");
  EXPECT_FALSE(other.LoadPackage(Packed({{"s.ini", ToBytes(ini + "[Progress]\nBitmap=dot.bmp\n")},
                                         {"big.bmp", testing::MakeRleBmp(side, side)},
                                         {"dot.bmp", MakeBmp(1, 1)}})));
  EXPECT_THAT(other.LastError(), ::testing::HasSubstr(limit));
  EXPECT_FALSE(other.LoadPackage(Packed({{"s.ini", ToBytes("[ComboButton]\nImage=big.bmp\n")},
                                         {"big.bmp", testing::MakeRleBmp(side, side)}})));
  EXPECT_THAT(other.LastError(), ::testing::HasSubstr(limit));
  EXPECT_EQ(other.Model().SkinName, "Kept");
}

TEST(SkinBudget, AnOversizedDescriptionIsRefused) {
  std::string ini = "[TitlebarSkin]\nSkinName=Big\n";
  ini.resize(kMaxDescriptionSize + 1, ';');
  TSkinData d;
  EXPECT_FALSE(d.LoadPackage(Packed({{"big.ini", ToBytes(ini)}})));
  EXPECT_THAT(d.LastError(), ::testing::HasSubstr(std::to_string(kMaxDescriptionSize) + " bytes"));
  ini.resize(kMaxDescriptionSize);
  EXPECT_TRUE(d.LoadPackage(Packed({{"big.ini", ToBytes(ini)}})));
}

// Reading used to rescan the whole text for every key.
TEST(SkinDescription, ThousandsOfSectionsReadInLinearTime) {
  const std::string ini = testing::ManySectionDescription();
  Bytes package = Packed({{"many.ini", ToBytes(ini)}});
  TSkinData d;
  const std::clock_t start = std::clock();
  ASSERT_TRUE(d.LoadPackage(package));
  const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  EXPECT_GT(d.Model().SysButtons.size(), 2300u);
  EXPECT_EQ(d.Model().SysButtons[0].Action, 1);
  EXPECT_LT(seconds, 1.0) << "processor time for " << ini.size() << " bytes";
}

TEST(SkinData, LoadsTheSharedSamplePackage) {
  if (!testing::SharedSamplesPresent()) GTEST_SKIP() << "shared test data not found";
  Bytes packed = testing::ReadFile(testing::SharedTestData() + "/lzhuf/package.bin.lzh");
  ASSERT_FALSE(packed.empty()) << "package.bin.lzh";
  TSkinData d;
  ASSERT_TRUE(d.LoadPackage(packed));
  const SkinModel& m = d.Model();
  EXPECT_EQ(m.SkinName, "Reference Sample");
  EXPECT_EQ(m.Frames[kFrameTop].Image.Width(), 40);  // "skin\top.bmp"
  EXPECT_EQ(m.Frames[kFrameLeft].Image.Height(), 30);  // "LEFT.bmp"
  EXPECT_EQ(m.Colours.Menubar, Rgb(236, 233, 216));
  ASSERT_EQ(m.SysButtons.size(), 4u);
  EXPECT_EQ(m.SysButtons[0].FrameCount, 3);
  EXPECT_EQ(m.IndexedColours, (std::vector<SkinColour>{Rgb(1, 2, 3)}));
}

}  // namespace
}  // namespace corvane::skin

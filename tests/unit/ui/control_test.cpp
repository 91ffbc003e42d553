#include <gtest/gtest.h>

#include "test_support.h"
#include "ui/form.h"
#include "ui/graphic_controls.h"
#include "ui/std_controls.h"

namespace corvane::ui {
namespace {

using testing::AppFixture;
using testing::LeftClick;
using testing::MouseMove;
using testing::RecordingCanvas;

// A panel with a picture under two areas, each a label with a frame above it.
class Surface : public ::testing::Test {
 protected:
  Surface() {
    panel = form.Create<Panel>("Pnl");
    panel->SetParent(&form);
    panel->SetBounds(5, 6, 200, 100);
    picture = Add<Image>("Img", 0, 0, 200, 100);
    picture->SetPicture(Picture::BitmapResource("PIC"));
    lbl_a = Add<Label>("LblA", 10, 10, 50, 20);
    bvl_a = Add<Bevel>("BvlA", 10, 10, 50, 20);
    lbl_b = Add<Label>("LblB", 70, 10, 50, 20);
    lbl_b->SetCaption("B");
    bvl_a->Hide();
  }
  template <class T>
  T* Add(const char* name, int l, int t, int w, int h) {
    T* c = form.Create<T>(name);
    c->SetParent(panel);
    c->SetBounds(l, t, w, h);
    return c;
  }
  void Log(Control* c, const std::string& tag) {
    c->OnMouseMove = [this, tag](Control&, unsigned, int x, int y) {
      trail.push_back(tag + " move " + std::to_string(x) + "," + std::to_string(y));
    };
    c->OnMouseEnter = [this, tag](Control&) { trail.push_back(tag + " enter"); };
    c->OnMouseLeave = [this, tag](Control&) { trail.push_back(tag + " leave"); };
  }

  AppFixture f;
  Form form{nullptr};
  Panel* panel;
  Image* picture;
  Label* lbl_a;
  Bevel* bvl_a;
  Label* lbl_b;
  std::vector<std::string> trail;
};

TEST_F(Surface, HitTestingTakesTheTopmostVisibleEnabledChild) {
  EXPECT_EQ(panel->ControlAtPos({15, 15}), lbl_a) << "a hidden frame is not hit";
  bvl_a->Show();
  EXPECT_EQ(panel->ControlAtPos({15, 15}), bvl_a) << "the frame lies above its label";
  lbl_a->BringToFront();
  EXPECT_EQ(panel->ControlAtPos({15, 15}), lbl_a);
  EXPECT_EQ(panel->ControlAtPos({65, 15}), picture);
  lbl_b->SetEnabled(false);
  EXPECT_EQ(panel->ControlAtPos({75, 15}), picture) << "disabled controls let the mouse through";
  EXPECT_EQ(panel->ControlAtPos({199, 99}), picture);
  EXPECT_EQ(panel->ControlAtPos({200, 50}), nullptr) << "right edge is exclusive";
}

TEST_F(Surface, TheParentPaintsItsChildrenInStackingOrderAtTheirPlaces) {
  bvl_a->Show();
  RecordingCanvas canvas;
  panel->PaintWindow(canvas);
  std::vector<std::string> expected{"fill@0,0",         // the panel's background
                                    "edge@0,0",         // its raised bevel
                                    "picture:PIC@0,0",  // bottom of the stack
                                    "fill@10,10",       // label A (opaque, no caption)
                                    "edge@10,10",      "edge@11,11",  // its frame, above it
                                    "fill@70,10",      "text:B@70,10"};
  EXPECT_EQ(canvas.ops, expected);

  lbl_a->BringToFront();
  bvl_a->Hide();
  canvas.ops.clear();
  panel->PaintWindow(canvas);
  EXPECT_EQ(canvas.ops.back(), "fill@10,10") << "brought to the front, painted last";
  EXPECT_EQ(std::count(canvas.ops.begin(), canvas.ops.end(), "edge@10,10"), 0);
}

TEST_F(Surface, MouseMessagesReachTheChildInItsOwnCoordinates) {
  Log(picture, "img");
  Log(lbl_a, "a");
  Log(lbl_b, "b");
  MouseMove(*panel, 12, 14);
  MouseMove(*panel, 65, 15);
  MouseMove(*panel, 75, 12);
  EXPECT_EQ(trail,
            (std::vector<std::string>{"a enter", "a move 2,4", "a leave", "img enter",
                                      "img move 65,15", "img leave", "b enter", "b move 5,2"}));
  EXPECT_EQ(f.app.MouseControl(), lbl_b);
}

TEST_F(Surface, LeavingTheWindowSendsTheLeaveToTheChildUnderTheMouse) {
  Log(lbl_a, "a");
  MouseMove(*panel, 12, 14);
  trail.clear();
  form.Perform(msg::kMouseLeaveWindow);  // another window: nothing
  EXPECT_TRUE(trail.empty());
  panel->Perform(msg::kMouseLeaveWindow);
  EXPECT_EQ(trail, (std::vector<std::string>{"a leave"}));
  EXPECT_EQ(f.app.MouseControl(), nullptr);
}

TEST_F(Surface, AClickNeedsPressAndReleaseOnTheSameChild) {
  int a = 0, b = 0;
  lbl_a->OnClick = [&](Control&) { ++a; };
  lbl_b->OnClick = [&](Control&) { ++b; };
  LeftClick(*panel, 15, 15);
  EXPECT_EQ(a, 1);
  // Pressed on A, released over B: the release goes to A (which has the
  // mouse) outside its bounds, so nobody is clicked.
  panel->Perform(msg::kLButtonDown, msg::kMkLButton, PackPoint(15, 15));
  panel->Perform(msg::kLButtonUp, 0, PackPoint(75, 15));
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 0);
}

TEST_F(Surface, DestroyingTheControlUnderTheMouseForgetsIt) {
  MouseMove(*panel, 12, 14);
  delete lbl_a;
  EXPECT_EQ(f.app.MouseControl(), nullptr);
  MouseMove(*panel, 12, 14);
  EXPECT_EQ(f.app.MouseControl(), picture);
}

TEST_F(Surface, HintsShowForControlsThatAskForThem) {
  lbl_a->SetHint("单击进入此区域设置");
  lbl_a->SetShowHint(true);
  lbl_b->SetHint("not shown");
  MouseMove(*panel, 12, 14);
  EXPECT_EQ(f.backend.hint(), "单击进入此区域设置");
  MouseMove(*panel, 75, 14);
  EXPECT_EQ(f.backend.hint(), "");
}

// A hint never stands over a click: any press hides it, and so does the
// pointer leaving its control.
TEST_F(Surface, AnyButtonPressOrLeavingTheControlHidesTheHint) {
  lbl_a->SetHint("单击进入此区域设置");
  lbl_a->SetShowHint(true);
  const std::pair<unsigned, unsigned> presses[] = {{msg::kLButtonDown, msg::kLButtonUp},
                                                    {msg::kRButtonDown, msg::kRButtonUp},
                                                    {msg::kMButtonDown, msg::kMButtonUp}};
  for (auto [down, up] : presses) {
    SCOPED_TRACE(down);
    MouseMove(*panel, 75, 14);
    MouseMove(*panel, 12, 14);
    ASSERT_EQ(f.backend.hint(), "单击进入此区域设置");
    panel->Perform(down, 0, PackPoint(12, 14));
    EXPECT_EQ(f.backend.hint(), "");
    panel->Perform(up, 0, PackPoint(12, 14));
  }
  MouseMove(*panel, 75, 14);
  MouseMove(*panel, 12, 14);
  ASSERT_EQ(f.backend.hint(), "单击进入此区域设置");
  panel->Perform(msg::kMouseLeaveWindow);
  EXPECT_EQ(f.backend.hint(), "");
}

TEST_F(Surface, CursorComesFromTheChildUnderThePoint) {
  lbl_a->SetCursor(Cursor::kHandPoint);
  EXPECT_EQ(panel->CursorAt({12, 12}), Cursor::kHandPoint);
  EXPECT_EQ(panel->CursorAt({75, 12}), Cursor::kDefault);
}

TEST(ControlPlacement, ClientAlignedChildFillsTheParentsClientArea) {
  AppFixture f;
  Form form(nullptr);
  form.SetClientSize(530, 386);
  Panel* main = form.Create<Panel>("PnlMain");
  main->SetParent(&form);
  main->SetAlign(Align::kClient);
  main->SetBevelOuter(BevelKind::kNone);
  EXPECT_EQ(main->BoundsRect(), Rect::FromBounds(0, 0, 530, 386));
  Panel* inner = form.Create<Panel>("Inner");
  inner->SetParent(main);
  inner->SetBorderStyle(BorderStyle::kSingle);
  inner->SetBevelOuter(BevelKind::kNone);
  inner->SetBounds(5, 6, 196, 358);
  EXPECT_EQ(inner->ClientRect(), Rect::FromBounds(0, 0, 194, 356));
  Label* lbl = form.Create<Label>("L");
  lbl->SetParent(inner);
  lbl->SetBounds(1, 1, 10, 10);
  form.SetBounds(100, 50, 530, 386);
  // Inside the single border: 100 + 5 + 1 + 1.
  EXPECT_EQ(lbl->ClientToScreen({2, 3}), (Point{109, 61}));
  form.SetClientSize(300, 200);
  EXPECT_EQ(main->BoundsRect(), Rect::FromBounds(0, 0, 300, 200));
}

TEST(ControlInheritance, ChildrenTakeTheParentsFontUntilGivenTheirOwn) {
  AppFixture f;
  Form form(nullptr);
  Font song;
  song.name = "宋体";
  song.height = 12;
  form.SetFont(song);
  Panel* p = form.Create<Panel>("P");
  p->SetParent(&form);
  CheckBox* box = form.Create<CheckBox>("Box");
  box->SetParent(p);
  EXPECT_EQ(box->GetFont(), song);
  Font big = song;
  big.height = 20;
  p->SetFont(big);
  EXPECT_EQ(box->GetFont().height, 20);
  Font own = song;
  own.bold = true;
  box->SetFont(own);
  p->SetFont(song);
  EXPECT_TRUE(box->GetFont().bold);

  // Colours: a check box takes its parent's, an edit keeps its own.
  p->SetColor(Rgb(255, 251, 240));
  EXPECT_EQ(box->GetColor(), Rgb(255, 251, 240));
  Edit* e = form.Create<Edit>("E");
  e->SetParent(p);
  EXPECT_EQ(e->GetColor(), kClWindow);
}

}  // namespace
}  // namespace corvane::ui

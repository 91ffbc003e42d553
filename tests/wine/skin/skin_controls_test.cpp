// The skinned controls on real windows, under Wine: the state images a
// button and a check box show, clicks, the thumb drag of a scroll bar, which
// skin object each control of a form or a dialog gets, and that detaching
// gives every control back what it had.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>
#include <vector>

#include "platform/memory/memory_system.h"
#include "skin/win32/skin_bars_tabs.h"
#include "skin/win32/skin_control_walk.h"
#include "skin/win32/skin_scroll.h"
#include "skin/win32/skin_manage.h"
#include "skin_test_window.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/std_controls.h"
#include "ui/tree_view.h"
#include "ui/win32/win32_backend.h"

namespace corvane::skin::win32 {
namespace {

TSkinData& Skin() {
  static TSkinData skin;
  static bool loaded = LoadSkinResource(skin);
  (void)loaded;
  return skin;
}

// What the parent window was told.
struct Heard {
  std::vector<WPARAM> commands;
  std::vector<WPARAM> vscrolls;
  std::vector<LPARAM> vscroll_from;
};
Heard g_heard;

LRESULT CALLBACK ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) g_heard.commands.push_back(wp);
  if (msg == WM_VSCROLL) {
    g_heard.vscrolls.push_back(wp);
    g_heard.vscroll_from.push_back(lp);
  }
  return DefWindowProcA(h, msg, wp, lp);
}

HWND CreateParent(DWORD extra_style = 0) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  if (!GetClassInfoA(instance, "CorvaneControlsTest", &wc)) {
    wc.lpfnWndProc = &ParentProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "CorvaneControlsTest";
    RegisterClassA(&wc);
  }
  HWND h = CreateWindowExA(0, "CorvaneControlsTest", "controls", WS_OVERLAPPEDWINDOW | extra_style,
                           80, 80, 420, 320, nullptr, nullptr, instance, nullptr);
  ShowWindow(h, SW_SHOW);
  UpdateWindow(h);
  return h;
}

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
           int id = 0) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class SkinnedControls : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Skin().NotLoaded()) GTEST_SKIP() << "the test program carries no skin";
    ASSERT_EQ(LiveOwners(), OwnerCounts{});
    g_heard = {};
    parent = CreateParent();
    list = std::make_unique<SkinControls>(nullptr, Skin());
  }
  void TearDown() override {
    list.reset();
    if (parent) DestroyWindow(parent);
    PumpFor(20);
    EXPECT_EQ(LiveOwners(), OwnerCounts{}) << "the controls left something behind";
  }

  HWND parent = nullptr;
  std::unique_ptr<SkinControls> list;
};

TEST_F(SkinnedControls, AButtonShowsFocusAndDisabledImagesAndRepaintsWhenEnabled) {
  HWND b = Child(parent, "BUTTON", "确定", BS_PUSHBUTTON, 10, 10, 90, 26, 101);
  TSkinControl* s = list->AttachWindow(SkinObject::kButton, b);
  ASSERT_NE(dynamic_cast<TSkinButton*>(s), nullptr);
  UpdateWindow(b);
  EXPECT_EQ(s->LastImage(), 1);

  SetCursorPos(2, 2);  // the mouse is elsewhere
  SetFocus(b);
  EXPECT_EQ(s->LastImage(), 4) << "focused";

  EnableWindow(b, FALSE);
  EXPECT_EQ(s->LastImage(), 3);
  EXPECT_EQ(s->LastTextColour(), GetSysColor(COLOR_BTNSHADOW)) << "grey text";
  const int paints = s->Paints();
  EnableWindow(b, TRUE);  // no message loop in between
  EXPECT_GT(s->Paints(), paints) << "enabling repaints at once";
  EXPECT_NE(s->LastImage(), 3);
  EXPECT_EQ(s->LastTextColour(), ResolveColour(Skin().Model().Buttons.NormalColour2));
}

TEST_F(SkinnedControls, APressedButtonClicksOnItsReleaseEvenOutsideButNotAfterTheMouseLeft) {
  HWND b = Child(parent, "BUTTON", "按钮", BS_PUSHBUTTON, 10, 10, 90, 26, 101);
  TSkinControl* s = list->AttachWindow(SkinObject::kButton, b);
  ASSERT_NE(s, nullptr);
  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_TRUE(s->Pressed());
  EXPECT_EQ(s->LastImage(), 2);
  EXPECT_EQ(GetFocus(), b) << "a press focuses the button";
  SendMessageA(b, WM_LBUTTONUP, 0, At(-40, -40));
  PumpFor(30);
  ASSERT_EQ(g_heard.commands.size(), 1u);
  EXPECT_EQ(g_heard.commands[0], MAKEWPARAM(101, BN_CLICKED));
  EXPECT_FALSE(s->Pressed());

  // A press that the mouse left behind is no click.
  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  SendMessageA(b, kCmMouseLeave, 0, 0);
  SendMessageA(b, WM_LBUTTONUP, 0, At(5, 5));
  PumpFor(30);
  EXPECT_EQ(g_heard.commands.size(), 1u);
}

TEST_F(SkinnedControls, ACheckBoxFollowsItsCheckAndEnabledState) {
  HWND c = Child(parent, "BUTTON", "选项", BS_AUTO3STATE, 10, 10, 120, 20, 102);
  TSkinControl* s = list->AttachWindow(SkinObject::kCheckBox, c);
  ASSERT_NE(s, nullptr);
  UpdateWindow(c);
  EXPECT_EQ(s->LastImage(), 1);
  SendMessageA(c, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(s->LastImage(), 2);
  SendMessageA(c, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(s->LastImage(), 4);
  SendMessageA(c, BM_SETCHECK, BST_CHECKED, 0);
  EnableWindow(c, FALSE);
  EXPECT_EQ(s->LastImage(), 4);
  SendMessageA(c, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(s->LastImage(), 3);

  HWND r = Child(parent, "BUTTON", "单选", BS_AUTORADIOBUTTON, 10, 40, 120, 20, 103);
  TSkinControl* radio = list->AttachWindow(SkinObject::kRadioButton, r);
  SendMessageA(r, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(radio->LastImage(), 2);
}

TEST_F(SkinnedControls, TheHotControlChangesHandsAndLeavesWithTheMouse) {
  HWND a = Child(parent, "BUTTON", "A", BS_PUSHBUTTON, 10, 10, 60, 24);
  HWND b = Child(parent, "BUTTON", "B", BS_PUSHBUTTON, 80, 10, 60, 24);
  TSkinControl* sa = list->AttachWindow(SkinObject::kButton, a);
  TSkinControl* sb = list->AttachWindow(SkinObject::kButton, b);
  SendMessageA(a, WM_MOUSEMOVE, 0, At(3, 3));
  EXPECT_TRUE(sa->Hot());
  EXPECT_EQ(sa->LastImage(), 4);
  EXPECT_EQ(list->HotControl(), sa);
  SendMessageA(b, WM_MOUSEMOVE, 0, At(3, 3));
  EXPECT_FALSE(sa->Hot()) << "the previous hot control was told";
  EXPECT_EQ(sa->LastImage(), 1);
  EXPECT_EQ(list->HotControl(), sb);
  SetCursorPos(2, 2);
  list->HoverTick();
  EXPECT_FALSE(sb->Hot());
  EXPECT_EQ(list->HotControl(), nullptr);
}

TEST_F(SkinnedControls, DetachingGivesTheWindowItsProcedureBack) {
  HWND b = Child(parent, "BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 60, 24);
  HWND e = Child(parent, "EDIT", "text", WS_BORDER, 10, 40, 100, 22);
  const LONG_PTR before_b = GetWindowLongPtrA(b, GWLP_WNDPROC);
  const LONG_PTR before_e = GetWindowLongPtrA(e, GWLP_WNDPROC);
  list->AttachWindow(SkinObject::kButton, b);
  list->AttachWindow(SkinObject::kEdit, e);
  EXPECT_NE(GetWindowLongPtrA(b, GWLP_WNDPROC), before_b);
  EXPECT_EQ(LiveOwners().subclasses, 2);
  list->Release();
  EXPECT_EQ(list->Count(), 0u);
  EXPECT_EQ(GetWindowLongPtrA(b, GWLP_WNDPROC), before_b);
  EXPECT_EQ(GetWindowLongPtrA(e, GWLP_WNDPROC), before_e);
  EXPECT_EQ(LiveOwners().subclasses, 0);
}

TEST_F(SkinnedControls, AHundredAttachAndDetachCyclesLeaveNothingBehind) {
  for (int i = 0; i < 100; ++i) {
    HWND b = Child(parent, "BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 60, 24);
    HWND c = Child(parent, "COMBOBOX", "", CBS_DROPDOWNLIST, 10, 40, 120, 200);
    HWND l = Child(parent, "LISTBOX", "", WS_VSCROLL | WS_BORDER, 10, 70, 120, 60);
    HWND p = Child(parent, PROGRESS_CLASSA, "", 0, 10, 140, 120, 16);
    for (int k = 0; k < 20; ++k) SendMessageA(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
    list->AttachWindow(SkinObject::kButton, b);
    list->AttachWindow(SkinObject::kComBox, c);
    list->AttachWindow(SkinObject::kScrollBar, l);
    list->AttachWindow(SkinObject::kProgress, p);
    ASSERT_EQ(list->Count(), 4u);
    // Painting is what makes GDI objects; every fifth cycle is enough to
    // catch one that is not given back.
    if (i % 5 == 0)
      RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (i % 2) {
      // Half the time the windows go first and the objects detach themselves.
      for (HWND h : {b, c, l, p}) DestroyWindow(h);
      list->Release();
    } else {
      list->Release();
      for (HWND h : {b, c, l, p}) DestroyWindow(h);
    }
  }
  EXPECT_EQ(LiveOwners(), OwnerCounts{});
}

TEST_F(SkinnedControls, DraggingTheThumbTracksAndEndsWithPositionAndEndScroll) {
  HWND w = CreateWindowExA(0, "CorvaneControlsTest", "bar", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER,
                           10, 10, 200, 200, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  SCROLLINFO si = {sizeof si, SIF_ALL, 0, 100, 10, 0, 0};
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  auto* bar = dynamic_cast<TSkinScrollBar*>(list->AttachWindow(SkinObject::kScrollBar, w));
  ASSERT_NE(bar, nullptr);
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  const ThumbGeometry thumb = bar->Thumb(SB_VERT);
  ASSERT_TRUE(thumb.drawn);
  RECT wr, cr;
  GetWindowRect(w, &wr);
  GetClientRect(w, &cr);
  POINT press = {cr.right + GetSystemMetrics(SM_CXVSCROLL) / 2, 0};
  ClientToScreen(w, &press);
  press.y = wr.top + 1 + thumb.arrow + thumb.offset + thumb.length / 2;
  // Where the pointer goes, in client coordinates: 40 pixels down.
  POINT to = press;
  to.y += 40;
  ScreenToClient(w, &to);
  PostMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, At(to.x, to.y));
  PostMessageA(w, WM_LBUTTONUP, 0, At(to.x, to.y));
  SendMessageA(w, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(press.x, press.y));
  PumpFor(50);
  EXPECT_FALSE(bar->Dragging());

  const int expected = DragPosition(thumb.offset, 40, thumb, {0, 100, 10, 0}, nullptr);
  ASSERT_GE(g_heard.vscrolls.size(), 3u);
  EXPECT_EQ(g_heard.vscrolls[0], MAKEWPARAM(SB_THUMBTRACK, expected));
  const std::size_t n = g_heard.vscrolls.size();
  EXPECT_EQ(g_heard.vscrolls[n - 2], MAKEWPARAM(SB_THUMBPOSITION, expected));
  EXPECT_EQ(g_heard.vscrolls[n - 1], static_cast<WPARAM>(SB_ENDSCROLL));
  EXPECT_EQ(GetScrollPos(w, SB_VERT), expected);
  EXPECT_GT(expected, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SkinnedControls, AStandAloneBarTellsItsParentWithItsHandle) {
  HWND w = Child(parent, "SCROLLBAR", "", SBS_VERT, 10, 10, 17, 200);
  SCROLLINFO si = {sizeof si, SIF_ALL, 0, 100, 10, 0, 0};
  SendMessageA(w, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&si));
  auto* bar = dynamic_cast<TSkinScControl*>(list->AttachWindow(SkinObject::kScControl, w));
  ASSERT_NE(bar, nullptr);
  UpdateWindow(w);
  EXPECT_GT(bar->Paints(), 0) << "the whole bar is the skin's";
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const ThumbGeometry thumb = bar->Thumb(SB_HORZ);  // a stand-alone bar keeps its one bar first
  ASSERT_TRUE(thumb.drawn);
  const int y = thumb.arrow + thumb.offset + thumb.length / 2;
  PostMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, At(8, y + 60));
  PostMessageA(w, WM_LBUTTONUP, 0, At(8, y + 60));
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, At(8, y));
  PumpFor(50);
  const int expected = DragPosition(thumb.offset, 60, thumb, {0, 100, 10, 0}, nullptr);
  ASSERT_GE(g_heard.vscrolls.size(), 3u);
  EXPECT_EQ(g_heard.vscrolls.back(), static_cast<WPARAM>(SB_ENDSCROLL));
  EXPECT_EQ(g_heard.vscrolls[g_heard.vscrolls.size() - 2], MAKEWPARAM(SB_THUMBPOSITION, expected));
  EXPECT_EQ(SendMessageA(w, SBM_GETPOS, 0, 0), expected);
  for (LPARAM from : g_heard.vscroll_from) EXPECT_EQ(from, reinterpret_cast<LPARAM>(w));
}

TEST_F(SkinnedControls, TheCommonControlsPaintFromTheirPieces) {
  HWND combo = Child(parent, "COMBOBOX", "", CBS_DROPDOWNLIST, 10, 10, 120, 200);
  HWND tabs = Child(parent, WC_TABCONTROLA, "", 0, 10, 40, 150, 60);
  HWND track = Child(parent, TRACKBAR_CLASSA, "", 0, 170, 40, 120, 30);
  HWND arrows = Child(parent, UPDOWN_CLASSA, "", 0, 300, 40, 16, 24);
  HWND progress = Child(parent, PROGRESS_CLASSA, "", 0, 10, 110, 150, 16);
  HWND status = Child(parent, STATUSCLASSNAMEA, "就绪", 0, 0, 0, 0, 0);
  HWND view = Child(parent, WC_LISTVIEWA, "", LVS_REPORT, 170, 110, 200, 80);
  AddTab(tabs, "常规");
  AddColumn(view, "名称", 100);
  TSkinControl* c = list->AttachWindow(SkinObject::kComBox, combo);
  TSkinControl* objects[] = {
      c,
      list->AttachWindow(SkinObject::kTab, tabs),
      list->AttachWindow(SkinObject::kTrackBar, track),
      list->AttachWindow(SkinObject::kUpDown, arrows),
      list->AttachWindow(SkinObject::kProgress, progress),
      list->AttachWindow(SkinObject::kStatusBar, status),
  };
  auto* lv = dynamic_cast<TSkinListView*>(list->AttachWindow(SkinObject::kListView, view));
  ASSERT_NE(lv, nullptr);
  ASSERT_NE(lv->Header(), nullptr);
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (TSkinControl* o : objects) {
    ASSERT_NE(o, nullptr);
    EXPECT_GT(o->Paints(), 0) << typeid(*o).name();
  }
  EXPECT_GT(lv->Header()->Paints(), 0);

  // The combo box's button: hot under the mouse, pressed while dropped down.
  SendMessageA(combo, WM_MOUSEMOVE, 0, At(5, 5));
  EXPECT_EQ(c->LastImage(), 4);
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_EQ(c->LastImage(), 2);
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
  SendMessageA(combo, kCmMouseLeave, 0, 0);
  EXPECT_EQ(c->LastImage(), 1);
  EnableWindow(track, FALSE);
  UpdateWindow(track);
  EXPECT_EQ(objects[2]->LastImage(), 3) << "a disabled track bar's thumb";
}

TEST_F(SkinnedControls, ADialogsChildrenGetTheObjectsOfTheirClass) {
  HWND group = Child(parent, "BUTTON", "组", BS_GROUPBOX, 5, 5, 400, 300);
  HWND check = Child(parent, "BUTTON", "c", BS_AUTOCHECKBOX, 10, 20, 80, 20);
  HWND radio = Child(parent, "BUTTON", "r", BS_AUTORADIOBUTTON, 10, 45, 80, 20);
  HWND push = Child(parent, "BUTTON", "p", BS_DEFPUSHBUTTON, 10, 70, 80, 24);
  HWND drop = Child(parent, "COMBOBOX", "", CBS_DROPDOWNLIST, 100, 20, 100, 100);
  HWND simple = Child(parent, "COMBOBOX", "", CBS_SIMPLE, 100, 50, 100, 60);
  HWND edit = Child(parent, "EDIT", "", WS_BORDER, 100, 120, 100, 22);
  HWND real_bar = Child(parent, "SCROLLBAR", "", SBS_VERT, 220, 20, 16, 100);
  HWND size_box = Child(parent, "SCROLLBAR", "", SBS_SIZEBOX, 240, 20, 16, 16);
  HWND tabs = Child(parent, WC_TABCONTROLA, "", 0, 260, 20, 120, 80);
  list->SkinWindowChildren(parent);
  EXPECT_EQ(list->Find(group), nullptr);
  EXPECT_NE(dynamic_cast<TSkinCheckBox*>(list->Find(check)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinRadioButton*>(list->Find(radio)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinButton*>(list->Find(push)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinComBox*>(list->Find(drop)), nullptr);
  EXPECT_EQ(list->Find(simple), nullptr);
  EXPECT_NE(dynamic_cast<TSkinEdit*>(list->Find(edit)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinScControl*>(list->Find(real_bar)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinSizer*>(list->Find(size_box)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinTab*>(list->Find(tabs)), nullptr);
  const std::size_t n = list->Count();
  list->SkinWindowChildren(parent);
  EXPECT_EQ(list->Count(), n) << "a control is skinned once";
}

// --- Controls of the class library ---------------------------------------------

class SkinnedForm : public ::testing::Test {
 protected:
  SkinnedForm() : backend(GetModuleHandleA(nullptr)), app(backend, user) { backend.Attach(&app); }
  void SetUp() override {
    if (Skin().NotLoaded()) GTEST_SKIP() << "the test program carries no skin";
    form = std::make_unique<ui::Form>(nullptr);
    form->SetName("FrmSkinTest");
    form->SetCaption("皮肤");
    form->SetClientSize(400, 300);
  }
  void TearDown() override {
    form.reset();
    PumpFor(20);
    EXPECT_EQ(LiveOwners(), OwnerCounts{});
  }
  template <class T>
  T* Add(const char* name, int l, int t, int w, int h, ui::WinControl* parent = nullptr) {
    return ui::CreateControl<T>(*form, parent ? parent : form.get(), name, ui::Rect::FromBounds(l, t, w, h));
  }

  ui::win32::Win32Backend backend;
  MemoryUserInteraction user;
  ui::Application app;
  std::unique_ptr<ui::Form> form;
};

TEST_F(SkinnedForm, TheFormsControlsGetTheirObjectsAndLoseThemAtDetach) {
  auto* panel = Add<ui::Panel>("PnlTest", 0, 0, 400, 300);
  auto* button = Add<ui::Button>("BtnOk", 10, 10, 75, 25, panel);
  auto* bit = Add<ui::BitBtn>("BitBtnOk", 90, 10, 75, 25, panel);
  auto* check = Add<ui::CheckBox>("ChekBxA", 10, 40, 120, 20, panel);
  auto* radio = Add<ui::RadioButton>("RadoBtnA", 10, 65, 120, 20, panel);
  auto* edit = Add<ui::Edit>("EdtA", 10, 90, 120, 22, panel);
  auto* spin = Add<ui::SpinEdit>("EdtSpin", 10, 120, 80, 22, panel);
  auto* memo = Add<ui::Memo>("EdtMemo", 140, 40, 120, 60, panel);
  auto* tree = Add<ui::TreeView>("TrVewA", 270, 40, 120, 100, panel);
  auto* view = Add<ui::ListView>("LstVewA", 140, 150, 250, 100, panel);
  auto* off = Add<ui::Button>("BtnOff", 10, 200, 75, 25, panel);
  auto* off2 = Add<ui::CheckBox>("ChekBxOff", 10, 230, 75, 25, panel);
  off->SetTag(99);
  off2->SetTag(199);
  memo->SetScrollBars(ui::Memo::ScrollBars::kVertical);
  view->SetViewStyle(ui::ListView::ViewStyle::kReport);
  check->SetColor(ui::Rgb(1, 2, 3));
  form->Show();
  PumpFor(30);

  auto f = std::make_unique<TWinSkinForm>(nullptr, Skin(), reinterpret_cast<HWND>(form->Handle()));
  f->AttachAsForm(*form);
  SkinControls& c = f->Controls();
  EXPECT_NE(dynamic_cast<TSkinBox*>(c.Find(panel)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinButton*>(c.Find(button)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinBitButton*>(c.Find(bit)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinCheckBox*>(c.Find(check)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinRadioButton*>(c.Find(radio)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinEdit*>(c.Find(reinterpret_cast<HWND>(edit->Handle()))), nullptr);
  EXPECT_NE(dynamic_cast<TSkinEdit*>(c.Find(reinterpret_cast<HWND>(spin->Handle()))), nullptr);
  EXPECT_NE(dynamic_cast<TSkinScrollBar*>(c.Find(memo)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinScrollBar*>(c.Find(tree)), nullptr);
  auto* lv = dynamic_cast<TSkinListView*>(c.Find(view));
  ASSERT_NE(lv, nullptr);
  EXPECT_NE(lv->Header(), nullptr) << "the report view's header is skinned too";
  EXPECT_EQ(c.Find(off), nullptr) << "Tag 99";
  EXPECT_EQ(c.Find(off2), nullptr) << "Tag 199";
  bool spin_arrows = false;
  for (std::size_t i = 0; i < c.Count(); ++i) spin_arrows |= dynamic_cast<TSkinUpDown*>(&c.At(i)) != nullptr;
  EXPECT_TRUE(spin_arrows) << "the spin edit's arrows";

  // Recoloured while attached; the check box's own state wins over its window's.
  EXPECT_EQ(check->GetColor(), Skin().Model().Colours.ButtonFace);
  check->SetChecked(true);
  SendMessageA(reinterpret_cast<HWND>(check->Handle()), BM_SETCHECK, BST_UNCHECKED, 0);
  UpdateWindow(reinterpret_cast<HWND>(check->Handle()));
  EXPECT_EQ(c.Find(check)->LastImage(), 2);

  // The button clicks through its control object.
  int clicks = 0;
  button->OnClick = [&](ui::Control&) { ++clicks; };
  HWND bh = reinterpret_cast<HWND>(button->Handle());
  SendMessageA(bh, WM_LBUTTONDOWN, MK_LBUTTON, At(4, 4));
  SendMessageA(bh, WM_LBUTTONUP, 0, At(4, 4));
  EXPECT_EQ(clicks, 1);

  f->FullDetach();
  EXPECT_EQ(f->Controls().Count(), 0u);
  EXPECT_EQ(check->GetColor(), ui::Rgb(1, 2, 3)) << "the colour back";
  SendMessageA(bh, WM_LBUTTONDOWN, MK_LBUTTON, At(4, 4));
  SendMessageA(bh, WM_LBUTTONUP, 0, At(4, 4));
  PumpFor(30);
  EXPECT_EQ(clicks, 2) << "the button's own handling clicks again";
  f.reset();
}

// A hidden panel's windows wait for it to show; so do their skin objects,
// which come with the windows, panel first.
TEST_F(SkinnedForm, AHiddenPanelsControlsAreSkinnedWhenTheirWindowsAreMade) {
  auto* shown = Add<ui::CheckBox>("ChekBxShown", 10, 10, 120, 20);
  auto* panel = Add<ui::Panel>("PnlLater", 0, 40, 400, 200);
  auto* check = Add<ui::CheckBox>("ChekBxLater", 10, 10, 120, 20, panel);
  auto* gone = Add<ui::Button>("BtnGone", 10, 40, 75, 25, panel);
  check->SetColor(ui::Rgb(1, 2, 3));
  panel->Hide();
  form->Show();
  auto f = std::make_unique<TWinSkinForm>(nullptr, Skin(), reinterpret_cast<HWND>(form->Handle()));
  f->AttachAsForm(*form);
  SkinControls& c = f->Controls();
  EXPECT_NE(c.Find(shown), nullptr);
  EXPECT_FALSE(panel->HandleAllocated()) << "skinning made the hidden panel's window";
  EXPECT_EQ(c.Find(check), nullptr);
  delete gone;  // freed while waiting: never skinned, never touched
  panel->Show();
  ASSERT_TRUE(check->HandleAllocated());
  EXPECT_NE(dynamic_cast<TSkinBox*>(c.Find(panel)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinCheckBox*>(c.Find(check)), nullptr);
  EXPECT_EQ(check->GetColor(), Skin().Model().Colours.ButtonFace);
  f->FullDetach();
  EXPECT_EQ(c.Count(), 0u);
  f.reset();
}

TEST_F(SkinnedForm, AControlFreedWhileSkinnedIsLeftAloneAtDetach) {
  auto* button = Add<ui::Button>("BtnGone", 10, 10, 75, 25);
  form->Show();
  auto f = std::make_unique<TWinSkinForm>(nullptr, Skin(), reinterpret_cast<HWND>(form->Handle()));
  f->AttachAsForm(*form);
  ASSERT_NE(f->Controls().Find(button), nullptr);
  const std::size_t before = f->Controls().Count();
  delete button;
  // Gone from the list with the control, not only once the form is unskinned.
  EXPECT_EQ(f->Controls().Find(button), nullptr);
  EXPECT_EQ(f->Controls().Count(), before - 1);
  f->FullDetach();  // must not touch the freed control
  EXPECT_EQ(f->Controls().Count(), 0u);
  f.reset();
}

TEST_F(SkinnedForm, AFormDestroyedWhileSkinnedLeavesNothingBehind) {
  // The spin edit's arrows subclass its edit on top of the skin.
  Add<ui::Button>("BtnOk", 10, 10, 75, 25);
  Add<ui::Edit>("EdtA", 10, 40, 120, 22);
  Add<ui::SpinEdit>("EdtSpin", 10, 70, 80, 22);
  Add<ui::ListView>("LstVewA", 140, 10, 200, 100);
  Add<ui::TreeView>("TrVewA", 140, 120, 200, 100);
  form->Show();
  auto f = std::make_unique<TWinSkinForm>(nullptr, Skin(), reinterpret_cast<HWND>(form->Handle()));
  f->AttachAsForm(*form);
  PumpFor(30);
  form.reset();
  f.reset();
  PumpFor(30);
  EXPECT_EQ(LiveOwners(), OwnerCounts{});
}

TEST_F(SkinnedForm, AButtonWhoseClickUnskinsTheWindowOutlivesItsOwnHandler) {
  auto* button = Add<ui::Button>("BtnOff", 10, 10, 75, 25);
  form->Show();
  auto f = std::make_unique<TWinSkinForm>(nullptr, Skin(), reinterpret_cast<HWND>(form->Handle()));
  f->AttachAsForm(*form);
  ASSERT_NE(f->Controls().Find(button), nullptr);
  int clicks = 0;
  button->OnClick = [&](ui::Control&) {
    ++clicks;
    f.reset();  // the skin object's handler is still on the stack
  };
  HWND bh = reinterpret_cast<HWND>(button->Handle());
  SendMessageA(bh, WM_LBUTTONDOWN, MK_LBUTTON, At(4, 4));
  SendMessageA(bh, WM_LBUTTONUP, 0, At(4, 4));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(f, nullptr);
  // The button is its own again.
  SendMessageA(bh, BM_CLICK, 0, 0);
  PumpFor(30);
  EXPECT_EQ(clicks, 2);
}

// A windowless button of a host's own, as the speed-button rules know it.
class SpeedButton : public ui::GraphicControl {
 public:
  using ui::GraphicControl::GraphicControl;
  std::string ClassName() const override { return "TSpeedButton"; }
};

TEST_F(SkinnedForm, ASpeedButtonIsDrawnOnItsParentsCanvasAndClicks) {
  auto* panel = Add<ui::Panel>("PnlTools", 0, 0, 400, 300);
  auto* speed = ui::CreateControl<SpeedButton>(*form, panel, "SpdBtnA", ui::Rect::FromBounds(10, 10, 60, 24));
  speed->SetCaption("工具");
  int clicks = 0;
  speed->OnClick = [&](ui::Control&) { ++clicks; };
  form->Show();
  auto f = std::make_unique<TWinSkinForm>(nullptr, Skin(), reinterpret_cast<HWND>(form->Handle()));
  f->AttachAsForm(*form);
  TSkinControl* s = f->Controls().Find(speed);
  ASSERT_NE(dynamic_cast<TSkinSpeedButton*>(s), nullptr);
  HWND ph = reinterpret_cast<HWND>(panel->Handle());
  RedrawWindow(ph, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(s->LastImage(), 1);
  EXPECT_GT(s->Paints(), 0);
  speed->Perform(kCmMouseEnter);
  EXPECT_EQ(s->LastImage(), 4);
  speed->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
  EXPECT_EQ(s->LastImage(), 2);
  speed->Perform(WM_LBUTTONUP, 0, At(3, 3));
  EXPECT_EQ(clicks, 1);
  speed->SetEnabled(false);
  EXPECT_EQ(s->LastImage(), 3);
  delete speed;  // freed while skinned: left alone at detach
  f->FullDetach();
  EXPECT_EQ(f->Controls().Count(), 0u);
  f.reset();
}

// --- A message box through the manager ------------------------------------------------

TSkinManage* g_manager = nullptr;
std::size_t g_box_controls = 0;
int g_box_buttons = 0;

void CALLBACK InspectBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowA("#32770", "皮肤提醒");
  TWinSkinForm* f = box && g_manager ? g_manager->FindForm(box) : nullptr;
  if (!f) return;  // not attached yet: the next tick
  KillTimer(nullptr, id);
  SkinControls& c = f->Controls();
  g_box_controls = c.Count();
  for (std::size_t i = 0; i < c.Count(); ++i)
    g_box_buttons += dynamic_cast<TSkinButton*>(&c.At(i)) != nullptr;
  PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
}

TEST(SkinnedDialog, AMessageBoxsButtonsGetSkinObjects) {
  if (Skin().NotLoaded()) GTEST_SKIP() << "the test program carries no skin";
  Skin().Active = true;
  g_manager = &TSkinManage::Create();
  g_manager->SkinLoaded(&Skin());
  SetTimer(nullptr, 0, 100, &InspectBox);
  MessageBoxA(nullptr, "要继续吗？", "皮肤提醒", MB_OKCANCEL | MB_ICONQUESTION);
  TSkinManage::Destroy();
  g_manager = nullptr;
  PumpFor(30);
  EXPECT_EQ(g_box_buttons, 2);
  EXPECT_GE(g_box_controls, 2u);
  EXPECT_EQ(LiveOwners(), OwnerCounts{});
}

}  // namespace
}  // namespace corvane::skin::win32

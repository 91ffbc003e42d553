// The control library on real windows, under Wine: the windows follow the
// objects, what the user does to a window comes back to its control, and
// nothing is left behind.
#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <string>
#include <vector>

#include "platform/memory/memory_system.h"
#include "ui/application.h"
#include "ui/components.h"
#include "ui/form.h"
#include "ui/graphic_controls.h"
#include "ui/list_view.h"
#include "ui/std_controls.h"
#include "ui/tree_view.h"
#include "ui/win32/win32_backend.h"

namespace corvane::ui {
namespace {

HWND H(WinControl* c) { return reinterpret_cast<HWND>(c->Handle()); }

std::string ClassOf(HWND h) {
  char buf[64] = {};
  GetClassNameA(h, buf, sizeof buf);
  return buf;
}

BOOL CALLBACK CollectOurs(HWND h, LPARAM l) {
  if (ClassOf(h)[0] == 'T') reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
  return TRUE;
}

// Our top-level windows on this thread.
std::vector<HWND> OurWindows() {
  std::vector<HWND> out;
  EnumThreadWindows(GetCurrentThreadId(), &CollectOurs, reinterpret_cast<LPARAM>(&out));
  return out;
}

class Realized : public ::testing::Test {
 protected:
  Realized() : backend(GetModuleHandleA(nullptr)), app(backend, user) {
    backend.Attach(&app);
    form = std::make_unique<Form>(nullptr);
    form->SetName("FrmTest");
    form->SetCaption("test");
    form->SetBorderStyle(FormBorderStyle::kSingle);
    form->SetBorderIcons(border_icons::kSystemMenu | border_icons::kMinimize);
    form->SetClientSize(300, 200);
    panel = Add<Panel>(form.get(), "Pnl", 0, 0, 300, 200);
  }
  template <class T>
  T* Add(WinControl* parent, const char* name, int l, int t, int w, int h) {
    return CreateControl<T>(*form, parent, name, Rect::FromBounds(l, t, w, h));
  }
  // Lets the windows handle what was sent or posted to them.
  void Pump() { backend.ProcessMessages(); }

  win32::Win32Backend backend;
  MemoryUserInteraction user;
  Application app;
  std::unique_ptr<Form> form;
  Panel* panel;
};

TEST_F(Realized, TheFormWindowHasItsClassStyleAndClientSize) {
  form->Show();
  HWND h = H(form.get());
  ASSERT_TRUE(IsWindow(h));
  EXPECT_EQ(ClassOf(h), "TForm");
  LONG style = GetWindowLongA(h, GWL_STYLE);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  RECT cr;
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.right, 300);
  EXPECT_EQ(cr.bottom, 200);
  EXPECT_EQ(GetWindow(h, GW_OWNER), reinterpret_cast<HWND>(app.Handle()))
      << "owned by the application's window";
  EXPECT_EQ(app.FindForm(form->Handle()), form.get());
}

TEST_F(Realized, ACheckBoxClickedInItsWindowRunsItsReactionAndCodeReachesTheWindow) {
  auto* box = Add<CheckBox>(panel, "Box", 10, 10, 120, 17);
  box->SetCaption("显示此区域");
  std::vector<bool> seen;
  box->OnClick = [&](Control& c) { seen.push_back(static_cast<CheckBox&>(c).Checked()); };
  form->Show();
  HWND h = H(box);
  EXPECT_EQ(ClassOf(h), "TCheckBox");
  SendMessageA(h, BM_CLICK, 0, 0);
  Pump();
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(SendMessageA(h, BM_GETCHECK, 0, 0), BST_CHECKED);
  box->SetChecked(false);
  EXPECT_EQ(SendMessageA(h, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  box->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(h));
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

// Hidden panels cost the start nothing: their windows come when first shown,
// with what was set meanwhile, in the stacking (and so tab) order they would
// have had.
TEST_F(Realized, AHiddenChildsWindowIsMadeWhenFirstShownWhereItWouldHaveBeen) {
  auto* first = Add<Button>(panel, "First", 0, 0, 80, 20);
  auto* hidden = Add<Panel>(panel, "Hidden", 0, 30, 200, 100);
  auto* box = Add<CheckBox>(hidden, "Box", 10, 10, 120, 17);
  auto* last = Add<Button>(panel, "Last", 0, 140, 80, 20);
  hidden->Hide();
  form->Show();
  EXPECT_TRUE(first->HandleAllocated());
  EXPECT_TRUE(last->HandleAllocated());
  EXPECT_FALSE(hidden->HandleAllocated());
  EXPECT_FALSE(box->HandleAllocated());
  box->SetChecked(true);
  box->SetEnabled(false);
  hidden->Show();
  ASSERT_TRUE(box->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(reinterpret_cast<HWND>(box->Peer()->Handle())));
  EXPECT_EQ(SendMessageA(H(box), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(IsWindowEnabled(H(box)));
  std::vector<HWND> order;
  for (HWND h = GetWindow(H(panel), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) order.push_back(h);
  EXPECT_EQ(order, (std::vector<HWND>{H(first), H(hidden), H(last)}));
}

TEST_F(Realized, RadioButtonsTurnEachOtherOffInTheWindowsToo) {
  auto* a = Add<RadioButton>(panel, "A", 10, 10, 100, 17);
  auto* b = Add<RadioButton>(panel, "B", 10, 30, 100, 17);
  a->SetChecked(true);
  form->Show();
  EXPECT_EQ(SendMessageA(H(a), BM_GETCHECK, 0, 0), BST_CHECKED) << "state from before the window";
  SendMessageA(H(b), BM_CLICK, 0, 0);
  Pump();
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(SendMessageA(H(a), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Realized, EditTextGoesBothWaysWithOneChangeEach) {
  auto* e = Add<Edit>(panel, "Edt", 10, 10, 150, 20);
  int changes = 0;
  e->OnChange = [&](Control&) { ++changes; };
  form->Show();
  e->SetText("http://");
  char buf[64] = {};
  GetWindowTextA(H(e), buf, sizeof buf);
  EXPECT_STREQ(buf, "http://");
  SendMessageA(H(e), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("名称"));  // as if typed
  Pump();
  EXPECT_EQ(e->Text(), "名称");
  EXPECT_EQ(changes, 2);
  e->SetReadOnly(true);
  EXPECT_TRUE(GetWindowLongA(H(e), GWL_STYLE) & ES_READONLY);
}

TEST_F(Realized, ASpinEditTakesTypedNumbersWithinItsRange) {
  auto* s = Add<SpinEdit>(panel, "Spn", 10, 10, 60, 20);
  s->SetRange(0, 30);
  s->SetValue(6);
  form->Show();
  char buf[16] = {};
  GetWindowTextA(H(s), buf, sizeof buf);
  EXPECT_STREQ(buf, "6");
  SendMessageA(H(s), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12"));
  EXPECT_EQ(s->Value(), 12);
  SendMessageA(H(s), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("99"));
  EXPECT_EQ(s->Value(), 30);
  SendMessageA(H(s), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x"));
  EXPECT_EQ(s->Value(), 0) << "text that is no number counts as the least value";
  // Leaving the edit shows the value it stands for.
  SendMessageA(H(s), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("45"));
  SetFocus(H(s));
  SetFocus(H(form.get()));
  Pump();
  GetWindowTextA(H(s), buf, sizeof buf);
  EXPECT_STREQ(buf, "30");
  EXPECT_EQ(s->Value(), 30);
}

TEST_F(Realized, AReplacedMessageMethodSeesTheWindowsMessages) {
  form->Show();
  std::vector<unsigned> seen;
  MessageMethod own = form->WindowProc();
  form->SetWindowProc([&, own](Message& m) {
    if (m.msg == WM_USER + 7) seen.push_back(static_cast<unsigned>(m.wparam));
    own(m);
  });
  SendMessageA(H(form.get()), WM_USER + 7, 42, 0);
  form->SetWindowProc(own);
  SendMessageA(H(form.get()), WM_USER + 7, 43, 0);
  EXPECT_EQ(seen, (std::vector<unsigned>{42}));
}

TEST_F(Realized, TimersTickThroughTheLoopWhileEnabled) {
  Timer* t = form->Create<Timer>("Tmr");
  t->SetInterval(20);
  int ticks = 0;
  t->OnTimer = [&](Timer& self) {
    if (++ticks == 3) self.SetEnabled(false);
  };
  DWORD start = GetTickCount();
  while (ticks < 3 && GetTickCount() - start < 3000) {
    Pump();
    Sleep(5);
  }
  EXPECT_EQ(ticks, 3);
  start = GetTickCount();
  while (GetTickCount() - start < 150) {
    Pump();
    Sleep(5);
  }
  EXPECT_EQ(ticks, 3) << "no tick once disabled";
}

TEST_F(Realized, APausedTimerHasNoSystemTimerUntilResumed) {
  Timer* t = form->Create<Timer>("Tmr");
  t->SetInterval(20);
  t->SetPaused(true);
  int ticks = 0;
  t->OnTimer = [&](Timer&) { ++ticks; };
  MSG m;
  DWORD start = GetTickCount();
  // Not one WM_TIMER is queued for a paused timer, whoever would dispatch it.
  bool queued = false;
  while (GetTickCount() - start < 150 && !queued) {
    queued = PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE) != 0;
    Sleep(5);
  }
  EXPECT_FALSE(queued);
  t->SetPaused(false);
  start = GetTickCount();
  while (ticks == 0 && GetTickCount() - start < 3000) {
    Pump();
    Sleep(5);
  }
  EXPECT_GE(ticks, 1);
}

TEST_F(Realized, ARedrawPaintsWhatShowsThroughOneSurfaceAndSkipsWhatChildrenCover) {
  panel->SetAlign(Align::kClient);
  panel->SetColor(Rgb(0, 200, 0));
  auto* label = CreateControl<Label>(*form, panel, "Lbl", Rect::FromBounds(10, 10, 50, 20));
  label->SetColor(Rgb(200, 0, 0));
  int form_paints = 0, panel_paints = 0;
  form->OnPaint = [&](Control&, Canvas&) { ++form_paints; };
  panel->OnPaint = [&](Control&, Canvas&) { ++panel_paints; };
  form->Show();
  Pump();
  const UINT whole = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
  RedrawWindow(H(form.get()), nullptr, nullptr, whole);
  HDC screen = GetDC(H(panel));
  EXPECT_EQ(GetPixel(screen, 100, 100), RGB(0, 200, 0));
  EXPECT_EQ(GetPixel(screen, 20, 15), RGB(200, 0, 0)) << "the label, on the panel";
  ReleaseDC(H(panel), screen);
  EXPECT_GE(panel_paints, 1);
  EXPECT_EQ(form_paints, 0) << "the form lies wholly under its client panel";

  // Steady repaints reuse the surface the first one made.
  HDC like = GetDC(H(panel));
  HDC first = nullptr;
  {
    win32::PaintSurfaces::Lease lease(backend.Surfaces(), like, 1, 1);
    first = lease.dc();
    win32::PaintSurfaces::Lease inner(backend.Surfaces(), like, 1, 1);
    EXPECT_EQ(inner.dc(), nullptr) << "a paint inside a paint draws directly";
  }
  for (int i = 0; i < 3; ++i) RedrawWindow(H(form.get()), nullptr, nullptr, whole);
  win32::PaintSurfaces::Lease again(backend.Surfaces(), like, 1, 1);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(again.dc(), first);
  ReleaseDC(H(panel), like);
}

TEST_F(Realized, ThePaintSurfaceGivesItsMemoryBackOnceNoFormShows) {
  Form other(nullptr);
  other.SetClientSize(100, 80);
  form->Show();
  other.Show();
  Pump();
  RedrawWindow(H(form.get()), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_TRUE(backend.Surfaces().HoldsBitmap());
  form->Hide();
  EXPECT_TRUE(backend.Surfaces().HoldsBitmap()) << "another form still shows";
  other.Hide();
  EXPECT_FALSE(backend.Surfaces().HoldsBitmap());
  form->Show();
  RedrawWindow(H(form.get()), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_TRUE(backend.Surfaces().HoldsBitmap()) << "made again by the next paint";
}

TEST_F(Realized, AModalFormHoldsTheOthersOffUntilItsButtonIsPressed) {
  form->Show();
  Form dialog(nullptr);
  dialog.SetClientSize(200, 100);
  auto* ok = CreateControl<Button>(dialog, &dialog, "BtnOk", Rect::FromBounds(60, 60, 75, 25));
  ok->SetModalResult(kMrOk);
  bool main_was_enabled = true;
  Timer* press = form->Create<Timer>("Press");
  press->SetInterval(50);
  press->OnTimer = [&](Timer& self) {
    self.SetEnabled(false);
    main_was_enabled = IsWindowEnabled(H(form.get())) != FALSE;
    PostMessageA(H(ok), BM_CLICK, 0, 0);
  };
  // Should the click never arrive, the dialog still ends, with another result.
  Timer* give_up = form->Create<Timer>("GiveUp");
  give_up->SetInterval(10000);
  give_up->OnTimer = [&](Timer& self) {
    self.SetEnabled(false);
    dialog.SetModalResult(kMrCancel);
  };
  EXPECT_EQ(dialog.ShowModal(), kMrOk);
  EXPECT_FALSE(main_was_enabled);
  EXPECT_TRUE(IsWindowEnabled(H(form.get())));
  EXPECT_FALSE(IsWindowVisible(H(&dialog)));
}

// --- the tree and the list -------------------------------------------------------

std::string TreeText(HWND tree, HTREEITEM item) {
  char buf[128] = {};
  TVITEMA tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = buf;
  tv.cchTextMax = sizeof buf;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
  return buf;
}

HTREEITEM Next(HWND tree, UINT how, HTREEITEM from = nullptr) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
}

TEST_F(Realized, TheTreeWindowShowsTheNodesAndAClickSelectsAndReportsOne) {
  auto* tree = Add<TreeView>(panel, "Tree", 0, 0, 300, 150);
  tree->SetShowButtons(false);
  tree->SetShowRoot(false);
  tree->SetShowLines(false);
  tree->SetRowSelect(true);
  tree->SetReadOnly(true);
  tree->SetHideSelection(false);
  form->Show();
  tree->BeginUpdate();
  TreeNode* root = tree->Add(nullptr, "所有程序");
  tree->Add(root, "办公应用");
  tree->Add(root, "系统工具");
  root->Expand();
  tree->EndUpdate();
  HWND h = H(tree);
  EXPECT_EQ(ClassOf(h), "TTreeView");
  LONG style = GetWindowLongA(h, GWL_STYLE);
  EXPECT_EQ(style & (TVS_HASBUTTONS | TVS_LINESATROOT | TVS_HASLINES | TVS_EDITLABELS), 0);
  EXPECT_TRUE(style & TVS_FULLROWSELECT);
  EXPECT_TRUE(style & TVS_SHOWSELALWAYS);
  EXPECT_EQ(SendMessageA(h, TVM_GETINDENT, 0, 0), 19);
  EXPECT_EQ(SendMessageA(h, TVM_GETCOUNT, 0, 0), 3);
  HTREEITEM top = Next(h, TVGN_ROOT);
  HTREEITEM second = Next(h, TVGN_NEXT, Next(h, TVGN_CHILD, top));
  EXPECT_EQ(TreeText(h, top), "所有程序");
  EXPECT_EQ(TreeText(h, second), "系统工具");
  tree->SetReadOnly(false);
  EXPECT_TRUE(GetWindowLongA(h, GWL_STYLE) & TVS_EDITLABELS);

  std::vector<std::string> clicks;
  tree->OnClick = [&](Control&) { clicks.push_back(tree->Selected() ? tree->Selected()->Text() : "-"); };
  RECT r{};
  std::memcpy(&r, &second, sizeof second);  // the item goes in where the rectangle comes out
  ASSERT_TRUE(SendMessageA(h, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
  LPARAM at = MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2);
  // The release waits in the queue, so the window sees a click, not a drag.
  PostMessageA(h, WM_LBUTTONUP, 0, at);
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
  Pump();
  EXPECT_EQ(clicks, std::vector<std::string>{"系统工具"});
  EXPECT_EQ(Next(h, TVGN_CARET), second);

  tree->SetSelected(root);
  EXPECT_EQ(Next(h, TVGN_CARET), top) << "the program's selection reaches the window";
  EXPECT_EQ(clicks.size(), 1u) << "and is no click";
}

TEST_F(Realized, AnEditedLabelComesBackThroughTheParent) {
  auto* tree = Add<TreeView>(panel, "Tree", 0, 0, 300, 150);
  TreeNode* node = tree->Add(nullptr, "旧名");
  form->Show();
  HWND h = H(tree);
  std::string seen;
  tree->OnEdited = [&](TreeView&, TreeNode* n, std::string& text) { seen = n->Text() + ">" + text; };
  char typed[] = "新名";
  NMTVDISPINFOA info{};
  info.hdr.hwndFrom = h;
  info.hdr.idFrom = GetDlgCtrlID(h);
  info.hdr.code = TVN_ENDLABELEDITA;
  info.item.hItem = Next(h, TVGN_ROOT);
  info.item.lParam = reinterpret_cast<LPARAM>(node);
  info.item.pszText = typed;
  SendMessageA(H(panel), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(seen, "旧名>新名");
  EXPECT_EQ(node->Text(), "新名");
  EXPECT_EQ(TreeText(h, Next(h, TVGN_ROOT)), "新名");
}

TEST_F(Realized, TheListWindowShowsTheItemsAndReportsTheUsersSelection) {
  auto* list = Add<ListView>(panel, "List", 0, 0, 300, 200);
  list->SetViewStyle(ListView::ViewStyle::kList);
  list->SetHideSelection(false);
  list->SetItems({{"附件", 3}, {"记事本", 1}});
  form->Show();
  HWND h = H(list);
  EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
  EXPECT_EQ(SendMessageA(h, LVM_GETITEMCOUNT, 0, 0), 2);
  char buf[64] = {};
  LVITEMA item{};
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  SendMessageA(h, LVM_GETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(buf, "记事本");
  LVITEMA state{};
  state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(h, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(list->ItemFocused(), 1);
  list->SetItemIndex(0);
  EXPECT_EQ(SendMessageA(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
}

// An image left until shown: the window asks for it when it needs it, once.
class ImagesWhenShown : public ListView {
 public:
  using ListView::ListView;
  std::vector<int> asked;

 protected:
  int LookUpImage(int index) override {
    asked.push_back(index);
    return 10 + index;
  }
};

TEST_F(Realized, AnImageLeftUntilShownIsLookedUpWhenTheWindowAsksAndKept) {
  auto* list = Add<ImagesWhenShown>(panel, "List", 0, 0, 300, 200);
  list->SetViewStyle(ListView::ViewStyle::kList);
  list->SetItems({{"附件", 3}, {"记事本", ListItem::kImageWhenShown},
                  {"写字板", ListItem::kImageWhenShown}});
  form->Show();
  HWND h = H(list);
  auto image = [h](int i) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    SendMessageA(h, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
  };
  EXPECT_EQ(image(0), 3);
  EXPECT_EQ(image(2), 12);
  EXPECT_EQ(image(2), 12);
  EXPECT_EQ(list->Items()[2].image, 12);
  EXPECT_EQ(image(1), 11);
  std::sort(list->asked.begin(), list->asked.end());
  EXPECT_EQ(list->asked, (std::vector<int>{1, 2})) << "each once, whatever the paints asked";
}

int ThreadsOfThisProcess() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 te{};
  te.dwSize = sizeof te;
  int n = 0;
  for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te))
    if (te.th32OwnerProcessID == GetCurrentProcessId()) ++n;
  CloseHandle(snap);
  return n;
}

// Lists nothing, and counts how often it was asked.
class CountingShell : public ShellFolders {
 public:
  std::vector<ShellItem> Items(const std::string&) override {
    ++listings;
    return {};
  }
  int Icon(const ShellItem&) override { return -1; }
  int CompareNames(const ShellItem&, const ShellItem&) override { return 0; }
  std::optional<ShellItem> Rename(const ShellItem&, const std::string&) override { return {}; }
  int listings = 0;
};

TEST_F(Realized, AChangeInTheListedFolderRefreshesTheListAndTheWatchEndsWithIt) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "corvane_watch_" + std::to_string(GetTickCount());
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  int threads_before = ThreadsOfThisProcess();
  CountingShell shell;
  {
    auto* list = Add<ShellListView>(panel, "List", 0, 0, 300, 200);
    list->SetShellFolders(&shell);
    form->Show();
    list->SetRoot(folder);
    list->Refresh();
    EXPECT_EQ(shell.listings, 1);
    EXPECT_EQ(ThreadsOfThisProcess(), threads_before + 1) << "the watcher";
    HANDLE f = CreateFileA((folder + "\\新.lnk").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    DWORD start = GetTickCount();
    while (shell.listings < 2 && GetTickCount() - start < 5000) {
      Pump();
      Sleep(20);
    }
    EXPECT_GE(shell.listings, 2) << "refreshed on this thread after the change";
    delete list;
  }
  EXPECT_EQ(ThreadsOfThisProcess(), threads_before) << "the watcher ended with the list";
  int listings = shell.listings;
  DeleteFileA((folder + "\\新.lnk").c_str());
  Sleep(200);
  Pump();
  EXPECT_EQ(shell.listings, listings);
  RemoveDirectoryA(folder.c_str());
}

TEST(RealizedLifetime, EveryWindowGoesWithItsObjects) {
  win32::Win32Backend backend(GetModuleHandleA(nullptr));
  MemoryUserInteraction user;
  Application app(backend, user);
  backend.Attach(&app);
  {
    Form form(nullptr);
    form.SetClientSize(100, 100);
    auto* p = CreateControl<Panel>(form, &form, "P", Rect::FromBounds(0, 0, 100, 100));
    auto* e = CreateControl<Edit>(form, p, "E", Rect::FromBounds(1, 1, 50, 20));
    form.Show();
    HWND edit = H(e);
    ASSERT_TRUE(IsWindow(edit));
    delete e;
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(OurWindows().size(), 2u) << "the form and the application's window";
  }
  EXPECT_EQ(OurWindows().size(), 1u) << "only the application's window";
}

}  // namespace
}  // namespace corvane::ui

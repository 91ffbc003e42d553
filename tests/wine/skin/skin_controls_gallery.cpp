// Every kind of skinned control, to look at: a plain window whose children
// the manager skins by their classes (with the common controls attached by
// hand), in normal, pressed, focused and disabled states, the hot one left
// to the real mouse; and a form of the class library skinned by the form
// rules. With "box" in the arguments, a message box opens over them. Ends
// when the plain window is closed, or after the time given as the first
// argument (seconds); exits 3 when the engine left something behind.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
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

using namespace corvane;
using namespace corvane::skin;
using namespace corvane::skin::win32;

namespace {

HWND g_plain = nullptr;
// The clicks of the normal button, shown in a hidden label the driver reads.
HWND g_normal = nullptr;
HWND g_clicks = nullptr;
int g_click_count = 0;

LRESULT CALLBACK PlainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED && reinterpret_cast<HWND>(lp) == g_normal) {
    const std::string text = "点击 " + std::to_string(++g_click_count);
    SetWindowTextA(g_clicks, text.c_str());
  }
  return DefWindowProcA(h, msg, wp, lp);
}

void CALLBACK Quit(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }
void CALLBACK QuitWhenClosed(HWND, UINT, UINT_PTR, DWORD) {
  if (!IsWindow(g_plain)) PostQuitMessage(0);
}

// A message box over the plain window: a dialog skinned by its children's
// classes.
void CALLBACK AskLater(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  MessageBoxA(g_plain, "要把新增的项目马上分类吗？", "提醒...", MB_OKCANCEL | MB_ICONQUESTION);
}

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
           DWORD ex = 0) {
  return CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// A 16 x 16 glyph for the bitmap buttons: a green tick on a key colour.
std::string WriteGlyph() {
  char dir[MAX_PATH] = {};
  GetTempPathA(sizeof dir, dir);
  const std::string path = std::string(dir) + "corvane_glyph.bmp";
  const int w = 16, h = 16;
  std::vector<unsigned char> bmp(54 + w * h * 3);
  auto put32 = [&](std::size_t at, unsigned v) {
    for (int i = 0; i < 4; ++i) bmp[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(v >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, static_cast<unsigned>(bmp.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  bmp[26] = 1;
  bmp[28] = 24;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int row = h - 1 - y;  // bottom-up
      unsigned char* p = &bmp[54 + static_cast<std::size_t>((row * w + x) * 3)];
      const bool tick = (x >= 2 && x <= 6 && y == x + 5) || (x >= 6 && x <= 13 && y == 17 - x) ||
                        (x >= 2 && x <= 6 && y == x + 6) || (x >= 6 && x <= 13 && y == 18 - x);
      p[0] = tick ? 40 : 192;   // blue
      p[1] = tick ? 170 : 192;  // green
      p[2] = tick ? 40 : 192;   // red
    }
  }
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bmp.data(), 1, bmp.size(), f);
    std::fclose(f);
  }
  return path;
}

template <class T>
T* Add(ui::Form& form, ui::WinControl* parent, const char* name, int l, int t, int w, int h) {
  return ui::CreateControl<T>(form, parent, name, ui::Rect::FromBounds(l, t, w, h));
}

std::unique_ptr<ui::Form> LibraryForm(const std::string& glyph) {
  auto form = std::make_unique<ui::Form>(nullptr);
  form->SetName("FrmGallery");
  form->SetCaption("Corvane 控件库二：窗体控件");
  form->SetBounds(10, 410, 0, 0);
  form->SetClientSize(760, 250);
  ui::Form& f = *form;
  auto* panel = Add<ui::Panel>(f, &f, "PnlGallery", 5, 5, 750, 240);
  Add<ui::Button>(f, panel, "BtnOk", 10, 10, 80, 26)->SetCaption("确定");
  auto* apply = Add<ui::BitBtn>(f, panel, "BitBtnApply", 100, 10, 80, 26);
  apply->SetCaption("应用");
  apply->SetGlyph(ui::Picture::File(glyph));
  auto* right = Add<ui::BitBtn>(f, panel, "BitBtnRight", 190, 10, 80, 26);
  right->SetCaption("右图");
  right->SetGlyph(ui::Picture::File(glyph));
  right->SetLayout(ui::BitBtn::Layout::kGlyphRight);
  auto* off = Add<ui::BitBtn>(f, panel, "BitBtnOff", 280, 10, 80, 26);
  off->SetCaption("禁用");
  off->SetGlyph(ui::Picture::File(glyph));
  off->SetEnabled(false);
  auto* music = Add<ui::CheckBox>(f, panel, "ChekBxMusic", 10, 45, 150, 20);
  music->SetCaption("显示我的音乐图标");
  music->SetChecked(true);
  auto* run = Add<ui::CheckBox>(f, panel, "ChekBxRun", 170, 45, 120, 20);
  run->SetCaption("开机时运行");
  run->SetEnabled(false);
  auto* large = Add<ui::RadioButton>(f, panel, "RadoBtnLarge", 10, 70, 90, 20);
  large->SetCaption("大图标");
  large->SetChecked(true);
  Add<ui::RadioButton>(f, panel, "RadoBtnSmall", 110, 70, 90, 20)->SetCaption("小图标");
  Add<ui::Edit>(f, panel, "EdtUrl", 10, 100, 160, 22)->SetText("http://");
  auto* spin = Add<ui::SpinEdit>(f, panel, "EdtCount", 180, 100, 70, 22);
  spin->SetRange(0, 20);
  spin->SetValue(5);
  auto* memo = Add<ui::Memo>(f, panel, "EdtNotes", 10, 130, 250, 100);
  memo->SetScrollBars(ui::Memo::ScrollBars::kVertical);
  std::vector<std::string> lines;
  for (int i = 1; i <= 14; ++i) lines.push_back("第 " + std::to_string(i) + " 行说明文字");
  memo->SetLines(lines);
  auto* tree = Add<ui::TreeView>(f, panel, "TrVewFenlei", 370, 10, 180, 220);
  for (const char* top : {"办公软件", "网络工具", "影音娱乐", "系统工具", "编程开发"}) {
    ui::TreeNode* node = tree->Add(nullptr, top);
    for (int i = 1; i <= 3; ++i) tree->Add(node, std::string(top) + " " + std::to_string(i));
  }
  tree->FullExpand();
  auto* view = Add<ui::ListView>(f, panel, "LstVewSy", 560, 10, 180, 220);
  view->SetViewStyle(ui::ListView::ViewStyle::kList);
  std::vector<ui::ListItem> items;
  for (int i = 1; i <= 20; ++i) items.push_back({"程序 " + std::to_string(i), -1});
  view->SetItems(items);
  return form;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmd, int) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                              ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  int rc = 0;
  {
    ui::win32::Win32Backend backend(instance);
    MemoryUserInteraction user;
    ui::Application app(backend, user);
    backend.Attach(&app);
    TSkinData skin;
    if (!LoadGallerySkin(skin, "skin_controls_gallery")) return 2;
    TSkinManage& manager = TSkinManage::Create(&app);
    manager.SkinLoaded(&skin);

    // The form of the class library first, so that the plain window ends up
    // active with the focus in it.
    std::unique_ptr<ui::Form> form = LibraryForm(WriteGlyph());
    form->Show();
    PumpFor(300);

    // The plain window: its children exist before it is first activated.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &PlainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "CorvaneGallery";
    RegisterClassA(&wc);
    RECT r = {0, 0, 600, 345};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
    HWND plain = CreateWindowExA(0, "CorvaneGallery", "Corvane 控件库一：窗口子控件",
                                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 10, 10, r.right - r.left,
                                 r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    g_plain = plain;
    Child(plain, "STATIC", "按钮：", 0, 10, 15, 56, 20);
    const char* states[] = {"普通", "热点", "按下", "焦点", "禁用"};
    HWND buttons[5];
    for (int i = 0; i < 5; ++i)
      buttons[i] = Child(plain, "BUTTON", states[i], BS_PUSHBUTTON | WS_TABSTOP, 70 + i * 100, 10, 90, 26);
    g_normal = buttons[0];
    g_clicks = Child(plain, "STATIC", "点击 0", 0, 0, 0, 0, 0);
    ShowWindow(g_clicks, SW_HIDE);
    Child(plain, "STATIC", "复选：", 0, 10, 47, 56, 20);
    const char* checks[] = {"未选", "已选", "不确定", "禁用", "禁用已选"};
    HWND check[5];
    for (int i = 0; i < 5; ++i)
      check[i] = Child(plain, "BUTTON", checks[i], BS_AUTO3STATE, 70 + i * 100, 45, 95, 20);
    Child(plain, "STATIC", "单选：", 0, 10, 72, 56, 20);
    const char* radios[] = {"未选", "已选", "禁用", "禁用已选"};
    HWND radio[4];
    for (int i = 0; i < 4; ++i)
      radio[i] = Child(plain, "BUTTON", radios[i], BS_RADIOBUTTON, 70 + i * 100, 70, 95, 20);
    Child(plain, "EDIT", "可编辑的文字", ES_AUTOHSCROLL, 10, 100, 150, 22, WS_EX_CLIENTEDGE);
    HWND edit_off = Child(plain, "EDIT", "禁用的编辑框", ES_AUTOHSCROLL, 170, 100, 150, 22, WS_EX_CLIENTEDGE);
    HWND combo = Child(plain, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 330, 100, 125, 200);
    HWND combo_off = Child(plain, "COMBOBOX", "", CBS_DROPDOWN | WS_VSCROLL, 465, 100, 125, 200);
    for (HWND c : {combo, combo_off}) {
      for (const char* s : {"选项一", "选项二", "选项三"})
        SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
      SendMessageA(c, CB_SETCURSEL, 0, 0);
    }
    HWND tabs = Child(plain, WC_TABCONTROLA, "", WS_CLIPSIBLINGS, 10, 135, 280, 95);
    for (const char* name : {"常规", "高级", "关于"}) AddTab(tabs, name);
    HWND list = Child(plain, WC_LISTVIEWA, "", LVS_REPORT, 300, 135, 290, 95, WS_EX_CLIENTEDGE);
    AddColumn(list, "名称", 170);
    AddColumn(list, "大小", 90);
    for (int i = 0; i < 12; ++i) {
      std::string name = "文档 " + std::to_string(i + 1) + ".txt";
      LVITEMA item = {};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = name.data();
      SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    HWND track = Child(plain, TRACKBAR_CLASSA, "", TBS_AUTOTICKS, 10, 240, 160, 32);
    SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendMessageA(track, TBM_SETPOS, TRUE, 4);
    HWND updown = Child(plain, UPDOWN_CLASSA, "", 0, 180, 242, 17, 26);
    HWND progress = Child(plain, PROGRESS_CLASSA, "", 0, 210, 246, 150, 18);
    SendMessageA(progress, PBM_SETPOS, 60, 0);
    HWND hbar = Child(plain, "SCROLLBAR", "", SBS_HORZ, 370, 247, 160, 17);
    SCROLLINFO si = {sizeof si, SIF_ALL, 0, 100, 20, 30, 0};
    SendMessageA(hbar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&si));
    HWND vbar = Child(plain, "SCROLLBAR", "", SBS_VERT, 545, 240, 17, 75);
    si.nPos = 70;
    SendMessageA(vbar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&si));
    Child(plain, "SCROLLBAR", "", SBS_SIZEBOX, 570, 299, 17, 17);
    HWND box = Child(plain, "LISTBOX", "", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 10, 280, 160, 36, WS_EX_CLIENTEDGE);
    for (int i = 1; i <= 8; ++i)
      SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("列表项 " + std::to_string(i)).c_str()));
    HWND progress2 = Child(plain, PROGRESS_CLASSA, "", PBS_SMOOTH, 210, 282, 150, 14);
    SendMessageA(progress2, PBM_SETPOS, 35, 0);
    HWND status = Child(plain, STATUSCLASSNAMEA, "", SBARS_SIZEGRIP, 0, 0, 0, 0);
    int parts[] = {200, 400, -1};
    SendMessageA(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    const char* texts[] = {"就绪", "皮肤：Corvane", "第 3 项"};
    for (int i = 0; i < 3; ++i) SendMessageA(status, SB_SETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(texts[i]));

    SendMessageA(check[1], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(check[2], BM_SETCHECK, BST_INDETERMINATE, 0);
    SendMessageA(check[4], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(radio[1], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(radio[3], BM_SETCHECK, BST_CHECKED, 0);
    for (HWND h : {buttons[4], check[3], check[4], radio[2], radio[3], edit_off, combo_off})
      EnableWindow(h, FALSE);

    ShowWindow(plain, SW_SHOW);
    SetForegroundWindow(plain);
    PumpUntil([&] {
      TWinSkinForm* f = manager.FindForm(plain);
      return f && f->State() == kSkinRunning;
    });
    // The common controls the class table leaves alone, attached by hand.
    if (TWinSkinForm* f = manager.FindForm(plain)) {
      SkinControls& c = f->Controls();
      c.AttachWindow(SkinObject::kListView, list);
      c.AttachWindow(SkinObject::kTrackBar, track);
      c.AttachWindow(SkinObject::kUpDown, updown);
      c.AttachWindow(SkinObject::kProgress, progress);
      c.AttachWindow(SkinObject::kProgress, progress2);
      c.AttachWindow(SkinObject::kStatusBar, status);
      c.AttachWindow(SkinObject::kScrollBar, box);
    }
    SendMessageA(buttons[2], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));  // held down
    SetFocus(buttons[3]);
    RedrawWindow(plain, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

    const int seconds = std::atoi(cmd);
    if (std::strstr(cmd, "box")) SetTimer(nullptr, 0, 300, &AskLater);
    SetTimer(nullptr, 0, static_cast<UINT>((seconds > 0 ? seconds : 120) * 1000), &Quit);
    SetTimer(nullptr, 0, 200, &QuitWhenClosed);
    while (app.HandleMessage()) {
    }
    if (IsWindow(plain)) DestroyWindow(plain);
    form.reset();
    TSkinManage::Destroy();
  }
  const OwnerCounts left = LiveOwners();
  rc = left == OwnerCounts{} ? 0 : 3;
  if (rc)
    std::fprintf(stderr, "left behind: hooks %d subclasses %d timers %d shapes %d gdi %d\n", left.hooks,
                 left.subclasses, left.timers, left.shapes, left.gdi);
  return rc;
}

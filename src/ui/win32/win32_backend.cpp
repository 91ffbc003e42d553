#include "ui/win32/win32_backend.h"

#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include "core/text.h"
#include "ui/application.h"
#include "ui/components.h"
#include "ui/form.h"
#include "ui/win32/win32_folder_watch.h"
#include "ui/win32/win32_menu_skin.h"
#include "ui/win32/win32_peer.h"

namespace corvane::ui::win32 {
namespace {

constexpr char kOwnerClass[] = "TApplication";
constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;
constexpr UINT kHintPause = 500;
constexpr UINT kHintHidePause = 5000;

class Win32TimerPeer : public TimerPeer {
 public:
  Win32TimerPeer(Win32Backend& backend, Timer& timer)
      : backend_(backend), timer_(timer), id_(backend.NextId()) {
    backend_.AddTimer(id_, &timer_);
  }
  ~Win32TimerPeer() override {
    KillTimer(Owner(), id_);
    backend_.RemoveTimer(id_);
  }
  void Sync() override {
    KillTimer(Owner(), id_);
    if (timer_.Running())
      SetTimer(Owner(), id_, timer_.Interval(), nullptr);
  }

 private:
  HWND Owner() const { return reinterpret_cast<HWND>(backend_.OwnerWindow()); }
  Win32Backend& backend_;
  Timer& timer_;
  UINT_PTR id_;
};

BOOL CALLBACK CollectEnabled(HWND h, LPARAM l) {
  auto* list = reinterpret_cast<std::vector<HWND>*>(l);
  if (IsWindowVisible(h) && IsWindowEnabled(h)) list->push_back(h);
  return TRUE;
}

bool OwnThread(HWND h) { return h && GetWindowThreadProcessId(h, nullptr) == GetCurrentThreadId(); }

}  // namespace

COLORREF ToColorRef(Color c) {
  return IsSystemColor(c) ? GetSysColor(static_cast<int>(c & 0xFF)) : static_cast<COLORREF>(c);
}

Win32Backend::Win32Backend(HINSTANCE instance) : instance_(instance) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&icc);
  taskbar_created_ = RegisterWindowMessageA("TaskbarCreated");
  WNDCLASSA wc{};
  wc.lpfnWndProc = &Win32Backend::OwnerProc;
  wc.hInstance = instance_;
  wc.hIcon = reinterpret_cast<HICON>(ApplicationIcon());
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.lpszClassName = kOwnerClass;
  RegisterClassA(&wc);
  int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
  // Zero-sized and never drawn: it exists for the taskbar button and as the
  // owner of every form.
  owner_.reset(CreateWindowExA(
      0, kOwnerClass, "", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x,
      y, 0, 0, nullptr, nullptr, instance_, this));
}

Win32Backend::~Win32Backend() {
  tooltip_.reset();
  if (hint_backend_ == this) hint_backend_ = nullptr;
  owner_.reset();
  for (auto& [key, p] : pictures_) {
    if (!p.handle) continue;
    if (p.is_icon)
      DestroyIcon(static_cast<HICON>(p.handle));
    else
      DeleteObject(p.handle);
  }
  for (auto& [name, proc] : classes_) UnregisterClassA(name.c_str(), instance_);
  UnregisterClassA(kOwnerClass, instance_);
}

std::unique_ptr<WindowPeer> Win32Backend::CreateWindowPeer(WinControl& control) {
  auto peer = std::make_unique<Win32Peer>(*this, control);
  if (!peer->Create()) return nullptr;
  return peer;
}

std::unique_ptr<TimerPeer> Win32Backend::CreateTimerPeer(Timer& timer) {
  return std::make_unique<Win32TimerPeer>(*this, timer);
}

std::unique_ptr<FolderWatch> Win32Backend::WatchFolder(const std::string& folder,
                                                       std::function<void()> changed) {
  return Win32FolderWatch::Start(*this, folder, std::move(changed));
}

void Win32Backend::RemoveTimer(UINT_PTR id) { timers_.erase(id); }

void Win32Backend::TitleChanged(const std::string& title) {
  SetWindowTextA(owner_.get(), title.c_str());
}

WindowHandle Win32Backend::OwnerWindow() const {
  return reinterpret_cast<WindowHandle>(owner_.get());
}

void Win32Backend::ShowOwnerWindow(bool show) {
  if (!show) {
    ShowWindow(owner_.get(), SW_HIDE);
    return;
  }
  ShowWindow(owner_.get(), IsIconic(owner_.get()) ? SW_RESTORE : SW_SHOWNOACTIVATE);
}

void Win32Backend::Minimize() {
  Form* main = app_ ? app_->MainForm() : nullptr;
  if (main && main->HandleAllocated()) ShowWindow(reinterpret_cast<HWND>(main->Handle()), SW_HIDE);
  ShowWindow(owner_.get(), SW_MINIMIZE);
}

void Win32Backend::RestoreFromMinimized() {
  ShowWindow(owner_.get(), SW_RESTORE);
  Form* main = app_ ? app_->MainForm() : nullptr;
  if (main && main->Visible() && main->HandleAllocated()) {
    HWND h = reinterpret_cast<HWND>(main->Handle());
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
  }
}

bool Win32Backend::HandleMessage() {
  MSG msg;
  BOOL r = GetMessageA(&msg, nullptr, 0, 0);
  if (r == 0 || r == -1) return false;
  Dispatch(msg);
  return true;
}

void Win32Backend::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that waits on it
      return;
    }
    Dispatch(msg);
  }
}

void Win32Backend::Dispatch(MSG& msg) {
  if (app_) {
    Message m;
    m.msg = msg.message;
    m.wparam = msg.wParam;
    m.lparam = msg.lParam;
    m.window = reinterpret_cast<WindowHandle>(msg.hwnd);
    if (app_->FilterMessage(m)) return;
  }
  // Tab, arrows, Enter and Escape move between and press the controls of a
  // form, as in a dialog.
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd) {
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (root && root != owner_.get() && Win32Peer::FromWindow(root) && IsDialogMessageA(root, &msg))
      return;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

Point Win32Backend::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

void Win32Backend::SetForeground(Form& form) {
  SetForegroundWindow(reinterpret_cast<HWND>(form.Handle()));
}

void Win32Backend::EnableOtherWindows(Form& modal, bool enable) {
  if (!enable) {
    HWND self = reinterpret_cast<HWND>(modal.Handle());
    std::vector<HWND> all, disabled;
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&all));
    for (HWND h : all) {
      if (h == self || h == owner_.get() || h == tooltip_.get()) continue;
      EnableWindow(h, FALSE);
      disabled.push_back(h);
    }
    disabled_.push_back(std::move(disabled));
    return;
  }
  if (disabled_.empty()) return;
  for (HWND h : disabled_.back())
    if (IsWindow(h)) EnableWindow(h, TRUE);
  disabled_.pop_back();
}

MenuItem* Win32Backend::TrackPopup(PopupMenu& menu, Point screen) {
  MenuHandle h(CreatePopupMenu());
  if (!h) return nullptr;
  std::vector<MenuItem*> ids;
  for (MenuItem* item : menu.Items()) {
    if (!item->Visible()) continue;
    if (item->IsSeparator()) {
      AppendMenuA(h.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    ids.push_back(item);
    AppendMenuA(h.get(), MF_STRING | (item->Enabled() ? 0 : MF_GRAYED), ids.size(),
                item->Caption().c_str());
    if (item->Default()) SetMenuDefaultItem(h.get(), static_cast<UINT>(ids.size()), FALSE);
  }
  // The menu closes properly only when its owner is the foreground window.
  HWND owner = GetForegroundWindow();
  if (!OwnThread(owner)) owner = owner_.get();
  PopupMenuSkin* skin = CurrentPopupMenuSkin();
  const std::shared_ptr<void> skinned = skin ? skin->Begin(menu, h.get()) : nullptr;
  int cmd = TrackPopupMenu(h.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_RIGHTBUTTON,
                           screen.x, screen.y, 0, owner, nullptr);
  PostMessageA(owner, WM_NULL, 0, 0);
  if (cmd <= 0 || static_cast<std::size_t>(cmd) > ids.size()) return nullptr;
  return ids[static_cast<std::size_t>(cmd) - 1];
}

void Win32Backend::ShowHint(const std::string& text, Point) {
  if (!tooltip_) {
    // The hint never takes a click (see HintProc).
    tooltip_.reset(CreateWindowExA(WS_EX_TOPMOST | WS_EX_TRANSPARENT, TOOLTIPS_CLASSA, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_.get(),
                                   nullptr, instance_, nullptr));
    if (!tooltip_) return;
    hint_backend_ = this;
    tooltip_proc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        tooltip_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32Backend::HintProc)));
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = owner_.get();
    ti.uId = 1;
    ti.lpszText = const_cast<char*>("");
    SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageA(tooltip_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(Font{})), FALSE);
  }
  HideHint();
  hint_text_ = text;
  SetTimer(owner_.get(), kHintShowTimer, kHintPause, nullptr);
}

WNDPROC Win32Backend::tooltip_proc_ = nullptr;
Win32Backend* Win32Backend::hint_backend_ = nullptr;

// The pointer on the hint has left the hint's control: the hint goes, and
// what the mouse did there goes to the window now under the pointer. A
// hit-test answer of HTTRANSPARENT (TTF_TRANSPARENT) would do this on
// Windows, but Wine then drops the click instead of passing it on.
LRESULT CALLBACK Win32Backend::HintProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: {
      POINT pt{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
      ClientToScreen(h, &pt);
      if (hint_backend_) hint_backend_->HideHint();
      ShowWindow(h, SW_HIDE);
      HWND under = WindowFromPoint(pt);
      if (under && under != h && OwnThread(under)) {
        ScreenToClient(under, &pt);
        PostMessageA(under, m, w, MAKELPARAM(pt.x, pt.y));
      }
      return 0;
    }
    default:
      break;
  }
  return tooltip_proc_ ? CallWindowProcA(tooltip_proc_, h, m, w, l) : DefWindowProcA(h, m, w, l);
}

void Win32Backend::HideHint() {
  KillTimer(owner_.get(), kHintShowTimer);
  KillTimer(owner_.get(), kHintHideTimer);
  if (!tooltip_) return;
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;
  ti.hwnd = owner_.get();
  ti.uId = 1;
  SendMessageA(tooltip_.get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

bool Win32Backend::ExecuteOpenDialog(OpenDialog& dialog) {
  // "a|b|c|d" becomes "a\0b\0c\0d\0\0".
  std::string filter = dialog.Filter();
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter.append(2, '\0');
  char file[MAX_PATH] = {};
  std::string initial = text::TruncateChars(dialog.FileName(), MAX_PATH - 1);
  initial.copy(file, initial.size());
  OPENFILENAMEA ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  HWND active = GetActiveWindow();
  ofn.hwndOwner = OwnThread(active) ? active : owner_.get();
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = dialog.InitialDir().empty() ? nullptr : dialog.InitialDir().c_str();
  ofn.lpstrTitle = dialog.Title().empty() ? nullptr : dialog.Title().c_str();
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameA(&ofn)) return false;
  dialog.SetFileName(file);
  return true;
}

bool Win32Backend::BrowseForFolder(Form& owner, const std::string& title, unsigned flags,
                                   std::string* path) {
  struct ItemListFree {
    void operator()(ITEMIDLIST* p) const { CoTaskMemFree(p); }
  };
  BROWSEINFOA info{};
  info.hwndOwner = owner.HandleAllocated() ? reinterpret_cast<HWND>(owner.Handle()) : owner_.get();
  info.lpszTitle = title.c_str();
  info.ulFlags = flags;
  std::unique_ptr<ITEMIDLIST, ItemListFree> chosen(SHBrowseForFolderA(&info));
  if (!chosen) return false;
  // A folder outside the file system (the Control Panel) has no path to give.
  char buf[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListA(chosen.get(), buf)) return false;
  *path = buf;
  return true;
}

std::uintptr_t Win32Backend::ApplicationIcon() {
  return reinterpret_cast<std::uintptr_t>(LoadIconA(instance_, "MAINICON"));
}

HFONT Win32Backend::FontFor(const Font& f) {
  auto key = std::make_tuple(f.name, f.height, f.charset, f.bold);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second.get();
  FontHandle h(CreateFontA(-f.height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           static_cast<BYTE>(f.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, f.name.c_str()));
  HFONT raw = h.get();
  fonts_.emplace(key, std::move(h));
  return raw;
}

void Win32Backend::FormHidden() {
  if (!app_) return;
  for (Form* f : app_->Forms())
    if (f->Visible()) return;
  surfaces_.Trim();
}

HBRUSH Win32Backend::BrushFor(Color c) {
  if (IsSystemColor(c)) return GetSysColorBrush(static_cast<int>(c & 0xFF));
  auto it = brushes_.find(c);
  if (it != brushes_.end()) return it->second.get();
  BrushHandle h(CreateSolidBrush(static_cast<COLORREF>(c)));
  HBRUSH raw = h.get();
  brushes_.emplace(c, std::move(h));
  return raw;
}

HANDLE Win32Backend::PictureFor(const Picture& p, bool* is_icon) {
  *is_icon = false;
  if (p.Empty()) return nullptr;
  auto key = std::make_pair(static_cast<int>(p.kind), p.name);
  auto it = pictures_.find(key);
  if (it == pictures_.end()) {
    Loaded l;
    switch (p.kind) {
      case Picture::Kind::kBitmapResource:
        l.handle = LoadImageA(instance_, p.name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        break;
      case Picture::Kind::kIconResource:
        l.handle = LoadImageA(instance_, p.name.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE);
        l.is_icon = true;
        break;
      case Picture::Kind::kFile:
        l.is_icon = text::SameText(text::ExtractFileExt(p.name), ".ico");
        l.handle = LoadImageA(nullptr, p.name.c_str(), l.is_icon ? IMAGE_ICON : IMAGE_BITMAP, 0, 0,
                              LR_LOADFROMFILE | (l.is_icon ? LR_DEFAULTSIZE : 0));
        break;
      case Picture::Kind::kNone:
        break;
    }
    it = pictures_.emplace(key, l).first;  // a failure is remembered too
  }
  *is_icon = it->second.is_icon;
  return it->second.handle;
}

WNDPROC Win32Backend::RegisterClassFor(const std::string& name, const char* base_class, HICON icon,
                                       WNDPROC proc) {
  auto it = classes_.find(name);
  if (it != classes_.end()) return it->second;
  WNDCLASSA wc{};
  WNDPROC base = DefWindowProcA;
  if (base_class) {
    if (!GetClassInfoA(nullptr, base_class, &wc)) return nullptr;
    base = wc.lpfnWndProc;
    wc.style &= ~CS_GLOBALCLASS;
  } else {
    wc.style = CS_DBLCLKS;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    wc.hIcon = icon;
  }
  wc.lpfnWndProc = proc;
  wc.hInstance = instance_;
  wc.lpszClassName = name.c_str();
  if (!RegisterClassA(&wc)) return nullptr;
  classes_.emplace(name, base);
  return base;
}

LRESULT CALLBACK Win32Backend::OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Backend*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  return self ? self->OwnerMessage(h, m, w, l) : DefWindowProcA(h, m, w, l);
}

namespace {
PopupMenuSkin* g_popup_menu_skin = nullptr;
}  // namespace

void SetPopupMenuSkin(PopupMenuSkin* skin) { g_popup_menu_skin = skin; }
PopupMenuSkin* CurrentPopupMenuSkin() { return g_popup_menu_skin; }
bool RoutePopupMenuItemMessage(UINT msg, LPARAM lp) {
  return g_popup_menu_skin && (msg == WM_MEASUREITEM || msg == WM_DRAWITEM) &&
         g_popup_menu_skin->ItemMessage(msg, lp);
}

LRESULT Win32Backend::OwnerMessage(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (RoutePopupMenuItemMessage(m, l)) return TRUE;
  if (taskbar_created_ && m == taskbar_created_) {
    if (app_) app_->NotifyTaskbarCreated();
    return 0;
  }
  switch (m) {
    case WM_TIMER:
      if (w == kHintShowTimer) {
        KillTimer(h, kHintShowTimer);
        if (!tooltip_) return 0;
        POINT pt{};
        GetCursorPos(&pt);
        TOOLINFOA ti{};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.hwnd = h;
        ti.uId = 1;
        ti.lpszText = const_cast<char*>(hint_text_.c_str());
        SendMessageA(tooltip_.get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
        SendMessageA(tooltip_.get(), TTM_TRACKPOSITION, 0, MAKELPARAM(pt.x, pt.y + 20));
        SendMessageA(tooltip_.get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
        SetTimer(h, kHintHideTimer, kHintHidePause, nullptr);
        return 0;
      }
      if (w == kHintHideTimer) {
        HideHint();
        return 0;
      }
      if (auto it = timers_.find(w); it != timers_.end()) it->second->Tick();
      return 0;
    case WM_SYSCOMMAND:
      switch (w & 0xFFF0) {
        case SC_MINIMIZE:
          Minimize();
          return 0;
        case SC_RESTORE:
          RestoreFromMinimized();
          return 0;
        default:
          break;
      }
      break;
    case WM_CLOSE:
      if (app_ && app_->MainForm()) app_->MainForm()->Close();
      return 0;
    case WM_ACTIVATE:
      // Activating the taskbar button's window hands activation to the form.
      if (LOWORD(w) != WA_INACTIVE && app_ && app_->MainForm() && app_->MainForm()->Visible() &&
          !IsIconic(h)) {
        SetActiveWindow(reinterpret_cast<HWND>(app_->MainForm()->Handle()));
        return 0;
      }
      break;
    case WM_QUERYENDSESSION:
      return TRUE;
    case kFolderChanged:
      if (auto it = watches_.find(w); it != watches_.end()) it->second->Deliver();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(h, m, w, l);
}

}  // namespace corvane::ui::win32

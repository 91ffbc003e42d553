// The test driver: sees and drives the program's windows as a person would,
// from outside the program. One command per run; JSON on standard output.
//
//   find [--title T] [--class C] [--pid P] [--all]     top-level windows
//   wait [--title T] [--class C] [--timeout MS] [--gone]
//   info HWND | children HWND | text HWND [--message]   (--message: WM_GETTEXT, for edits)
//   settext HWND TEXT                                  WM_SETTEXT, as typing would leave it
//   click X Y [--right] [--double] | move X Y           real mouse input
//   post HWND MSG WPARAM LPARAM | send HWND MSG WPARAM LPARAM
//   key HWND VK                                        posted key down/up
//   menu                                               items of open popup menus (through
//                                                      crvhook.dll where they cannot be read
//                                                      from here)
//   screenshot FILE.bmp [HWND]
//   atom NAME [--delete]                               the global atom, 0 if none
//   items HWND                                         a list view's items
//   nodes HWND                                         a tree view's nodes
//   link FILE.lnk                                      a shortcut as the shell link object
//                                                      loads it: target, arguments, workdir,
//                                                      icon; null when it does not load
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "menu_items.h"

namespace {

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr,
                      nullptr);
  return s;
}

std::wstring Wide(const std::string& u) {
  if (u.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, u.data(), static_cast<int>(u.size()), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, u.data(), static_cast<int>(u.size()), &w[0], n);
  return w;
}

std::string Json(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') out += '\\', out += static_cast<char>(c);
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (c < 0x20) {
      char buf[8];
      snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else out += static_cast<char>(c);
  }
  return out + "\"";
}

std::string WindowText(HWND h) {
  int n = GetWindowTextLengthW(h);
  std::wstring w(n + 1, L'\0');
  n = GetWindowTextW(h, &w[0], n + 1);
  w.resize(n > 0 ? n : 0);
  return Utf8(w);
}

std::string ClassOf(HWND h) {
  wchar_t buf[256];
  int n = GetClassNameW(h, buf, 256);
  return Utf8(std::wstring(buf, n > 0 ? n : 0));
}

// Handles go out as whole numbers of pointer width.
unsigned long long HandleNumber(HWND h) { return reinterpret_cast<UINT_PTR>(h); }

std::string RectJson(const RECT& r) {
  char buf[96];
  snprintf(buf, sizeof buf, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return buf;
}

std::string Describe(HWND h) {
  RECT wr{}, cr{};
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  OffsetRect(&cr, origin.x, origin.y);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  // The title can be a message box's whole text: no buffer of a fixed size.
  char buf[512];
  snprintf(buf, sizeof buf,
           ",\"visible\":%s,\"enabled\":%s,\"style\":%lu,\"exstyle\":%lu,\"rect\":%s,"
           "\"client\":%s,\"pid\":%lu,\"owner\":%llu,\"parent\":%llu,\"id\":%ld",
           IsWindowVisible(h) ? "true" : "false", IsWindowEnabled(h) ? "true" : "false",
           static_cast<unsigned long>(GetWindowLongA(h, GWL_STYLE)),
           static_cast<unsigned long>(GetWindowLongA(h, GWL_EXSTYLE)), RectJson(wr).c_str(),
           RectJson(cr).c_str(), pid,
           HandleNumber(GetWindow(h, GW_OWNER)),
           HandleNumber(GetParent(h)),
           static_cast<long>(GetDlgCtrlID(h)));
  std::string s = "{\"hwnd\":" + std::to_string(HandleNumber(h)) + ",\"class\":" +
                  Json(ClassOf(h)) + ",\"title\":" + Json(WindowText(h)) + buf;
  std::string cls = ClassOf(h);
  // The program's check boxes and radio buttons are buttons of their own class.
  if (cls == "Button" || cls == "TCheckBox" || cls == "TRadioButton") {
    LRESULT check = SendMessageA(h, BM_GETCHECK, 0, 0);
    s += ",\"checked\":" + std::to_string(check);
  }
  return s + "}";
}

HWND ParseHwnd(const char* s) {
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(s, nullptr, 0)));
}

struct Filter {
  std::string title, cls;
  DWORD pid = 0;
  bool all = false;
};

struct FilterContext {
  const Filter* f;
  std::vector<HWND> out;
};

BOOL CALLBACK CollectMatching(HWND h, LPARAM lp) {
  auto* c = reinterpret_cast<FilterContext*>(lp);
  if (!c->f->all && !IsWindowVisible(h)) return TRUE;
  if (!c->f->title.empty() && WindowText(h) != c->f->title) return TRUE;
  if (!c->f->cls.empty() && ClassOf(h) != c->f->cls) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (c->f->pid && pid != c->f->pid) return TRUE;
  c->out.push_back(h);
  return TRUE;
}

BOOL CALLBACK CollectAll(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

std::vector<HWND> TopLevel(const Filter& f) {
  FilterContext ctx{&f, {}};
  EnumWindows(CollectMatching, reinterpret_cast<LPARAM>(&ctx));
  return ctx.out;
}

void PrintList(const std::vector<HWND>& hs) {
  std::string s = "[";
  for (size_t i = 0; i < hs.size(); ++i) s += (i ? "," : "") + Describe(hs[i]);
  printf("%s]\n", s.c_str());
}

void Children(HWND parent) {
  std::vector<HWND> hs;
  EnumChildWindows(parent, CollectAll, reinterpret_cast<LPARAM>(&hs));
  PrintList(hs);
}

// Every mouse event carries its own absolute position: under Wine a bare
// button event can land where the pointer was before the last move.
void Mouse(int x, int y, DWORD buttons) {
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = (x * 65535 + sw / 2) / (sw - 1);
  in.mi.dy = (y * 65535 + sh / 2) / (sh - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &in, sizeof in);
}

void Click(int x, int y, bool right, bool twice) {
  DWORD down = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  DWORD up = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  Mouse(x, y, 0);
  Sleep(60);
  for (int i = 0; i < (twice ? 2 : 1); ++i) {
    Mouse(x, y, down);
    Sleep(40);
    Mouse(x, y, up);
    Sleep(60);
  }
}

// Wine lets no other process read a menu: crvhook.dll, beside the driver, is
// hooked into the thread that owns the menu window and reads it there.
bool ReadMenuInOwner(HWND window, crv::MenuItems* out) {
  char path[MAX_PATH];
  std::string dll(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  dll = dll.substr(0, dll.find_last_of('\\') + 1) + "crvhook.dll";
  char name[64];
  crv::MenuBlockName(GetCurrentProcessId(), name);
  struct Held {
    HMODULE dll;
    HANDLE map;
    void* view;
    ~Held() {
      if (view) UnmapViewOfFile(view);
      if (map) CloseHandle(map);
      if (dll) FreeLibrary(dll);
    }
  } held{LoadLibraryA(dll.c_str()), nullptr, nullptr};
  auto proc = held.dll ? reinterpret_cast<HOOKPROC>(
                             reinterpret_cast<void*>(GetProcAddress(held.dll, "CrvReadMenuHook")))
                       : nullptr;
  if (!proc) {
    // A bench fault, not an unreadable menu: say so and stop.
    printf("{\"error\": \"%s has no entry point CrvReadMenuHook\"}\n",
           held.dll ? "crvhook.dll" : "crvhook.dll could not be loaded and");
    exit(3);
  }
  held.map = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                sizeof(crv::MenuItems), name);
  held.view = held.map ? MapViewOfFile(held.map, FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr;
  if (!held.view) return false;
  auto* block = static_cast<crv::MenuItems*>(held.view);
  block->count = -1;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, proc, held.dll,
                                 GetWindowThreadProcessId(window, nullptr));
  if (!hook) return false;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, RegisterWindowMessageA(crv::kReadMenuMessage), GetCurrentProcessId(),
                      0, SMTO_ABORTIFHUNG, 5000, &ignored);
  UnhookWindowsHookEx(hook);
  if (block->count < 0) return false;
  *out = *block;
  return true;
}

void Menus() {
  Filter f;
  f.cls = "#32768";
  std::string s = "[";
  bool first = true;
  for (HWND h : TopLevel(f)) {
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(h, 0x01E1 /* MN_GETHMENU */, 0, 0));
    RECT wr{};
    GetWindowRect(h, &wr);
    static crv::MenuItems read;
    crv::ReadMenu(menu, &read);
    bool readable = read.count >= 0 || ReadMenuInOwner(h, &read);
    std::string items = "[";
    for (LONG i = 0; readable && i < read.count; ++i) {
      const crv::MenuItem& item = read.items[i];
      items += (i ? "," : "") + std::string("{\"text\":") + Json(Utf8(item.text)) +
               ",\"separator\":" + ((item.state & MF_SEPARATOR) ? "true" : "false") +
               ",\"id\":" + std::to_string(item.id) + ",\"rect\":" + RectJson(item.rect) + "}";
    }
    s += (first ? "" : ",") + std::string("{\"hwnd\":") +
         std::to_string(HandleNumber(h)) + ",\"rect\":" + RectJson(wr) +
         ",\"readable\":" + (readable ? "true" : "false") + ",\"items\":" + items + "]}";
    first = false;
  }
  printf("%s]\n", s.c_str());
}

bool Screenshot(const char* file, HWND h) {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (h) GetWindowRect(h, &r);
  int w = r.right - r.left, ht = r.bottom - r.top;
  if (w <= 0 || ht <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = ht;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, ht, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  DWORD stride = ((w * 3) + 3) & ~3u;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + stride * ht;
  bool ok = false;
  if (FILE* f = fopen(file, "wb")) {
    ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
         fwrite(bits, stride * ht, 1, f) == 1;
    fclose(f);
  }
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

// Memory in the window's process, for messages that pass pointers there.
class Remote {
 public:
  Remote(HWND h, size_t size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
      at_ = static_cast<char*>(
          VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~Remote() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  Remote(const Remote&) = delete;
  Remote& operator=(const Remote&) = delete;
  bool ok() const { return at_ != nullptr; }
  char* at(size_t offset = 0) const { return at_ + offset; }
  void Put(size_t offset, const void* data, size_t n) {
    WriteProcessMemory(process_, at_ + offset, data, n, nullptr);
  }
  void Get(size_t offset, void* data, size_t n) const {
    ReadProcessMemory(process_, at_ + offset, data, n, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  char* at_ = nullptr;
};

constexpr size_t kTextChars = 512;

LRESULT Send(HWND h, UINT m, WPARAM w, LPARAM l) {
  DWORD_PTR r = 0;
  SendMessageTimeoutW(h, m, w, l, SMTO_ABORTIFHUNG, 5000, &r);
  return static_cast<LRESULT>(r);
}

// A get-item message whose structure names a text buffer, both placed in
// the window's process; the item as it came back and its text.
template <class Item>
std::string AskItem(HWND h, Remote& mem, UINT message, WPARAM w, Item& item) {
  const size_t text_at = sizeof(Item) + sizeof(RECT);
  item.pszText = reinterpret_cast<LPWSTR>(mem.at(text_at));
  item.cchTextMax = kTextChars;
  mem.Put(0, &item, sizeof item);
  Send(h, message, w, reinterpret_cast<LPARAM>(mem.at()));
  mem.Get(0, &item, sizeof item);
  wchar_t text[kTextChars] = {};
  mem.Get(text_at, text, sizeof text - sizeof(wchar_t));
  return Utf8(text);
}

// A get-rectangle message; the rectangle carries its question in and the
// answer out, in screen coordinates, or an empty one.
template <class Item>
RECT AskRect(HWND h, Remote& mem, UINT message, WPARAM w, const void* question, size_t size) {
  RECT r{};
  mem.Put(sizeof(Item), &r, sizeof r);
  mem.Put(sizeof(Item), question, size);
  if (!Send(h, message, w, reinterpret_cast<LPARAM>(mem.at(sizeof(Item))))) return RECT{};
  mem.Get(sizeof(Item), &r, sizeof r);
  MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

template <class Item>
Remote MemoryFor(HWND h) {
  return Remote(h, sizeof(Item) + sizeof(RECT) + kTextChars * sizeof(wchar_t));
}

// Text, icon index, selection and place of every item, in display order.
void ListItems(HWND h) {
  Remote mem = MemoryFor<LVITEMW>(h);
  if (!mem.ok()) return void(printf("null\n"));
  int n = static_cast<int>(Send(h, LVM_GETITEMCOUNT, 0, 0));
  std::string s = "[";
  for (int i = 0; i < n; ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    std::string text = AskItem(h, mem, LVM_GETITEMW, 0, item);
    LONG bounds = LVIR_BOUNDS;
    RECT r = AskRect<LVITEMW>(h, mem, LVM_GETITEMRECT, i, &bounds, sizeof bounds);
    UINT state = static_cast<UINT>(Send(h, LVM_GETITEMSTATE, i, LVIS_SELECTED | LVIS_FOCUSED));
    s += (i ? "," : "") + std::string("{\"text\":") + Json(text) +
         ",\"image\":" + std::to_string(item.iImage) +
         ",\"selected\":" + ((state & LVIS_SELECTED) ? "true" : "false") +
         ",\"rect\":" + RectJson(r) + "}";
  }
  printf("%s]\n", s.c_str());
}

HTREEITEM NextNode(HWND h, UINT how, HTREEITEM from) {
  return reinterpret_cast<HTREEITEM>(Send(h, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
}

void TreeLevel(HWND h, Remote& mem, HTREEITEM item, int level, HTREEITEM selected,
               std::string& s) {
  for (; item; item = NextNode(h, TVGN_NEXT, item)) {
    TVITEMW tv{};
    tv.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_STATE;
    tv.hItem = item;
    tv.stateMask = TVIS_EXPANDED;
    std::string text = AskItem(h, mem, TVM_GETITEMW, 0, tv);
    RECT r = AskRect<TVITEMW>(h, mem, TVM_GETITEMRECT, FALSE, &item, sizeof item);
    s += (s.size() > 1 ? "," : "") + std::string("{\"text\":") + Json(text) +
         ",\"level\":" + std::to_string(level) + ",\"image\":" + std::to_string(tv.iImage) +
         ",\"expanded\":" + ((tv.state & TVIS_EXPANDED) ? "true" : "false") +
         ",\"selected\":" + (item == selected ? "true" : "false") +
         ",\"rect\":" + RectJson(r) + "}";
    TreeLevel(h, mem, NextNode(h, TVGN_CHILD, item), level + 1, selected, s);
  }
}

void TreeNodes(HWND h) {
  Remote mem = MemoryFor<TVITEMW>(h);
  if (!mem.ok()) return void(printf("null\n"));
  std::string s = "[";
  TreeLevel(h, mem, NextNode(h, TVGN_ROOT, nullptr), 0, NextNode(h, TVGN_CARET, nullptr), s);
  printf("%s]\n", s.c_str());
}

int Usage() {
  fprintf(stderr, "usage: crvdriver find|wait|info|children|text|settext|click|move|post|send|key|"
                  "menu|screenshot|atom|items|nodes ...\n");
  return 2;
}

}  // namespace

// Releases a COM interface when it goes.
template <class T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
};

int PrintShellLink(const std::string& file) {
  struct ComSession {
    bool ok = SUCCEEDED(CoInitialize(nullptr));
    ~ComSession() {
      if (ok) CoUninitialize();
    }
  } session;
  Com<IShellLinkW> link;
  Com<IPersistFile> persist;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link.p))) ||
      FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist.p))) ||
      FAILED(persist.p->Load(Wide(file).c_str(), STGM_READ))) {
    printf("null\n");
    return 1;
  }
  wchar_t target[MAX_PATH] = {}, arguments[1024] = {}, workdir[MAX_PATH] = {}, icon[MAX_PATH] = {};
  int icon_index = 0;
  link.p->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
  link.p->GetArguments(arguments, 1024);
  link.p->GetWorkingDirectory(workdir, MAX_PATH);
  link.p->GetIconLocation(icon, MAX_PATH, &icon_index);
  printf("{\"target\": %s, \"arguments\": %s, \"workdir\": %s, \"icon\": %s}\n",
         Json(Utf8(target)).c_str(), Json(Utf8(arguments)).c_str(), Json(Utf8(workdir)).c_str(),
         Json(Utf8(icon)).c_str());
  return 0;
}

int main() {
  // The command line in UTF-8, whatever the ANSI code page.
  int argc = 0;
  LPWSTR* wargv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!wargv || argc < 2) return Usage();
  std::string cmd = Utf8(wargv[1]);
  std::vector<std::string> args;
  for (int i = 2; i < argc; ++i) args.push_back(Utf8(wargv[i]));
  LocalFree(wargv);
  auto flag = [&](const char* name) {
    for (auto& a : args)
      if (a == name) return true;
    return false;
  };
  auto option = [&](const char* name, const std::string& def) {
    for (size_t i = 0; i + 1 < args.size(); ++i)
      if (args[i] == name) return args[i + 1];
    return def;
  };
  // Titles arrive as UTF-8 from the test; the window texts are compared in UTF-8 too.
  Filter f;
  f.title = option("--title", "");
  f.cls = option("--class", "");
  f.pid = std::strtoul(option("--pid", "0").c_str(), nullptr, 0);
  f.all = flag("--all");

  if (cmd == "find") {
    PrintList(TopLevel(f));
  } else if (cmd == "wait") {
    DWORD timeout = std::strtoul(option("--timeout", "10000").c_str(), nullptr, 0);
    bool gone = flag("--gone");
    DWORD start = GetTickCount();
    for (;;) {
      auto hs = TopLevel(f);
      if (gone ? hs.empty() : !hs.empty()) {
        PrintList(hs);
        return 0;
      }
      if (GetTickCount() - start > timeout) {
        PrintList(hs);
        return 1;
      }
      Sleep(100);
    }
  } else if (cmd == "info" && args.size() >= 1) {
    HWND h = ParseHwnd(args[0].c_str());
    if (!IsWindow(h)) return printf("null\n"), 1;
    printf("%s\n", Describe(h).c_str());
  } else if (cmd == "children" && args.size() >= 1) {
    Children(ParseHwnd(args[0].c_str()));
  } else if (cmd == "text" && args.size() >= 1) {
    HWND h = ParseHwnd(args[0].c_str());
    if (flag("--message")) {
      // Another process's edit keeps its text to itself; asking the window
      // gets it.
      DWORD_PTR n = 0;
      SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &n);
      std::wstring w(n + 1, L'\0');
      DWORD_PTR got = 0;
      SendMessageTimeoutW(h, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(&w[0]), SMTO_ABORTIFHUNG,
                          5000, &got);
      w.resize(got);
      printf("%s\n", Json(Utf8(w)).c_str());
    } else {
      printf("%s\n", Json(WindowText(h)).c_str());
    }
  } else if (cmd == "settext" && args.size() >= 2) {
    // The edit tells its parent of the change, as it does for typing.
    HWND h = ParseHwnd(args[0].c_str());
    std::wstring w = Wide(args[1]);
    DWORD_PTR ok = 0;
    SendMessageTimeoutW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()), SMTO_ABORTIFHUNG,
                        5000, &ok);
    printf("%s\n", ok ? "true" : "false");
  } else if ((cmd == "click" || cmd == "move") && args.size() >= 2) {
    int x = atoi(args[0].c_str()), y = atoi(args[1].c_str());
    if (cmd == "move") Mouse(x, y, 0);
    else Click(x, y, flag("--right"), flag("--double"));
    printf("true\n");
  } else if (cmd == "drag" && args.size() >= 4) {
    // Press, move in steps well past the drag threshold, release.
    int x0 = atoi(args[0].c_str()), y0 = atoi(args[1].c_str());
    int x1 = atoi(args[2].c_str()), y1 = atoi(args[3].c_str());
    Mouse(x0, y0, 0);
    Sleep(80);
    Mouse(x0, y0, MOUSEEVENTF_LEFTDOWN);
    Sleep(120);
    for (int i = 1; i <= 12; ++i) {
      Mouse(x0 + (x1 - x0) * i / 12, y0 + (y1 - y0) * i / 12, 0);
      Sleep(50);
    }
    Sleep(150);
    Mouse(x1, y1, MOUSEEVENTF_LEFTUP);
    Sleep(100);
    printf("true\n");
  } else if ((cmd == "post" || cmd == "send") && args.size() >= 4) {
    HWND h = ParseHwnd(args[0].c_str());
    UINT msg = std::strtoul(args[1].c_str(), nullptr, 0);
    WPARAM wp = static_cast<WPARAM>(std::strtoull(args[2].c_str(), nullptr, 0));
    LPARAM lp = static_cast<LPARAM>(std::strtoll(args[3].c_str(), nullptr, 0));
    if (cmd == "post") {
      printf("%s\n", PostMessageA(h, msg, wp, lp) ? "true" : "false");
    } else {
      DWORD_PTR result = 0;
      LRESULT ok = SendMessageTimeoutA(h, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result);
      printf("%lld\n", ok ? static_cast<long long>(result) : -1LL);
    }
  } else if (cmd == "key" && args.size() >= 2) {
    HWND h = ParseHwnd(args[0].c_str());
    WPARAM vk = static_cast<WPARAM>(std::strtoull(args[1].c_str(), nullptr, 0));
    PostMessageA(h, WM_KEYDOWN, vk, 1);
    PostMessageA(h, WM_KEYUP, vk, 0xC0000001);
    printf("true\n");
  } else if (cmd == "menu") {
    Menus();
  } else if (cmd == "items" && args.size() >= 1) {
    ListItems(ParseHwnd(args[0].c_str()));
  } else if (cmd == "nodes" && args.size() >= 1) {
    TreeNodes(ParseHwnd(args[0].c_str()));
  } else if (cmd == "screenshot" && args.size() >= 1) {
    HWND h = args.size() >= 2 ? ParseHwnd(args[1].c_str()) : nullptr;
    bool ok = Screenshot(args[0].c_str(), h);
    printf("%s\n", ok ? "true" : "false");
    return ok ? 0 : 1;
  } else if (cmd == "link" && args.size() >= 1) {
    return PrintShellLink(args[0]);
  } else if (cmd == "atom" && args.size() >= 1) {
    ATOM atom = GlobalFindAtomW(Wide(args[0]).c_str());
    // Clearing the marker a killed instance left behind keeps scenarios apart.
    if (flag("--delete"))
      while (atom) {
        GlobalDeleteAtom(atom);
        atom = GlobalFindAtomW(Wide(args[0]).c_str());
      }
    printf("%u\n", static_cast<unsigned>(atom));
  } else {
    return Usage();
  }
  return 0;
}

// The Wine-side benchmark program: the baseline window, and timings taken
// from outside another process's windows. One command per run; JSON lines on
// standard output.
//
//   bare [--plain]                 a window of the main window's size that
//                                  loads the program's system DLLs (--plain:
//                                  none) and starts common controls and COM;
//                                  ends on WM_CLOSE
//   launch --class C CMDLINE...    starts CMDLINE and reports the ms until a
//                                  visible top-level window of class C, and
//                                  the working set a second after; the
//                                  process is left running
//   redraw --class C [--baseline B] [--n N]
//                                  whole redraws (frame, client, every child,
//                                  update now), the window alone (frame and
//                                  client, no children) and the client's own
//                                  paint of that window and of
//                                  the baseline (default: the bare window),
//                                  in turn: medians in ms; then each visible
//                                  child's own paint, costliest first
//   link FILE TARGET [--pad N]     writes a shortcut to TARGET, its comment
//                                  padded to about N bytes of file
//   copydelete SOURCE TARGET       the plain move the start-up merge is held
//                                  against: every file of SOURCE copied into
//                                  TARGET and deleted (CopyFileA, DeleteFileA)
//   listclick --list HWND --x X --y Y --count N
//                                  clicks the screen point and reports the ms
//                                  until the list view HWND holds N items,
//                                  then for a second the longest wait for
//                                  an answer from it
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_clock.h"

namespace {

constexpr int kClientWidth = 530, kClientHeight = 386;  // the main window's client
constexpr char kBareClass[] = "CrvBenchBare";

using corvane::bench::Median;
using corvane::bench::NowMs;

const char* Arg(int argc, char** argv, const char* name, const char* fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
  return fallback;
}

bool Flag(int argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return true;
  return false;
}

LRESULT CALLBACK BareProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(h, msg, w, l);
}

int Bare(bool plain) {
  bool com = false;
  if (!plain) {
    for (const char* dll : {"comctl32.dll", "comdlg32.dll", "ole32.dll", "oleaut32.dll",
                            "shell32.dll", "shlwapi.dll", "advapi32.dll"})
      LoadLibraryA(dll);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    com = SUCCEEDED(OleInitialize(nullptr));
  }
  WNDCLASSA wc{};
  wc.lpfnWndProc = BareProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kBareClass;
  RegisterClassA(&wc);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT r{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRect(&r, style, FALSE);
  HWND h = CreateWindowExA(0, kBareClass, "bare", style, CW_USEDEFAULT, CW_USEDEFAULT,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance,
                           nullptr);
  ShowWindow(h, SW_SHOWNORMAL);
  UpdateWindow(h);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  if (com) OleUninitialize();
  return 0;
}

// Looked up by class: one request to the wineserver a look, where walking
// every top-level window would ask it about each and slow the very start
// being timed.
HWND VisibleWindow(const char* cls, DWORD pid) {
  for (HWND h = FindWindowExA(nullptr, nullptr, cls, nullptr); h;
       h = FindWindowExA(nullptr, h, cls, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (IsWindowVisible(h) && (!pid || owner == pid)) return h;
  }
  return nullptr;
}

int Launch(const char* cls, std::string cmdline) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  double start = NowMs();
  if (!CreateProcessA(nullptr, &cmdline[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    std::printf("{\"error\":\"CreateProcess %lu\"}\n", GetLastError());
    return 1;
  }
  double visible = -1;
  while (NowMs() - start < 60000) {
    if (VisibleWindow(cls, pi.dwProcessId)) {
      visible = NowMs() - start;
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  Sleep(1000);
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc);
  std::printf("{\"visible_ms\":%.2f,\"working_set_kb\":%lu,\"pid\":%lu}\n", visible,
              static_cast<unsigned long>(pmc.WorkingSetSize / 1024), pi.dwProcessId);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return visible < 0 ? 1 : 0;
}

constexpr UINT kWhole = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
constexpr UINT kFrame = RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN | RDW_UPDATENOW;
constexpr UINT kOwn = RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN | RDW_UPDATENOW;

double TimeOnce(HWND h, UINT flags) {
  double t = NowMs();
  RedrawWindow(h, nullptr, nullptr, flags);
  return NowMs() - t;
}

BOOL CALLBACK Collect(HWND h, LPARAM p) {
  if (IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
  return TRUE;
}

std::string Describe(HWND h) {
  char cls[64] = "";
  GetClassNameA(h, cls, sizeof cls);
  RECT r;
  GetWindowRect(h, &r);
  char out[160];
  std::snprintf(out, sizeof out, "%s %ldx%ld", cls, r.right - r.left, r.bottom - r.top);
  return out;
}

// The program's window and the baseline's, measured in turn so that both
// see the same load.
int Redraw(const char* cls, const char* baseline_cls, int n) {
  HWND h = VisibleWindow(cls, 0), b = VisibleWindow(baseline_cls, 0);
  if (!h || !b) {
    std::printf("{\"error\":\"no visible %s or %s\"}\n", cls, baseline_cls);
    return 1;
  }
  for (HWND w : {h, b}) TimeOnce(w, kWhole);  // warm: caches filled, first paints done
  std::vector<double> whole, frame, own, b_whole, b_frame, b_own;
  for (int i = 0; i < n; ++i) {
    whole.push_back(TimeOnce(h, kWhole));
    b_whole.push_back(TimeOnce(b, kWhole));
    frame.push_back(TimeOnce(h, kFrame));
    b_frame.push_back(TimeOnce(b, kFrame));
    own.push_back(TimeOnce(h, kOwn));
    b_own.push_back(TimeOnce(b, kOwn));
  }
  std::printf("{\"whole_ms\":%.3f,\"frame_ms\":%.3f,\"client_own_ms\":%.3f,"
              "\"bare_whole_ms\":%.3f,\"bare_frame_ms\":%.3f,\"bare_client_own_ms\":%.3f}\n",
              Median(whole), Median(frame), Median(own), Median(b_whole), Median(b_frame),
              Median(b_own));
  std::vector<HWND> kids;
  EnumChildWindows(h, Collect, reinterpret_cast<LPARAM>(&kids));
  std::vector<std::vector<double>> times(kids.size());
  for (int i = 0; i < std::max(5, n / 2); ++i)
    for (std::size_t k = 0; k < kids.size(); ++k) times[k].push_back(TimeOnce(kids[k], kOwn));
  std::vector<std::pair<double, HWND>> ranked;
  double sum = 0;
  for (std::size_t k = 0; k < kids.size(); ++k) {
    ranked.emplace_back(Median(times[k]), kids[k]);
    sum += ranked.back().first;
  }
  std::sort(ranked.rbegin(), ranked.rend());
  std::printf("{\"children\":%u,\"children_own_sum_ms\":%.3f}\n",
              static_cast<unsigned>(ranked.size()), sum);
  for (const auto& r : ranked)
    std::printf("{\"child\":\"%s\",\"own_ms\":%.3f}\n", Describe(r.second).c_str(), r.first);
  return 0;
}

int Link(const char* file, const char* target, int pad) {
  bool com = SUCCEEDED(CoInitialize(nullptr));
  IShellLinkA* link = nullptr;
  IPersistFile* persist = nullptr;
  bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IShellLinkA, reinterpret_cast<void**>(&link)));
  if (ok) {
    link->SetPath(target);
    // The comment is stored wide: two bytes a character.
    std::string comment(static_cast<std::size_t>(std::max(0, pad - 300) / 2), 'c');
    if (pad > 0) link->SetDescription(comment.c_str());
    ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)));
  }
  if (ok) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH);
    ok = SUCCEEDED(persist->Save(wide, TRUE));
  }
  if (persist) persist->Release();
  if (link) link->Release();
  if (com) CoUninitialize();
  std::printf("{\"link\":%s}\n", ok ? "true" : "false");
  return ok ? 0 : 1;
}

int CopyDelete(const std::string& source, const std::string& target) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((source + "\\*.*").c_str(), &fd);
  double start = NowMs();
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    } while (FindNextFileA(find, &fd));
    FindClose(find);
  }
  int moved = 0;
  for (const std::string& name : names) {
    std::string from = source + "\\" + name, to = target + "\\" + name;
    if (CopyFileA(from.c_str(), to.c_str(), FALSE) && DeleteFileA(from.c_str())) ++moved;
  }
  std::printf("{\"copydelete_ms\":%.2f,\"files\":%u,\"moved\":%d}\n", NowMs() - start,
              static_cast<unsigned>(names.size()), moved);
  return moved == static_cast<int>(names.size()) ? 0 : 1;
}

void Click(int x, int y) {
  int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
  // Each event carries its own place: a bare button event can land where
  // the pointer was before the move.
  for (DWORD buttons : {DWORD{0}, DWORD{MOUSEEVENTF_LEFTDOWN}, DWORD{MOUSEEVENTF_LEFTUP}}) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x * 65535 / w;
    in.mi.dy = y * 65535 / h;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &in, sizeof in);
  }
}

// ms until the other process's thread answered, or -1 after timeout_ms.
double Ask(HWND h, UINT msg, LRESULT* answer, UINT timeout_ms) {
  double t = NowMs();
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutA(h, msg, 0, 0, SMTO_NORMAL, timeout_ms, &r)) return -1;
  if (answer) *answer = static_cast<LRESULT>(r);
  return NowMs() - t;
}

int ListClick(HWND list, int x, int y, int count) {
  if (!IsWindow(list)) {
    std::printf("{\"error\":\"no list window\"}\n");
    return 1;
  }
  double start = NowMs();
  Click(x, y);
  double listed = -1, longest = 0;
  LRESULT n = 0;
  while (NowMs() - start < 60000) {
    double waited = Ask(list, LVM_GETITEMCOUNT, &n, 60000);
    longest = std::max(longest, waited);
    if (n >= count) {
      listed = NowMs() - start;
      break;
    }
    Sleep(1);
  }
  // Afterwards: scrolled through and asked, the window keeps answering.
  double after = 0, began = NowMs();
  while (NowMs() - began < 1000) {
    after = std::max(after, Ask(list, WM_NULL, nullptr, 60000));
    Sleep(10);
  }
  std::printf("{\"listed_ms\":%.2f,\"items\":%ld,\"longest_wait_ms\":%.2f,"
              "\"longest_wait_after_ms\":%.2f}\n",
              listed, static_cast<long>(n), longest, after);
  return listed < 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: crvbench bare|launch|redraw|link|copydelete|listclick ...\n");
    return 2;
  }
  std::string cmd = argv[1];
  int rc = 2;
  if (cmd == "bare") {
    rc = Bare(Flag(argc, argv, "--plain"));
  } else if (cmd == "launch") {
    std::string line;
    for (int i = 2; i < argc; ++i) {
      if (std::strcmp(argv[i], "--class") == 0) {
        ++i;
        continue;
      }
      if (!line.empty()) line += ' ';
      line += argv[i];
    }
    rc = Launch(Arg(argc, argv, "--class", ""), line);
  } else if (cmd == "link" && argc >= 4) {
    rc = Link(argv[2], argv[3], std::atoi(Arg(argc, argv, "--pad", "0")));
  } else if (cmd == "copydelete" && argc >= 4) {
    rc = CopyDelete(argv[2], argv[3]);
  } else if (cmd == "listclick") {
    rc = ListClick(reinterpret_cast<HWND>(std::strtoull(Arg(argc, argv, "--list", "0"), nullptr, 0)),
                   std::atoi(Arg(argc, argv, "--x", "0")), std::atoi(Arg(argc, argv, "--y", "0")),
                   std::atoi(Arg(argc, argv, "--count", "1")));
  } else if (cmd == "redraw") {
    rc = Redraw(Arg(argc, argv, "--class", ""), Arg(argc, argv, "--baseline", kBareClass),
                std::atoi(Arg(argc, argv, "--n", "40")));
  }
  std::fflush(stdout);
  return rc;
}

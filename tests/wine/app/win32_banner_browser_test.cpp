// The banner's browser control on real windows, under Wine (or Windows): the
// container places, moves and lets go of the control, reads the pages it
// shows, and the main window's strip follows them. On the bench the control
// is the suites' stand-in (tests/wine/browser), whose DllCanUnloadNow tells
// whether the container let go of every object it was given.
#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/win32/win32_banner_browser.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_system.h"
#include "platform/win32/win32_com.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/std_controls.h"
#include "ui/win32/win32_backend.h"

namespace corvane::app::win32 {
namespace {

using strip::kBannerFailedMark;
using strip::kBannerHiddenLeft;
using strip::kBannerPage;
using strip::kBannerShownLeft;
using strip::kWebBrowserBounds;

HWND H(ui::WinControl* c) { return reinterpret_cast<HWND>(c->Handle()); }
HWND H(ui::WindowHandle h) { return reinterpret_cast<HWND>(h); }

BOOL CALLBACK Collect(HWND h, LPARAM l) {
  reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
  return TRUE;
}

std::vector<HWND> Descendants(HWND h) {
  std::vector<HWND> out;
  EnumChildWindows(h, &Collect, reinterpret_cast<LPARAM>(&out));
  return out;
}

// The server file a class is registered with; "" when it is not.
std::string InprocServer(const char* clsid) {
  char value[MAX_PATH] = {};
  LONG size = sizeof value;
  std::string key = std::string("CLSID\\") + clsid + "\\InprocServer32";
  if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS) return "";
  return value;
}

bool NamesFile(const std::string& path, const std::string& file) {
  std::string tail = path.substr(path.find_last_of("\\/") + 1);
  return !file.empty() && lstrcmpiA(tail.c_str(), file.c_str()) == 0;
}

// What the stand-in's DllCanUnloadNow says: S_OK once none of its objects
// lives; E_UNEXPECTED when it was never loaded.
HRESULT StandInIdle(const std::string& file) {
  HMODULE m = GetModuleHandleA(file.c_str());
  auto idle = m ? reinterpret_cast<HRESULT(WINAPI*)()>(
                      reinterpret_cast<void*>(GetProcAddress(m, "DllCanUnloadNow")))
                : nullptr;
  return idle ? idle() : E_UNEXPECTED;
}

std::string TempFolder() {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  return dir;
}

// A page as the program carries it: GBK, and saying so.
void WritePage(const std::string& path, const std::string& body) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
       "<title>head text</title></head><body>\r\n"
    << body << "\r\n</body></html>";
}

// Where a window lies in its parent's client area.
RECT PlaceInParent(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class Banner : public ::testing::Test {
 protected:
  Banner() : backend(GetModuleHandleA(nullptr)), app(backend, user) {
    ole_ok = SUCCEEDED(OleInitialize(nullptr));
    backend.Attach(&app);
    form = std::make_unique<ui::Form>(nullptr);
    form->SetName("FrmBanner");
    form->SetCaption("banner");
    form->SetClientSize(530, 386);
    panel = ui::CreateControl<ui::Panel>(*form, form.get(), "PnlMain",
                                         ui::Rect::FromBounds(0, 0, 530, 386));
  }
  // Whether the system has the control and an engine, decided from the
  // class registrations and not from the code under test: where it has them,
  // a control that cannot be made is a failure. The bench names its stand-in
  // in CORVANE_BROWSER_STANDIN, and then the stand-in must be registered.
  void SetUp() override {
    const std::string browser = InprocServer("{8856F961-340A-11D0-A96B-00C04FD705A2}");
    const std::string engine = InprocServer("{25336920-03F9-11CF-8FD0-00AA00686F13}");
    const char* expected = std::getenv("CORVANE_BROWSER_STANDIN");
    stand_in = expected ? expected : "";
    if (!stand_in.empty()) {
      ASSERT_TRUE(NamesFile(browser, stand_in)) << "web-browser class served by '" << browser << "'";
      ASSERT_TRUE(NamesFile(engine, stand_in)) << "HTML engine served by '" << engine << "'";
    } else if (browser.empty() || engine.empty()) {
      GTEST_SKIP() << "no web-browser control or HTML engine is registered here";
    }
    ASSERT_TRUE(ole_ok);
    form->Show();
  }
  ~Banner() override {
    form.reset();
    if (ole_ok) OleUninitialize();
  }
  bool PumpUntil(const std::function<bool()>& done, int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done() && std::chrono::steady_clock::now() < end) {
      backend.ProcessMessages();
      Sleep(20);
    }
    return done();
  }

  // Every object the stand-in made is gone (nothing to tell elsewhere).
  void ExpectStandInIdle(const char* when) {
    if (stand_in.empty()) return;
    EXPECT_EQ(StandInIdle(stand_in), S_OK) << when;
  }

  std::string stand_in;
  bool ole_ok = false;
  ui::win32::Win32Backend backend;
  MemoryUserInteraction user;
  ui::Application app;
  std::unique_ptr<ui::Form> form;
  ui::Panel* panel;
};

TEST(BannerText, BodyTextComesBackInTheAnsiCodePage) {
  // The decision looks for this word in the page's text.
  const wchar_t mark[] = L"\x5c1d\x8bd5";
  EXPECT_EQ(Narrow(mark, 2), kBannerFailedMark);
  EXPECT_EQ(Narrow(nullptr, 0), "");
  Bstr b = MakeBstr(std::string("Corvane ") + kBannerFailedMark);
  EXPECT_EQ(SysStringLen(b.get()), 10u);
  EXPECT_EQ(Narrow(b), std::string("Corvane ") + kBannerFailedMark);
}

// The container without the engine check: the control is a child of the
// strip's parent at the strip's place, moves, and goes when closed.
TEST_F(Banner, TheControlSitsInTheStripMovesAndGoesWhenClosed) {
  Win32BannerBrowser browser(false);
  ASSERT_TRUE(browser.Create(*panel, kWebBrowserBounds)) << "the registered control was not hosted";
  HWND w = H(browser.Window());
  ASSERT_TRUE(IsWindow(w));
  EXPECT_EQ(GetParent(w), H(panel));
  RECT r = PlaceInParent(w);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.top, 366);
  EXPECT_EQ(r.right - r.left, 520);
  EXPECT_EQ(r.bottom - r.top, 16);
  EXPECT_EQ(browser.Left(), 5);

  browser.SetLeft(kBannerHiddenLeft);
  EXPECT_EQ(PlaceInParent(w).left, 600);
  EXPECT_EQ(PlaceInParent(w).top, 366);
  EXPECT_EQ(browser.Left(), 600);
  browser.SetLeft(kBannerShownLeft);
  EXPECT_EQ(PlaceInParent(w).left, 6);
  EXPECT_EQ(PlaceInParent(w).right - PlaceInParent(w).left, 520);

  // The right-click filter asks about the window a message is aimed at,
  // which is mostly one inside the control's own.
  std::vector<HWND> inner = Descendants(w);
  if (!stand_in.empty()) {
    EXPECT_FALSE(inner.empty()) << "the stand-in has a view window";
  }
  EXPECT_TRUE(browser.Contains(reinterpret_cast<ui::WindowHandle>(w)));
  for (HWND i : inner) EXPECT_TRUE(browser.Contains(reinterpret_cast<ui::WindowHandle>(i)));
  EXPECT_FALSE(browser.Contains(panel->Handle()));
  EXPECT_FALSE(browser.Contains(form->Handle()));
  EXPECT_FALSE(browser.Contains(0));

  EXPECT_EQ(Win32BannerBrowser::LiveSites(), 1);
  if (!stand_in.empty()) {
    EXPECT_EQ(StandInIdle(stand_in), S_FALSE) << "the control is alive";
  }
  browser.Close();
  EXPECT_FALSE(IsWindow(w)) << "the control's window outlived the container";
  EXPECT_EQ(Win32BannerBrowser::LiveSites(), 0) << "the control still holds our site";
  ExpectStandInIdle("the container still holds the control");
  EXPECT_EQ(browser.Window(), 0u);
  EXPECT_FALSE(browser.Contains(reinterpret_cast<ui::WindowHandle>(w)));
  browser.Close();
  EXPECT_TRUE(Descendants(H(panel)).empty());
}

// The program's browser opens pages and hands on each completed document's
// body text: a page, one with the failure mark, a document that is not HTML
// and a page that cannot be reached; a handler that closes it is safe.
TEST_F(Banner, EachCompletedDocumentComesWithItsBodyText) {
  const std::string dir = TempFolder();
  const std::string page = dir + "corvane_banner_test.htm", text = dir + "corvane_banner_test.txt";
  WritePage(page, "横幅 <b>banner</b>");
  { std::ofstream(text, std::ios::binary) << "plain text"; }
  Win32BannerBrowser browser;
  std::vector<std::optional<std::string>> completed;
  browser.OnDocumentComplete = [&](const std::optional<std::string>& t) { completed.push_back(t); };
  ASSERT_TRUE(browser.Create(*panel, kWebBrowserBounds)) << "the registered control was not made";
  auto open = [&](const std::string& address) {
    size_t before = completed.size();
    browser.Navigate(address);
    EXPECT_TRUE(completed.size() == before) << "the page came back before the message loop ran";
    return PumpUntil([&] { return completed.size() > before; }, 15000);
  };

  ASSERT_TRUE(open(page)) << "the page never completed";
  ASSERT_TRUE(completed.back().has_value());
  EXPECT_EQ(*completed.back(), "横幅 banner");

  WritePage(page, std::string("无法显示网页。请") + kBannerFailedMark + "刷新。");
  ASSERT_TRUE(open(page));
  ASSERT_TRUE(completed.back().has_value());
  EXPECT_EQ(*completed.back(), std::string("无法显示网页。请") + kBannerFailedMark + "刷新。");

  ASSERT_TRUE(open(text));
  EXPECT_EQ(completed.back(), std::nullopt) << "a text document has no HTML body";

  // The browser's own error page for a page it cannot reach asks to try again.
  ASSERT_TRUE(open(dir + "corvane_no_such_page.htm"));
  ASSERT_TRUE(completed.back().has_value());
  EXPECT_NE(completed.back()->find(kBannerFailedMark), std::string::npos) << *completed.back();
  EXPECT_EQ(completed.size(), 4u);

  // The main window may close the browser from inside the event.
  browser.OnDocumentComplete = [&](const std::optional<std::string>& t) {
    completed.push_back(t);
    browser.Close();
  };
  ASSERT_TRUE(open(page));
  EXPECT_EQ(browser.Window(), 0u);
  EXPECT_EQ(Win32BannerBrowser::LiveSites(), 0);
  ExpectStandInIdle("closed from inside the event");
  DeleteFileA(page.c_str());
  DeleteFileA(text.c_str());
}

// The main window's strip over the real control: the carried page shows at
// left edge 6; a page with the failure mark gives way to the slogan and the
// ticking clock line; a later page brings the strip back; closing leaves
// nothing behind.
TEST_F(Banner, TheStripFollowsThePagesItsBrowserShows) {
  const std::string dir = TempFolder() + "corvane_strip\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  const std::string page = dir + kBannerPage;
  WritePage(page, "Corvane 1.2 横幅");
  MemorySystem system;
  system.executable_folder = dir;
  MemoryNotifyIcons icons;
  MemoryPower power;
  MemoryRegistry registry;
  Win32BannerBrowser browser;
  auto main = std::make_unique<TFrmMain>(app, MainServices{system, icons, power, registry});
  auto foot = std::make_unique<strip::Strip>(
      app, strip::StripServices{system, power, registry, &browser}, StripViewOf(*main));
  FillStripSteps(main->StartSteps(), *foot);
  main->Start();
  main->Show();
  EXPECT_FALSE(browser.Window()) << "made before the first window painted";
  // One message at a time, so that the page has not loaded yet when it shows.
  for (auto end = GetTickCount() + 5000; !browser.Window() && GetTickCount() < end;) {
    MSG m;
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      Sleep(5);
      continue;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  HWND w = H(browser.Window());
  ASSERT_TRUE(IsWindow(w)) << "the main window made no browser once it had shown";
  EXPECT_EQ(GetParent(w), H(main->PnlMain));
  EXPECT_EQ(PlaceInParent(w).left, 5) << "at its design place while the page loads";

  ASSERT_TRUE(PumpUntil([&] { return PlaceInParent(w).left == 6; }, 15000))
      << "the page never put the strip at left edge 6";
  EXPECT_FALSE(foot->BannerFailed());
  EXPECT_FALSE(main->LblGg2->Visible());
  EXPECT_FALSE(main->TimerGetTime->Enabled());

  WritePage(page, std::string("请稍后再") + kBannerFailedMark);
  browser.Navigate(page);
  ASSERT_TRUE(PumpUntil([&] { return foot->BannerFailed(); }, 15000))
      << "the failure mark did not bring the slogan";
  EXPECT_EQ(PlaceInParent(w).left, 600);
  EXPECT_TRUE(main->LblGg1->Visible());
  EXPECT_TRUE(main->LblGg2->Visible());
  EXPECT_TRUE(main->TimerGetTime->Enabled());
  system.now = LocalTime{2026, 12, 9, 3, 9, 5, 7, 0};
  EXPECT_TRUE(PumpUntil([&] { return main->LblGg2->Caption().rfind("星期三", 0) == 0; }, 3000))
      << "the clock line does not tick: '" << main->LblGg2->Caption() << "'";

  WritePage(page, "Corvane 1.2");
  browser.Navigate(page);
  ASSERT_TRUE(PumpUntil([&] { return !foot->BannerFailed(); }, 15000));
  EXPECT_EQ(PlaceInParent(w).left, 6);
  EXPECT_FALSE(main->TimerGetTime->Enabled());
  EXPECT_FALSE(main->LblGg1->Visible());
  system.now = LocalTime{2026, 12, 10, 4, 9, 5, 7, 0};
  EXPECT_FALSE(PumpUntil([&] { return main->LblGg2->Caption().rfind("星期四", 0) == 0; }, 1500))
      << "the clock line still ticks under the page";

  EXPECT_EQ(Win32BannerBrowser::LiveSites(), 1);
  browser.Close();  // as the program does, before its window goes
  main.reset();
  foot.reset();
  EXPECT_EQ(Win32BannerBrowser::LiveSites(), 0);
  ExpectStandInIdle("the strip's browser was not let go of");
  DeleteFileA(page.c_str());
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
}  // namespace corvane::app::win32

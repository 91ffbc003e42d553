// The banner's browser control on real windows, under Wine (or Windows): the
// container places, moves and lets go of the control, and a control that is
// made at all shows the carried page's text.
#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include "app/frm_main.h"
#include "app/win32/win32_banner_browser.h"
#include "platform/memory/memory_system.h"
#include "platform/win32/win32_com.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/std_controls.h"
#include "ui/win32/win32_backend.h"

namespace corvane::app::win32 {
namespace {

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

// The container without the engine check: where the system has the control
// at all, it is a child of the strip's parent at the strip's place.
TEST_F(Banner, TheControlSitsInTheStripMovesAndGoesWhenClosed) {
  form->Show();
  Win32BannerBrowser browser(false);
  if (!browser.Create(*panel, kWebBrowserBounds))
    GTEST_SKIP() << "the system has no web-browser control";
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

  // The right-click filter asks about the window a message is aimed at.
  EXPECT_TRUE(browser.Contains(reinterpret_cast<ui::WindowHandle>(w)));
  for (HWND inner : Descendants(w))
    EXPECT_TRUE(browser.Contains(reinterpret_cast<ui::WindowHandle>(inner)));
  EXPECT_FALSE(browser.Contains(panel->Handle()));
  EXPECT_FALSE(browser.Contains(form->Handle()));
  EXPECT_FALSE(browser.Contains(0));

  EXPECT_EQ(Win32BannerBrowser::LiveSites(), 1);
  browser.Close();
  EXPECT_FALSE(IsWindow(w)) << "the control's window outlived the container";
  EXPECT_EQ(Win32BannerBrowser::LiveSites(), 0) << "the control still holds our site";
  EXPECT_EQ(browser.Window(), 0u);
  EXPECT_FALSE(browser.Contains(reinterpret_cast<ui::WindowHandle>(w)));
  browser.Close();
  EXPECT_TRUE(Descendants(H(panel)).empty());
}

// The program's browser is made only where it can show a page, and then it
// shows the carried page's body text; elsewhere nothing is left in the strip
// and the window falls back to the slogan.
TEST_F(Banner, AMadeControlShowsThePageAndNoneLeavesNothingBehind) {
  form->Show();
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  const std::string page = std::string(dir) + "corvane_banner_test.htm";
  {
    std::ofstream f(page, std::ios::binary);
    f << "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
         "</head><body>横幅 banner</body></html>";
  }
  Win32BannerBrowser browser;
  std::vector<std::optional<std::string>> completed;
  browser.OnDocumentComplete = [&](const std::optional<std::string>& t) { completed.push_back(t); };
  if (browser.Create(*panel, kWebBrowserBounds)) {
    browser.Navigate(page);
    ASSERT_TRUE(PumpUntil([&] { return !completed.empty(); }, 15000))
        << "a control that was made never completed the page";
    ASSERT_TRUE(completed.back().has_value());
    EXPECT_EQ(*completed.back(), "横幅 banner");
  } else {
    std::printf("the system cannot show pages here: the strip falls back\n");
    EXPECT_EQ(browser.Window(), 0u);
    EXPECT_EQ(Win32BannerBrowser::LiveSites(), 0);
    EXPECT_TRUE(Descendants(H(panel)).empty());
    browser.Navigate(page);  // harmless without a control
    browser.SetLeft(kBannerShownLeft);
    EXPECT_FALSE(PumpUntil([&] { return !completed.empty(); }, 300));
  }
  browser.Close();
  DeleteFileA(page.c_str());
}

}  // namespace
}  // namespace corvane::app::win32

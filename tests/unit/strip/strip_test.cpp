// The banner strip with its fallback, the clock line, the working-set timer,
// the right-click filter over the banner and the autostart switch, on the
// main window's controls as the composition root hands them in.
#include "strip/strip.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_system.h"
#include "ui/headless.h"

namespace corvane::strip {
namespace {

constexpr char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr ui::WindowHandle kBrowserWindow = 0xB000, kInsideBrowser = 0xB001;

class FakeBrowser : public BannerBrowser {
 public:
  bool Create(ui::WinControl& parent, const ui::Rect& bounds) override {
    created_on = parent.Name();
    left = bounds.left;
    return can_create;
  }
  void Navigate(const std::string& address) override { opened.push_back(address); }
  void SetLeft(int l) override { left = l; }
  int Left() const override { return left; }
  bool Contains(ui::WindowHandle w) const override {
    return w == kBrowserWindow || w == kInsideBrowser;
  }
  bool can_create = true;
  std::string created_on;
  int left = -1;
  std::vector<std::string> opened;
};

class MainStrip : public ::testing::Test {
 protected:
  MainStrip() : backend(true), app(backend, user) {
    registry.PutString(reg::kLocalMachine, kRun, "Other", "C:\\other.exe");
  }
  void Make(BannerBrowser* b) { Make(b, registry); }
  void Make(BannerBrowser* b, RegistryBackend& reg) {
    bar.reset();
    form.reset();
    form = std::make_unique<app::TFrmMain>(app, app::MainServices{system, icons, power, reg});
    bar = std::make_unique<Strip>(app, StripServices{system, power, reg, b},
                                  app::StripViewOf(*form));
    app::FillStripSteps(form->StartSteps(), *bar);
    form->Start();
    form->FormFirstShown();  // the banner as the window's first showing asks for it
  }
  bool Filtered(unsigned message, ui::WindowHandle target) {
    ui::Message m;
    m.msg = message;
    m.window = target;
    return app.FilterMessage(m);
  }
  void Click(ui::Control& image) {
    ui::Rect r = image.BoundsRect();
    std::intptr_t at = ui::PackPoint(r.left + 3, r.top + 3);
    form->PnlDh->Perform(ui::msg::kLButtonDown, ui::msg::kMkLButton, at);
    form->PnlDh->Perform(ui::msg::kLButtonUp, 0, at);
  }
  std::optional<std::string> RunValue() {
    return registry.GetString(reg::kLocalMachine, kRun, "Halvorn");
  }

  ui::HeadlessBackend backend;
  MemoryUserInteraction user;
  MemorySystem system;
  MemoryNotifyIcons icons;
  MemoryPower power;
  MemoryRegistry registry;
  ui::Application app;
  FakeBrowser browser;
  std::unique_ptr<app::TFrmMain> form;
  std::unique_ptr<Strip> bar;
};

TEST_F(MainStrip, TheBannerOpensItsPageAndEachDocumentDecidesAgain) {
  Make(&browser);
  EXPECT_EQ(browser.created_on, "PnlMain");
  EXPECT_EQ(browser.left, 5) << "at its design place while loading";
  EXPECT_EQ(browser.opened, std::vector<std::string>{"C:\\Corvane\\banner.htm"});
  EXPECT_FALSE(form->LblGg1->Visible());
  EXPECT_TRUE(form->TimerGetTime->Enabled());

  browser.OnDocumentComplete(std::string("请稍后再尝试连接"));
  EXPECT_EQ(browser.left, 600);
  EXPECT_TRUE(form->LblGg1->Visible());
  EXPECT_TRUE(form->LblGg2->Visible());
  EXPECT_EQ(form->LblGg1->Caption(), "Corvane,让您的程序从此井井有条! ");
  EXPECT_TRUE(form->TimerGetTime->Enabled());

  browser.OnDocumentComplete(std::nullopt);
  EXPECT_EQ(browser.left, 600) << "a document without a body decides nothing";

  browser.OnDocumentComplete(std::string("Corvane 1.2"));
  EXPECT_EQ(browser.left, 6);
  EXPECT_FALSE(form->LblGg1->Visible());
  EXPECT_FALSE(form->LblGg2->Visible());
  EXPECT_FALSE(form->TimerGetTime->Enabled());
}

TEST_F(MainStrip, WithoutABrowserControlTheSloganAndClockLineShow) {
  browser.can_create = false;
  Make(&browser);
  EXPECT_TRUE(browser.opened.empty());
  EXPECT_TRUE(form->LblGg1->Visible());
  EXPECT_TRUE(form->LblGg2->Visible());
  EXPECT_TRUE(form->TimerGetTime->Enabled());
  Make(nullptr);
  EXPECT_TRUE(form->LblGg1->Visible());
  EXPECT_FALSE(Filtered(0x0204, kInsideBrowser)) << "no strip, nothing to filter";
}

TEST_F(MainStrip, TheClockLineNamesTheWeekdayThenDateAndTime) {
  Make(nullptr);
  form->Show();
  const char* names[] = {"星期天", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
  for (int d = 0; d < 7; ++d) {
    system.now = LocalTime{2026, 12, 6 + d, d, 9, 5, 7, 0};
    form->TimerGetTime->Tick();
    EXPECT_EQ(form->LblGg2->Caption(),
              std::string(names[d]) + "     2026-12-" + std::to_string(6 + d) + " 9:05:07");
  }
  EXPECT_STREQ(WeekdayName(7), "");
  EXPECT_STREQ(WeekdayName(-1), "");
  form->LblGg2->Hide();
  system.now.second = 8;
  form->TimerGetTime->Tick();
  EXPECT_EQ(form->LblGg2->Caption(), "星期六     2026-12-12 9:05:08") << "updated while hidden";
}

TEST_F(MainStrip, TrimmingRunsOnTheNtFamilyOnly) {
  Make(nullptr);
  form->Show();
  form->TimerClear->Tick();
  EXPECT_EQ(system.trims, 1);
  power.platform_id = 1;
  form->TimerClear->Tick();
  EXPECT_EQ(system.trims, 1);
  EXPECT_EQ(form->TimerClear->Interval(), 2000u);
}

TEST_F(MainStrip, OffTheScreenTheClockAndTipsWaitAndTrimmingStopsAfterOneTrim) {
  Make(nullptr);  // no browser: the clock line is on
  for (ui::Timer* t : {form->TimerJq, form->TimerGetTime})
    EXPECT_FALSE(t->Running()) << t->Name() << " while the window was never shown";
  form->TimerClear->Tick();
  form->TimerClear->Tick();
  EXPECT_EQ(system.trims, 1) << "hidden, one trim";

  system.now = LocalTime{2026, 12, 8, 2, 17, 40, 1, 0};
  form->Show();
  EXPECT_EQ(form->LblGg2->Caption(), "星期二     2026-12-8 17:40:01") << "current as it shows";
  for (ui::Timer* t : {form->TimerJq, form->TimerGetTime, form->TimerClear})
    EXPECT_TRUE(t->Running()) << t->Name();
  form->TimerClear->Tick();
  form->TimerClear->Tick();
  EXPECT_EQ(system.trims, 3) << "shown, every tick trims";

  form->Hide();
  EXPECT_FALSE(form->TimerGetTime->Running());
  EXPECT_FALSE(form->TimerJq->Running());
  EXPECT_TRUE(form->TimerGetTime->Enabled()) << "the banner state is kept";
  form->TimerClear->Tick();
  EXPECT_FALSE(form->TimerClear->Running());
  EXPECT_EQ(system.trims, 4);
}

TEST_F(MainStrip, RightClicksInsideTheBannerAreSwallowedAndNothingElse) {
  Make(&browser);
  for (unsigned m : {0x0204u, 0x0205u, 0x0206u}) {
    EXPECT_TRUE(Filtered(m, kBrowserWindow)) << m;
    EXPECT_TRUE(Filtered(m, kInsideBrowser)) << m;
    EXPECT_FALSE(Filtered(m, form->Handle())) << m;
  }
  EXPECT_FALSE(Filtered(0x0201, kInsideBrowser)) << "left clicks pass";
  EXPECT_FALSE(Filtered(0x0207, kInsideBrowser));
}

TEST_F(MainStrip, TheAutostartSwitchWritesRemovesAndIsReadOnEveryShowing) {
  Make(nullptr);
  form->Show();
  EXPECT_TRUE(form->ImgChkNo->Visible());
  EXPECT_FALSE(form->ImgChkYes->Visible());
  Click(*form->ImgChkNo);
  EXPECT_EQ(RunValue(), "C:\\Corvane\\Halvorn.exe");
  EXPECT_TRUE(form->ImgChkYes->Visible());
  EXPECT_FALSE(form->ImgChkNo->Visible());
  Click(*form->ImgChkYes);
  EXPECT_FALSE(RunValue().has_value());
  EXPECT_EQ(registry.GetString(reg::kLocalMachine, kRun, "Other"), "C:\\other.exe");
  EXPECT_TRUE(form->ImgChkNo->Visible());

  registry.PutString(reg::kLocalMachine, kRun, "Halvorn", "D:\\Elsewhere\\Halvorn.exe");
  form->Hide();
  form->Show();
  EXPECT_TRUE(form->ImgChkYes->Visible()) << "read back at the showing";
  EXPECT_TRUE(user.boxes.empty());
}

TEST_F(MainStrip, ARefusedSwitchSaysSoAndPutsTheImageBack) {
  Make(nullptr);
  form->Show();
  registry.Deny(reg::kLocalMachine, kRun);
  Click(*form->ImgChkNo);
  ASSERT_EQ(user.boxes.size(), 1u);
  EXPECT_EQ(user.boxes[0].text, "不好意思，软件出现错误！");
  EXPECT_TRUE(form->ImgChkNo->Visible()) << "the image shows what the registry still says";
  EXPECT_FALSE(form->ImgChkYes->Visible());

  MemoryRegistry failing;
  failing.PutString(reg::kLocalMachine, kRun, "Other", "x");
  failing.FailWrites(reg::kLocalMachine, kRun);
  user.boxes.clear();
  Make(nullptr, failing);
  form->Show();
  Click(*form->ImgChkNo);
  ASSERT_EQ(user.boxes.size(), 1u);
  EXPECT_EQ(user.boxes[0].text, "不好意思，软件出现错误！");
  EXPECT_TRUE(form->ImgChkNo->Visible()) << "switched back";
}

// A user without write access to HKLM: the state is read with read access
// at every showing, and a click that cannot write says so.
TEST_F(MainStrip, ALimitedUserSeesTheRegistrysStateAndARefusedClickIsUndone) {
  registry.ReadOnlyFor(reg::kLocalMachine, kRun);
  Make(nullptr);
  form->Show();
  EXPECT_TRUE(form->ImgChkNo->Visible());
  Click(*form->ImgChkNo);
  ASSERT_EQ(user.boxes.size(), 1u);
  EXPECT_TRUE(form->ImgChkNo->Visible()) << "not written, so not shown as on";
  EXPECT_FALSE(RunValue().has_value());
  user.boxes.clear();
  registry.PutString(reg::kLocalMachine, kRun, "Halvorn", "C:\\Corvane\\Halvorn.exe");
  form->Hide();
  form->Show();
  ASSERT_TRUE(form->ImgChkYes->Visible()) << "read with read access at the showing";
  Click(*form->ImgChkYes);
  ASSERT_EQ(user.boxes.size(), 1u);
  EXPECT_EQ(user.boxes[0].text, "不好意思，软件出现错误！");
  EXPECT_TRUE(form->ImgChkYes->Visible()) << "the value is still there";
  EXPECT_EQ(RunValue(), "C:\\Corvane\\Halvorn.exe");
}

// The strip takes its wiring with it, the browser's event too; the window's
// own handlers stay. Gone after the window, it touches none of its controls
// (the sanitizers would see it).
TEST_F(MainStrip, AStripThatGoesTakesItsWiringWithItWhicheverGoesFirst) {
  Make(&browser);
  ASSERT_TRUE(browser.OnDocumentComplete);
  ASSERT_TRUE(form->ApplicationEvents->OnMessage);
  bar.reset();
  EXPECT_FALSE(browser.OnDocumentComplete) << "the browser would call into a strip that went";
  for (ui::Timer* t : {form->TimerClear, form->TimerGetTime}) EXPECT_FALSE(t->OnTimer) << t->Name();
  EXPECT_FALSE(form->ApplicationEvents->OnMessage);
  EXPECT_FALSE(form->ImgChkNo->OnClick);
  EXPECT_FALSE(form->ImgChkYes->OnClick);
  EXPECT_TRUE(form->OnShow) << "the window's own handlers stay";
  EXPECT_FALSE(Filtered(0x0204, kInsideBrowser));
  form->TimerClear->Tick();
  Click(*form->ImgChkNo);
  EXPECT_FALSE(RunValue().has_value());

  Make(&browser);
  form.reset();
  bar.reset();
  EXPECT_FALSE(browser.OnDocumentComplete);
}

}  // namespace
}  // namespace corvane::strip

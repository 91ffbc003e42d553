#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/frm_about.h"
#include "app/program.h"
#include "app/restart.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_system.h"
#include "ui/headless.h"

namespace corvane::app {
namespace {

using ui::Point;

constexpr Area kAllAreas[] = {Area::kUserBar,       Area::kPinnedList,    Area::kMostUsedList,
                              Area::kAllPrograms,   Area::kOemLink,       Area::kHelpSearchRun,
                              Area::kSettingsItems, Area::kMyItems};

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() : backend(true), app(backend, user) {}

  // The window with its settings panels, as the program makes it; the areas
  // whose loading step is not given read their panels from the registry.
  void Make(TFrmMain::Steps steps = {}) {
    form = std::make_unique<TFrmMain>(app, MainServices{system, icons, power, registry}, std::move(steps));
    panels = std::make_unique<settings::AreaPanels>(app, registry, system, SettingsViewOf(*form));
    TFrmMain::Steps defaults;
    FillSettingsSteps(defaults, *panels);
    for (std::size_t i = 0; i < kAreaCount; ++i)
      if (!form->StartSteps().load_area[i]) form->StartSteps().load_area[i] = defaults.load_area[i];
    form->Start();
  }
  // The main window as the message loop shows it at start.
  void MakeShown(TFrmMain::Steps steps = {}) {
    Make(std::move(steps));
    form->Show();
  }
  void MoveOver(ui::Control& c, Point p) {
    c.Perform(ui::msg::kMouseMove, 0, ui::PackPoint(p.x, p.y));
  }
  // Over the middle of an area, in PnlDh's coordinates.
  static Point Middle(const ui::Control& c) {
    ui::Rect r = c.BoundsRect();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void OverArea(Area a) { MoveOver(*form->PnlDh, Middle(*form->AreaLabel(a))); }
  std::vector<std::string> VisibleFrames() const {
    std::vector<std::string> out;
    for (Area a : kAllAreas)
      if (form->AreaFrame(a)->Visible()) out.push_back(form->AreaFrame(a)->Name());
    return out;
  }
  std::vector<std::string> VisiblePanels() const {
    std::vector<std::string> out;
    for (Area a : kAllAreas)
      if (form->AreaPanel(a)->Visible()) out.push_back(form->AreaPanel(a)->Name());
    return out;
  }
  void ClickArea(Area a) {
    Point p = Middle(*form->AreaLabel(a));
    form->PnlDh->Perform(ui::msg::kLButtonDown, ui::msg::kMkLButton, ui::PackPoint(p.x, p.y));
    form->PnlDh->Perform(ui::msg::kLButtonUp, 0, ui::PackPoint(p.x, p.y));
  }
  void Tray(unsigned mouse_message) { form->Perform(kTrayMessage, 1, mouse_message); }

  ui::HeadlessBackend backend;
  MemoryUserInteraction user;
  MemorySystem system;
  MemoryNotifyIcons icons;
  MemoryPower power;
  MemoryRegistry registry;
  ui::Application app;
  std::unique_ptr<settings::AreaPanels> panels;
  std::unique_ptr<TFrmMain> form;
};

// --- the window as the other parts of the program find it --------------

TEST_F(MainWindow, OtherPartsFindEveryComponentByNameAndKind) {
  Make();
  struct Expect {
    const char* name;
    const char* cls;
  };
  for (Expect e : std::initializer_list<Expect>{{"PnlMain", "TPanel"},
                                                {"PnlDh", "TPanel"},
                                                {"ImgMenu", "TImage"},
                                                {"LblWd", "TLabel"},
                                                {"BvlWd", "TBevel"},
                                                {"ImgChkNo", "TImage"},
                                                {"PnlCy", "TPanel"},
                                                {"LblGg2", "TLabel"},
                                                {"PopMenuSy", "TPopupMenu"},
                                                {"ImgLstFenlei", "TImageList"},
                                                {"OpenPictureDialogIcon", "TOpenPictureDialog"},
                                                {"OpnDilgProg", "TOpenDialog"},
                                                {"TimerGetTime", "TTimer"},
                                                {"PopMenuTp", "TPopupMenu"},
                                                {"ApplicationEvents", "TApplicationEvents"}}) {
    ui::Component* c = form->FindComponent(e.name);
    ASSERT_NE(c, nullptr) << e.name;
    EXPECT_EQ(c->ClassName(), e.cls) << e.name;
  }
  EXPECT_EQ(form->ClassName(), "TFrmMain");
  EXPECT_EQ(app.MainForm(), form.get());
  // Each frame lies right above its label until a hover lifts the label.
  const auto& stack = form->PnlDh->Controls();
  for (Area a : kAllAreas) {
    auto label = std::find(stack.begin(), stack.end(), form->AreaLabel(a));
    ASSERT_NE(label, stack.end());
    EXPECT_EQ(*(label + 1), form->AreaFrame(a));
  }
  std::vector<std::string> tray;
  for (ui::MenuItem* i : form->PopMenuTp->Items()) tray.push_back(i->Name() + "=" + i->Caption());
  EXPECT_EQ(tray, (std::vector<std::string>{"MenuExit=退出程序(&X)", "MenuShow=打开窗口(&O)",
                                            "N5=-", "MenuAbout=关于(&A)"}));
}

// --- start-up ----------------------------------------------------------------

TEST_F(MainWindow, CreationAndShowingRunTheirStepsInOrder) {
  std::vector<std::string> trail;
  auto step = [&](const char* name) {
    return [&trail, name](TFrmMain&) { trail.push_back(name); };
  };
  TFrmMain::Steps steps;
  steps.request_banner = step("banner");
  steps.clear_deleted_categories = step("deleted names");
  steps.derive_paths = [&](TFrmMain&) {
    trail.push_back(std::string("paths, start hidden ") + (app.ShowMainForm() ? "no" : "yes"));
  };
  steps.category_startup = step("categories");
  steps.version_check = [&](TFrmMain&) {
    trail.push_back("version, icons " + std::to_string(icons.icons().size()));
  };
  steps.expand_tree = step("expand");
  steps.refresh_program_list = [&](TFrmMain& f) {
    trail.push_back(std::string("list, detection ") + (f.TimerDetect->Enabled() ? "on" : "off"));
    f.TimerDetect->SetEnabled(false);
  };
  steps.read_autostart = [&](TFrmMain& f) {
    trail.push_back(std::string("autostart, detection ") +
                    (f.TimerDetect->Enabled() ? "on" : "off"));
  };
  system.tick_count = 1000;
  Make(std::move(steps));
  EXPECT_EQ(trail, (std::vector<std::string>{"deleted names", "paths, start hidden yes",
                                             "categories", "version, icons 1"}));
  for (ui::Timer* t : {form->TimerDetect, form->TimerJq, form->TimerClear, form->TimerGetTime})
    EXPECT_TRUE(t->Enabled()) << t->Name();
  EXPECT_FALSE(form->TimerShown->Enabled());
  trail.clear();
  form->Show();
  std::vector<std::string> once{"expand", "list, detection on", "autostart, detection on"};
  EXPECT_EQ(trail, once) << "detection is switched on before the autostart";
  // The banner waits until the first window is up and painted.
  EXPECT_TRUE(form->TimerShown->Enabled());
  form->TimerShown->Tick();
  once.push_back("banner");
  EXPECT_EQ(trail, once);
  EXPECT_FALSE(form->TimerShown->Enabled());
  form->Hide();
  form->Show();
  form->TimerShown->Tick();
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end() - 1);
  EXPECT_EQ(trail, twice) << "every showing; the banner once";
}

TEST_F(MainWindow, StartedWithinThreeMinutesOfBootOnlyTheTrayIconAppears) {
  system.tick_count = 179999;
  Make();
  app.Run();  // nothing queued: the loop ends at once
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(backend.owner_visible()) << "no taskbar button either";
  EXPECT_EQ(icons.icons().size(), 1u);
}

TEST_F(MainWindow, StartedLaterTheWindowComesUpWithTheAllProgramsPanel) {
  system.tick_count = 180000;
  Make();
  app.Run();
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(backend.owner_visible());
  EXPECT_EQ(VisiblePanels(), (std::vector<std::string>{"PnlSy"}));
  EXPECT_EQ(VisibleFrames(), std::vector<std::string>{});
}

// --- hover rule --------------------------------------------------------------

TEST_F(MainWindow, OverAnAreaLabelOnlyItsFrameShowsAndTheLabelKeepsTheClicks) {
  MakeShown();
  for (Area a : kAllAreas) {
    OverArea(a);
    EXPECT_EQ(VisibleFrames(), (std::vector<std::string>{form->AreaFrame(a)->Name()}));
    EXPECT_EQ(form->PnlDh->ControlAtPos(Middle(*form->AreaLabel(a))), form->AreaLabel(a));
  }
}

TEST_F(MainWindow, TheBottomStripBesideTheSwitchClearsTheFramesTheSwitchItselfDoesNot) {
  MakeShown();
  OverArea(Area::kPinnedList);
  MoveOver(*form->PnlDh, {150, 340});  // y 325 and below, right of x 70
  EXPECT_EQ(VisibleFrames(), std::vector<std::string>{});
  OverArea(Area::kAllPrograms);
  MoveOver(*form->PnlDh, {30, 338});  // the autostart switch
  EXPECT_EQ(VisibleFrames(), (std::vector<std::string>{"BvlSy"}));
}

TEST_F(MainWindow, OverAPanelTheFrameOfItsAreaShows) {
  MakeShown();
  for (Area a : kAllAreas) {
    if (a == Area::kAllPrograms) continue;
    MoveOver(*form->AreaPanel(a), {100, 200});
    EXPECT_EQ(VisibleFrames(), (std::vector<std::string>{form->AreaFrame(a)->Name()}));
  }
  MoveOver(*form->PnlCy, {5, 5});
  EXPECT_EQ(VisibleFrames(), (std::vector<std::string>{"BvlLb"}));
  // All Programs is covered by the tree and the list.
  MoveOver(*form->PnlSy, {5, 5});
  EXPECT_EQ(VisibleFrames(), (std::vector<std::string>{"BvlLb"}));
  form->TrVewFenleiMouseMove();
  EXPECT_EQ(VisibleFrames(), (std::vector<std::string>{"BvlSy"}));
  OverArea(Area::kMyItems);
  form->ShellListViewFenleiMouseMove();
  EXPECT_EQ(VisibleFrames(), (std::vector<std::string>{"BvlSy"}));
}

TEST_F(MainWindow, LeavingALabelKeepsItsFrameAndThePinnedListsLeaveShowsIt) {
  MakeShown();
  OverArea(Area::kMyItems);
  MoveOver(*form->PnlDh, {193, 100});  // PnlDh's own margin: no handler
  EXPECT_EQ(VisibleFrames(), (std::vector<std::string>{"BvlWd"}));

  OverArea(Area::kPinnedList);
  form->PnlDh->Perform(ui::msg::kMouseLeaveWindow);  // out of the window
  EXPECT_EQ(VisibleFrames(), (std::vector<std::string>{"BvlGd"}));
  // Straight from the pinned list onto the most-used list: the leave comes
  // first, so only the new area is framed.
  OverArea(Area::kPinnedList);
  OverArea(Area::kMostUsedList);
  EXPECT_EQ(VisibleFrames(), (std::vector<std::string>{"BvlLb"}));
}

TEST_F(MainWindow, AtMostOneFrameIsVisibleWhereverTheMouseGoes) {
  MakeShown();
  std::mt19937 rng(2024);
  std::uniform_int_distribution<int> x(-2, 200), y(-2, 360), pick(0, 9);
  for (int i = 0; i < 3000; ++i) {
    int where = pick(rng);
    if (where < 7) {
      MoveOver(*form->PnlDh, {x(rng), y(rng)});
    } else if (where < 9) {
      Area a = kAllAreas[static_cast<std::size_t>(pick(rng)) % 8];
      MoveOver(*form->AreaPanel(a), {x(rng), y(rng)});
    } else {
      form->PnlDh->Perform(ui::msg::kMouseLeaveWindow);
    }
    ASSERT_LE(VisibleFrames().size(), 1u) << "after move " << i;
  }
}

// --- area clicks ---------------------------------------------------------------

TEST_F(MainWindow, AnAreaClickLoadsFirstThenShowsOnlyItsPanel) {
  std::vector<std::string> loads;
  TFrmMain::Steps steps;
  for (Area a : kAllAreas) {
    if (a == Area::kAllPrograms) continue;
    steps.load_area[static_cast<std::size_t>(a)] = [&loads, this](TFrmMain& f) {
      std::string shown;
      for (Area b : kAllAreas)
        if (f.AreaPanel(b)->Visible()) shown += f.AreaPanel(b)->Name();
      loads.push_back("load while " + shown);
      // A failed load reports its own error; the panel still switches.
      app.ShowMessageBox("不好意思，软件出现错误！");
    };
  }
  MakeShown(std::move(steps));
  ClickArea(Area::kMyItems);
  EXPECT_EQ(VisiblePanels(), (std::vector<std::string>{"PnlWd"}));
  ClickArea(Area::kMostUsedList);
  EXPECT_EQ(VisiblePanels(), (std::vector<std::string>{"PnlCy"}));
  ClickArea(Area::kAllPrograms);  // no loading step
  EXPECT_EQ(VisiblePanels(), (std::vector<std::string>{"PnlSy"}));
  EXPECT_EQ(loads, (std::vector<std::string>{"load while PnlSy", "load while PnlWd"}));
  EXPECT_EQ(user.boxes.size(), 2u);
}

TEST_F(MainWindow, AClickLeavesTheFrameAsTheHoverLeftIt) {
  MakeShown();
  OverArea(Area::kSettingsItems);
  ClickArea(Area::kSettingsItems);
  EXPECT_EQ(VisibleFrames(), (std::vector<std::string>{"BvlMb"}));
  EXPECT_EQ(VisiblePanels(), (std::vector<std::string>{"PnlMb"}));
  // Hiding to the tray and showing again keeps the panel.
  Tray(514);
  Tray(514);
  EXPECT_EQ(VisiblePanels(), (std::vector<std::string>{"PnlMb"}));
}

// --- tray icon ---------------------------------------------------------------

TEST_F(MainWindow, TheTrayRecordIsFilledOnceAndRemovedWhenTheWindowGoes) {
  Make();
  ASSERT_EQ(icons.calls.size(), 1u);
  const auto [message, record] = icons.calls[0];
  EXPECT_EQ(message, notify_icon::kAdd);
  EXPECT_EQ(record.size, 88u);
  EXPECT_EQ(record.id, 1u);
  EXPECT_EQ(record.flags, 7u);
  EXPECT_EQ(record.callback_message, 2024u);
  EXPECT_EQ(record.tip, "Corvane 1.2");
  EXPECT_EQ(record.icon, ui::HeadlessBackend::kApplicationIcon);
  EXPECT_NE(record.window, 0u);
  EXPECT_EQ(record.window, form->Handle());
  form.reset();
  ASSERT_EQ(icons.calls.size(), 2u);
  EXPECT_EQ(icons.calls[1].first, notify_icon::kDelete);
  EXPECT_EQ(icons.calls[1].second.window, record.window);
  EXPECT_TRUE(icons.icons().empty());
  EXPECT_EQ(backend.live_windows(), 0) << "every window went with the form";
}

TEST_F(MainWindow, TheIconComesBackWhenExplorerRestarts) {
  icons.explorer_running = false;  // started before the taskbar was up
  Make();
  EXPECT_TRUE(icons.icons().empty());
  icons.explorer_running = true;
  app.NotifyTaskbarCreated();
  EXPECT_EQ(icons.icons().size(), 1u);
  icons.RestartExplorer();
  app.NotifyTaskbarCreated();
  EXPECT_EQ(icons.icons().size(), 1u);
}

TEST_F(MainWindow, ALeftClickOnTheIconTogglesTheWindowWithoutTheClosePath) {
  MakeShown();
  form->MarkSettingsChanged();
  Tray(514);
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(user.boxes.empty()) << "no restart question";
  EXPECT_TRUE(form->SettingsChanged());
  Tray(514);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(backend.foreground().size(), 2u);
  EXPECT_EQ(backend.foreground()[0], form.get());
}

TEST_F(MainWindow, ARightClickOpensTheTrayMenuAtThePointer) {
  MakeShown();
  backend.SetCursorPos({1000, 740});
  Tray(517);
  ASSERT_EQ(backend.popups().size(), 1u);
  EXPECT_EQ(backend.popups()[0].menu, form->PopMenuTp);
  EXPECT_EQ(backend.popups()[0].at, (Point{1000, 740}));
  EXPECT_EQ(backend.foreground().size(), 1u) << "made the foreground window first";
}

TEST_F(MainWindow, OtherMouseMessagesOnTheIconAreIgnored) {
  MakeShown();
  for (unsigned m : {0x200u, 0x201u, 0x203u, 0x204u, 0x206u, 0x207u, 0x208u, 0x209u}) Tray(m);
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(backend.popups().empty());
  EXPECT_TRUE(backend.foreground().empty());
}

TEST_F(MainWindow, TheTrayMenuShowsTheWindowOpensAboutAndEndsTheProgram) {
  system.tick_count = 1000;
  Make();
  backend.choose_menu_item = [this](ui::PopupMenu&) { return form->MenuShow; };
  Tray(517);
  EXPECT_TRUE(form->Visible());
  Tray(517);
  EXPECT_TRUE(form->Visible()) << "showing a visible window changes nothing";

  form->Hide();
  std::vector<std::string> about_seen;
  backend.Post([&] {
    for (ui::Form* f : app.Forms())
      if (f->ClassName() == "TFrmAbout" && f->Modal() && f->Visible())
        about_seen.push_back(f->Caption());
  });
  backend.Post([&] {
    for (ui::Form* f : app.Forms())
      if (f->ClassName() == "TFrmAbout") f->Perform(ui::msg::kClose);
  });
  backend.choose_menu_item = [this](ui::PopupMenu&) { return form->MenuAbout; };
  Tray(517);
  EXPECT_EQ(about_seen, (std::vector<std::string>{"关于Corvane1.2"}));
  EXPECT_EQ(app.Forms().size(), 1u) << "destroyed when closed";
  EXPECT_FALSE(form->Visible()) << "the hidden main window stays hidden";

  form->MarkSettingsChanged();
  backend.choose_menu_item = [this](ui::PopupMenu&) { return form->MenuExit; };
  Tray(517);
  EXPECT_TRUE(app.Terminated());
  EXPECT_TRUE(user.boxes.empty()) << "ending the program asks nothing";
}

// --- closing -------------------------------------------------------------------

TEST_F(MainWindow, ClosingHidesTheWindowAndItsTaskbarButtonAndKeepsTheProgram) {
  MakeShown();
  form->Perform(ui::msg::kClose);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(backend.owner_visible());
  EXPECT_FALSE(app.ShowMainForm());
  EXPECT_FALSE(app.Terminated()) << "the close stays pending";
  EXPECT_TRUE(user.boxes.empty());
  EXPECT_EQ(icons.icons().size(), 1u);
  Tray(514);
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(backend.owner_visible());
}

TEST_F(MainWindow, AfterAppliesTheCloseAsksOnceAboutARestart) {
  MakeShown();
  form->MarkSettingsChanged();
  form->MarkSettingsChanged();  // two areas applied
  user.answers = {mb::kIdCancel};
  form->Perform(ui::msg::kClose);
  ASSERT_EQ(user.boxes.size(), 1u);
  EXPECT_EQ(user.boxes[0].caption, "重启计算机");
  EXPECT_EQ(user.boxes[0].style, 0x21u);
  EXPECT_EQ(user.boxes[0].text,
            "所有设置已保存，部分设置重启才会生效， \r您要重启计算机吗？点击取消直接退出。");
  EXPECT_TRUE(power.log.empty()) << "Cancel restarts nothing";
  EXPECT_FALSE(form->SettingsChanged());
  EXPECT_FALSE(form->Visible());

  Tray(514);
  form->Perform(ui::msg::kClose);
  EXPECT_EQ(user.boxes.size(), 1u) << "no new apply, no question";

  Tray(514);
  form->MarkSettingsChanged();
  user.answers = {mb::kIdOk};
  form->Perform(ui::msg::kClose);
  EXPECT_EQ(user.boxes.size(), 2u);
  EXPECT_NE(std::find(power.log.begin(), power.log.end(), "exit 2 0xffff"), power.log.end());
  EXPECT_FALSE(form->Visible()) << "the close goes on after the restart request";
  EXPECT_FALSE(app.Terminated());
}

TEST_F(MainWindow, AnEndingSessionIsNeverHeldUp) {
  MakeShown();
  form->MarkSettingsChanged();
  EXPECT_EQ(form->Perform(ui::msg::kQueryEndSession), 1);
  EXPECT_TRUE(user.boxes.empty());
  form->Perform(ui::msg::kEndSession, 1);
  EXPECT_TRUE(icons.icons().empty()) << "the icon goes with the session";
  EXPECT_TRUE(app.Terminated());
}

// --- restart -------------------------------------------------------------------

TEST(RestartComputer, OnTheNtFamilyTheShutdownPrivilegeIsEnabledFirst) {
  MemoryPower power;
  RestartComputer(power);
  EXPECT_EQ(power.log, (std::vector<std::string>{"open 0x28", "version", "open 0x28",
                                                 "lookup SeShutdownPrivilege", "enable 19", "close",
                                                 "exit 2 0xffff", "close"}));
}

TEST(RestartComputer, OtherPlatformsAndFailures) {
  MemoryPower w9x;
  w9x.platform_id = 1;
  RestartComputer(w9x);
  EXPECT_EQ(w9x.log, (std::vector<std::string>{"open 0x28", "version", "exit 2 0xffff", "close"}));

  MemoryPower unknown;
  unknown.platform_id = 3;
  RestartComputer(unknown);
  EXPECT_EQ(unknown.log, (std::vector<std::string>{"open 0x28", "version", "close"}));

  MemoryPower no_token;
  no_token.token_opens = false;
  RestartComputer(no_token);
  EXPECT_EQ(no_token.log, (std::vector<std::string>{"open 0x28"}));

  MemoryPower no_version;
  no_version.platform_id.reset();
  RestartComputer(no_version);
  EXPECT_EQ(no_version.log, (std::vector<std::string>{"open 0x28", "version", "close"}));

  MemoryPower no_privilege;
  no_privilege.lookup_succeeds = false;
  RestartComputer(no_privilege);
  EXPECT_EQ(no_privilege.log.back(), "close");
  EXPECT_EQ(no_privilege.log[no_privilege.log.size() - 2], "exit 2 0xffff")
      << "the restart is asked for all the same";
}

// --- About -----------------------------------------------------------------------

TEST(AboutBox, ShowsItsTextsAndClosesWithItsButton) {
  ui::HeadlessBackend backend;
  MemoryUserInteraction user;
  ui::Application app(backend, user);
  TFrmAbout about(nullptr);
  EXPECT_EQ(about.Caption(), "关于Corvane1.2");
  EXPECT_EQ(about.ClientWidth(), 348);
  EXPECT_EQ(about.ClientHeight(), 182);
  EXPECT_EQ(about.Position(), ui::FormPosition::kMainFormCenter);
  EXPECT_EQ(about.Label1->Caption(), "版本：Corvane 1.2");
  EXPECT_EQ(about.Label2->Caption().rfind("开发者：", 0), 0u);
  EXPECT_GT(about.Label2->Caption().size(), std::string("开发者：").size()) << "with a name";
  EXPECT_EQ(about.BtnOk->Caption(), "确   定");
  EXPECT_TRUE(about.MemoAbout->ReadOnly());
  EXPECT_EQ(about.MemoAbout->GetColor(), ui::Rgb(166, 202, 240));
  std::vector<std::string> lines = about.MemoAbout->Lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(about.Image1->GetPicture(), ui::Picture::IconResource("MAINICON"));

  backend.Post([&] { about.BtnOk->Perform(ui::msg::kReflectCommand, 0); });
  about.ShowModal();
  EXPECT_FALSE(about.Visible());
  EXPECT_EQ(backend.modal_log().size(), 2u);
}

}  // namespace
}  // namespace corvane::app

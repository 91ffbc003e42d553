#include "setup/installation.h"

#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/memory/memory_filesystem.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_shell_links.h"
#include "platform/memory/memory_system.h"
#include "setup/frm_xuanze.h"
#include "ui/headless.h"

namespace corvane::setup {
namespace {

constexpr char kExe[] = "C:\\Corvane\\Halvorn.exe";
const InstallPaths kInstall = InstallPathsFor("C:\\", "Administrator");
constexpr char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kOem[] = "CLSID\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}";

// What the first-run dialog looked like when it came up, and how it went.
struct DialogSeen {
  bool shown = false;
  std::string caption;
  int client_width = 0, client_height = 0;
  std::vector<std::string> boxes;  // caption, with "+" when ticked
  bool main_visible = true;
  bool timers_on = true;
  std::size_t beeps = 0;
};

class InstallationTest : public ::testing::Test {
 protected:
  InstallationTest() : app(backend, user) {
    fs.AddFolder("C:\\Corvane");
    fs.AddFolder(kInstall.desktop);
    fs.AddFolder(kInstall.quick_launch);
    registry.PutString(reg::kLocalMachine, kRun, "Other", "C:\\other.exe");
  }
  ~InstallationTest() override {
    form.reset();
    installation.reset();
  }

  // Starts the program; in the dialog, unticks the boxes named and presses
  // OK ("close" closes it with its title-bar button instead).
  DialogSeen Start(std::vector<std::string> untick = {}, bool close = false) {
    DialogSeen seen;
    backend.Post([&, untick, close] {
      for (ui::Form* f : app.Forms()) {
        auto* d = dynamic_cast<TFrmXuanze*>(f);
        if (!d || !d->Modal()) continue;
        seen.shown = true;
        seen.caption = d->Caption();
        seen.client_width = d->ClientWidth();
        seen.client_height = d->ClientHeight();
        for (ui::CheckBox* b : {d->ChekBxZm, d->ChekBxKs, d->ChekBxOEM, d->ChekBxQd}) {
          seen.boxes.push_back(b->Caption() + (b->Checked() ? "+" : ""));
          for (const std::string& n : untick)
            if (n == b->Name()) b->SetChecked(false);
        }
        seen.main_visible = creating->Visible();
        seen.timers_on = creating->TimerDetect->Enabled() || creating->TimerJq->Enabled() ||
                         creating->TimerClear->Enabled() || creating->TimerGetTime->Enabled();
        seen.beeps = system.beeps.size();
        if (close) d->Perform(ui::msg::kClose);
        else d->BtnOk->Perform(ui::msg::kReflectCommand, 0);
      }
    });
    form = std::make_unique<app::TFrmMain>(app, app::MainServices{system, notify, power, registry});
    installation = std::make_unique<Installation>(app, InstallServices{registry, system, fs, links});
    installation->Attach(app::MainTimersOf(*form));
    app::TFrmMain::Steps& steps = form->StartSteps();
    app::FillSetupSteps(steps, *installation);
    // The dialog comes while the window's creation steps run.
    steps.version_check = [this, check = steps.version_check](app::TFrmMain& f) {
      creating = &f;
      check(f);
    };
    form->Start();
    backend.ProcessMessages();
    return seen;
  }
  bool TimersOn() {
    return form->TimerDetect->Enabled() && form->TimerJq->Enabled() &&
           form->TimerClear->Enabled() && form->TimerGetTime->Enabled();
  }
  bool TimersOff() {
    return !form->TimerDetect->Enabled() && !form->TimerJq->Enabled() &&
           !form->TimerClear->Enabled() && !form->TimerGetTime->Enabled();
  }
  std::optional<std::string> Target(const std::string& folder) {
    std::optional<ShellLinkFields> f = links.Load(folder + "\\Halvorn.LNK");
    if (!f) return std::nullopt;
    return f->target + "|" + f->arguments + "|" + f->working_directory;
  }
  void OwnOem(const std::string& info_tip) {
    registry.PutString(reg::kClassesRoot, kOem, "", "Old name");
    registry.PutString(reg::kClassesRoot, kOem, "InfoTip", info_tip);
    registry.PutString(reg::kClassesRoot, std::string(kOem) + "\\DefaultIcon", "", "D:\\old.ico");
  }
  void Installed(const std::string& version) {
    registry.PutString(reg::kCurrentUser, "Software\\Halvorn", "Appname", "D:\\Old\\Halvorn.exe");
    registry.PutString(reg::kCurrentUser, "Software\\Halvorn", "Version", version);
  }

  ui::HeadlessBackend backend;
  MemoryUserInteraction user;
  ui::Application app;
  MemorySystem system;
  MemoryNotifyIcons notify;
  MemoryPower power;
  MemoryRegistry registry;
  MemoryFileSystem fs;
  MemoryShellLinks links{fs};
  std::unique_ptr<Installation> installation;
  std::unique_ptr<app::TFrmMain> form;
  app::TFrmMain* creating = nullptr;
};

TEST_F(InstallationTest, AFirstStartRegistersMakesTheOwnFolderAndAsksAfterABeep) {
  DialogSeen seen = Start();
  EXPECT_EQ(registry.GetString(reg::kCurrentUser, "Software\\Halvorn", "Appname"), kExe);
  EXPECT_EQ(registry.GetString(reg::kCurrentUser, "Software\\Halvorn", "Version"), "1.2");
  ASSERT_TRUE(links.Load(kInstall.own_folder + "\\Halvorn.LNK").has_value());
  EXPECT_EQ(Target(kInstall.own_folder), std::string(kExe) + "|%1|C:\\Corvane\\");
  ASSERT_TRUE(links.Load(kInstall.own_folder + "\\whatsnew.LNK").has_value());
  EXPECT_EQ(links.Load(kInstall.own_folder + "\\whatsnew.LNK")->target, "C:\\Corvane\\whatsnew.txt");
  EXPECT_EQ(kInstall.own_folder,
            "C:\\Documents and Settings\\All Users\\「开始」菜单\\程序\\Corvane");

  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.caption, "欢迎使用Corvane1.2   ");
  EXPECT_EQ(seen.client_width, 312);
  EXPECT_EQ(seen.client_height, 153);
  EXPECT_EQ(seen.boxes, (std::vector<std::string>{
                            "添加本程序到桌面快捷方式+", "添加本程序到快速启动栏+",
                            "添本程序加到OEM赞助商链接位置+",
                            "开机自动启动（可以随时保持开始菜单井井和条）+"}));
  EXPECT_FALSE(seen.main_visible) << "the main window has never been shown";
  EXPECT_FALSE(seen.timers_on) << "all four are off while the dialog is open";
  EXPECT_EQ(seen.beeps, 1u);
  EXPECT_EQ(system.beeps, std::vector<unsigned>{0});
}

TEST_F(InstallationTest, OkAppliesTheFourChoicesAndTurnsTheTimersOnAgain) {
  Start();
  EXPECT_EQ(registry.GetString(reg::kLocalMachine, kRun, "Halvorn"), kExe);
  EXPECT_EQ(registry.GetString(reg::kClassesRoot, kOem, ""), "Corvane 1.2");
  EXPECT_EQ(registry.GetString(reg::kClassesRoot, kOem, "InfoTip"), "让您的程序从此井井有条！");
  std::string bag = std::string(kOem) + "\\Instance\\InitPropertyBag";
  EXPECT_EQ(registry.GetString(reg::kClassesRoot, bag, "Command"), "Corvane 1.2");
  EXPECT_EQ(registry.GetString(reg::kClassesRoot, bag, "Param1"), kExe);
  EXPECT_EQ(registry.GetString(reg::kClassesRoot, std::string(kOem) + "\\DefaultIcon", ""),
            "C:\\Corvane\\icon\\crv.ico");
  EXPECT_EQ(Target(kInstall.desktop), std::string(kExe) + "|%1|C:\\Corvane\\");
  EXPECT_EQ(Target(kInstall.quick_launch), std::string(kExe) + "|%1|C:\\Corvane\\");
  EXPECT_TRUE(TimersOn());
  EXPECT_TRUE(user.boxes.empty());
}

TEST_F(InstallationTest, EachClearedBoxWritesNothingAndRemovesNothing) {
  registry.PutString(reg::kLocalMachine, kRun, "Halvorn", "D:\\Old\\Halvorn.exe");
  fs.AddFile(kInstall.desktop + "\\Halvorn.LNK", "old link");
  std::vector<std::string> hklm = registry.Dump(reg::kLocalMachine);
  std::vector<std::string> hkcr = registry.Dump(reg::kClassesRoot);
  Start({"ChekBxZm", "ChekBxKs", "ChekBxOEM", "ChekBxQd"});
  EXPECT_EQ(registry.Dump(reg::kLocalMachine), hklm);
  EXPECT_EQ(registry.Dump(reg::kClassesRoot), hkcr);
  EXPECT_EQ(fs.ReadFile(kInstall.desktop + "\\Halvorn.LNK"), "old link");
  EXPECT_FALSE(Target(kInstall.quick_launch).has_value());
  EXPECT_TRUE(TimersOn());

  // One box at a time: only its own thing appears.
  Installation only(app, InstallServices{registry, system, fs, links});
  InstallChoices c{false, true, false, false};
  only.ApplyChoices(c);
  EXPECT_TRUE(Target(kInstall.quick_launch).has_value());
  EXPECT_EQ(registry.Dump(reg::kLocalMachine), hklm);
  EXPECT_EQ(registry.Dump(reg::kClassesRoot), hkcr);
}

TEST_F(InstallationTest, TheTitleBarCloseAppliesNothingAndLeavesTheTimersOff) {
  std::vector<std::string> hklm = registry.Dump(reg::kLocalMachine);
  DialogSeen seen = Start({}, true);
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(registry.Dump(reg::kLocalMachine), hklm);
  EXPECT_TRUE(registry.Dump(reg::kClassesRoot).empty());
  EXPECT_FALSE(Target(kInstall.desktop).has_value());
  EXPECT_TRUE(TimersOff());
  EXPECT_EQ(registry.GetString(reg::kCurrentUser, "Software\\Halvorn", "Version"), "1.2")
      << "shown once per installed version";
}

TEST_F(InstallationTest, TheSameVersionStartsQuietlyWhereverTheProgramNowIs) {
  Installed("1.2");
  system.executable_folder = "E:\\Moved\\";
  std::vector<std::string> before = registry.Dump(reg::kCurrentUser);
  DialogSeen seen = Start();
  EXPECT_FALSE(seen.shown);
  EXPECT_EQ(registry.Dump(reg::kCurrentUser), before);
  EXPECT_FALSE(fs.Attributes(kInstall.own_folder).has_value());
  EXPECT_TRUE(system.beeps.empty());
  EXPECT_TRUE(TimersOn());
}

TEST_F(InstallationTest, AnOlderVersionIsUpgradedStepByStepThenAskedAgain) {
  Installed("1.0");
  fs.AddFile(kInstall.desktop + "\\Halvorn.LNK", "old");
  fs.AddFile(kInstall.quick_launch + "\\Halvorn.lnk", "old");
  fs.AddFile(kInstall.desktop + "\\Other.LNK", "not ours");
  registry.PutString(reg::kLocalMachine, kRun, "Halvorn", "D:\\Old\\Halvorn.exe");
  OwnOem("让您的程序从此井井有条！");
  // Cleared boxes show what the upgrade itself did.
  DialogSeen seen = Start({"ChekBxZm", "ChekBxKs", "ChekBxOEM", "ChekBxQd"});
  ASSERT_TRUE(seen.shown);
  EXPECT_FALSE(fs.Attributes(kInstall.desktop + "\\Halvorn.LNK").has_value());
  EXPECT_FALSE(fs.Attributes(kInstall.quick_launch + "\\Halvorn.LNK").has_value());
  EXPECT_TRUE(fs.Attributes(kInstall.desktop + "\\Other.LNK").has_value());
  EXPECT_EQ(registry.GetString(reg::kLocalMachine, kRun, "Halvorn"), kExe);
  EXPECT_EQ(registry.GetString(reg::kClassesRoot, kOem, ""), "Corvane 1.2");
  EXPECT_EQ(registry.GetString(reg::kClassesRoot, std::string(kOem) + "\\DefaultIcon", ""),
            "C:\\Corvane\\icon\\crv.ico");
  EXPECT_EQ(registry.GetString(reg::kClassesRoot,
                               std::string(kOem) + "\\Instance\\InitPropertyBag", "Param1"),
            kExe);
  EXPECT_EQ(registry.GetString(reg::kCurrentUser, "Software\\Halvorn", "Version"), "1.2");
  EXPECT_EQ(registry.GetString(reg::kCurrentUser, "Software\\Halvorn", "Appname"), kExe);
}

TEST_F(InstallationTest, AnUpgradeLeavesAForeignOemLinkAndAnAbsentAutostartAlone) {
  Installed("1.0");
  OwnOem("Someone else's link");
  std::vector<std::string> hklm = registry.Dump(reg::kLocalMachine);
  std::vector<std::string> hkcr = registry.Dump(reg::kClassesRoot);
  ASSERT_TRUE(Start({"ChekBxZm", "ChekBxKs", "ChekBxOEM", "ChekBxQd"}).shown);
  EXPECT_EQ(registry.Dump(reg::kLocalMachine), hklm);
  EXPECT_EQ(registry.Dump(reg::kClassesRoot), hkcr);
}

TEST_F(InstallationTest, AVersionThatIsNoNumberIsReportedAndTheStartGoesOn) {
  for (const char* stored : {"abc", "", "1.2.0"}) {
    SCOPED_TRACE(stored);
    Installed(stored);
    user.boxes.clear();
    DialogSeen seen = Start();
    EXPECT_FALSE(seen.shown);
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].text, "'" + std::string(stored) + "' is not a valid floating point value");
    EXPECT_EQ(user.boxes[0].style, mb::kIconError);
    EXPECT_EQ(registry.GetString(reg::kCurrentUser, "Software\\Halvorn", "Version"), stored);
    EXPECT_TRUE(TimersOn());
    form.reset();
  }
}

TEST_F(InstallationTest, TheVersionIsReadWithADotOrTheLocalesDecimalSeparator) {
  system.decimal_separator = ',';
  Installed("1.2");
  EXPECT_FALSE(Start().shown) << "the program writes a dot, whatever the locale";
  EXPECT_TRUE(user.boxes.empty());
  form.reset();
  Installed("1,2");
  EXPECT_FALSE(Start().shown);
  EXPECT_TRUE(user.boxes.empty());
  form.reset();
  // An older version written with a dot is upgraded in such a locale too.
  Installed("1.0");
  EXPECT_TRUE(Start({"ChekBxZm", "ChekBxKs", "ChekBxOEM", "ChekBxQd"}).shown);
  EXPECT_TRUE(user.boxes.empty());
  EXPECT_EQ(registry.GetString(reg::kCurrentUser, "Software\\Halvorn", "Version"), "1.2");
}

TEST_F(InstallationTest, AVersionThatIsNoStringGetsTheSameMessageAsOneThatIsNoNumber) {
  Installed("1.2");
  registry.PutDword(reg::kCurrentUser, "Software\\Halvorn", "Version", 12);
  EXPECT_FALSE(Start().shown);
  ASSERT_EQ(user.boxes.size(), 1u);
  EXPECT_EQ(user.boxes[0].text, "'' is not a valid floating point value");
  EXPECT_EQ(user.boxes[0].style, mb::kIconError);
  EXPECT_TRUE(TimersOn());
}

TEST_F(InstallationTest, WriteFailuresInTheDialogAreReportedAndTheRestGoesOn) {
  registry.FailWrites(reg::kLocalMachine, kRun);
  OwnOem("theirs");
  registry.FailWrites(reg::kClassesRoot, kOem);
  Start();
  ASSERT_EQ(user.boxes.size(), 2u);
  EXPECT_EQ(user.boxes[0].text, "不好意思，软件出现错误！");
  EXPECT_EQ(user.boxes[1].text, "不好意思，注册表写入失败！");
  EXPECT_EQ(user.boxes[0].style, mb::kOk);
  EXPECT_TRUE(Target(kInstall.desktop).has_value()) << "the shortcuts still come";
  EXPECT_TRUE(Target(kInstall.quick_launch).has_value());
  EXPECT_TRUE(TimersOn());
}

TEST_F(InstallationTest, AMissingRunKeyOrShortcutFolderIsSkippedSilently) {
  registry.Deny(reg::kLocalMachine, kRun);
  fs.RemoveFolder(kInstall.quick_launch);
  Start();
  EXPECT_TRUE(user.boxes.empty());
  EXPECT_FALSE(registry.GetString(reg::kLocalMachine, kRun, "Halvorn").has_value());
  EXPECT_FALSE(fs.Attributes(kInstall.quick_launch).has_value());
  EXPECT_TRUE(Target(kInstall.desktop).has_value());
}

}  // namespace
}  // namespace corvane::setup

// The program as its composition root puts it together: the main window,
// then the features wired to it, then the start steps in their order.
#include "app/program.h"

#include <gtest/gtest.h>

#include "platform/memory/file_profile_store.h"
#include "platform/memory/memory_filesystem.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_shell_folders.h"
#include "platform/memory/memory_shell_links.h"
#include "platform/memory/memory_system.h"
#include "setup/frm_xuanze.h"
#include "ui/headless.h"

namespace corvane::app {
namespace {

class Program : public ::testing::Test {
 protected:
  Program() : backend(true), app(backend, user) {
    fs.AddFolder("C:\\Corvane\\Icon");
    fs.AddFolder(StartMenuPathsFor("C:\\", "Administrator").common_programs);
  }
  MainServices Main() { return MainServices{system, notify, power, registry}; }
  categories::CategoryServices Categories() {
    return categories::CategoryServices{fs, profile, system, shell, icons};
  }
  setup::InstallServices Install() { return setup::InstallServices{registry, system, fs, links}; }

  ui::HeadlessBackend backend;
  MemoryUserInteraction user;
  ui::Application app;
  MemorySystem system;
  MemoryNotifyIcons notify;
  MemoryPower power;
  MemoryRegistry registry;
  MemoryFileSystem fs;
  FileProfileStore profile{fs};
  MemoryShellFolders shell{fs};
  MemoryIconFiles icons{fs};
  MemoryShellLinks links{fs};
};

TEST_F(Program, NothingRunsUntilStartAndTheFirstRunDialogComesLastWithEverythingInPlace) {
  MainProgram program(app, Main(), Categories(), Install());
  TFrmMain& form = program.Form();
  EXPECT_TRUE(notify.calls.empty()) << "made, not yet created: no tray icon";
  EXPECT_TRUE(form.TrVewFenlei->AllNodes().empty());
  EXPECT_TRUE(user.boxes.empty());
  ASSERT_NE(form.Find<ui::CheckBox>("ChekBxOEM"), nullptr) << "the settings panels are built";

  struct Seen {
    bool shown = false, tray = false, tree = false, wired = false, timers_on = true;
  } seen;
  backend.Post([&] {
    for (ui::Form* f : app.Forms()) {
      auto* d = dynamic_cast<setup::TFrmXuanze*>(f);
      if (!d || !d->Modal()) continue;
      seen.shown = true;
      seen.tray = !notify.icons().empty();
      seen.tree = !form.TrVewFenlei->AllNodes().empty();
      seen.wired = form.TrVewFenlei->OnClick && form.TimerDetect->OnTimer &&
                   form.MenuNew->OnClick && program.Settings().ApplyButton(Area::kOemLink)->OnClick &&
                   form.ImgChkNo->OnClick && form.TimerGetTime->OnTimer;
      for (ui::Timer* t : MainTimersOf(form)) seen.timers_on = seen.timers_on && t->Enabled();
      d->Perform(ui::msg::kClose);
    }
  });
  program.Start();
  backend.ProcessMessages();
  ASSERT_TRUE(seen.shown) << "no program key: the first run asks";
  EXPECT_TRUE(seen.tray) << "the tray icon is there before the dialog";
  EXPECT_TRUE(seen.tree) << "the category start-up pass ran before the dialog";
  EXPECT_TRUE(seen.wired);
  EXPECT_FALSE(seen.timers_on) << "the window's timers wait while the dialog asks";
}

TEST_F(Program, AFeatureThatGoesBeforeTheWindowTakesItsWiringWithIt) {
  auto form = std::make_unique<TFrmMain>(app, Main());
  auto panels = std::make_unique<settings::AreaPanels>(app, registry, system, SettingsViewOf(*form));
  auto categories = std::make_unique<categories::Categorisation>(app, Categories());
  categories->Attach(CategoryViewOf(*form));
  ui::BitBtn* apply = panels->ApplyButton(Area::kUserBar);
  ASSERT_TRUE(apply->OnClick);
  ASSERT_TRUE(form->TrVewFenlei->OnDragDrop);
  ASSERT_NE(form->ShellListViewFenlei->Shell(), nullptr);

  categories.reset();
  EXPECT_FALSE(form->TrVewFenlei->OnClick);
  EXPECT_FALSE(form->TrVewFenlei->OnEdited);
  EXPECT_FALSE(form->TrVewFenlei->OnDragOver);
  EXPECT_FALSE(form->TrVewFenlei->OnDragDrop);
  EXPECT_FALSE(form->ShellListViewFenlei->OnBeginListing);
  EXPECT_FALSE(form->ShellListViewFenlei->OnAddFolder);
  EXPECT_FALSE(form->ShellListViewFenlei->OnMouseDown);
  EXPECT_EQ(form->ShellListViewFenlei->Shell(), nullptr);
  EXPECT_FALSE(form->TimerDetect->OnTimer);
  EXPECT_FALSE(form->TimerJq->OnTimer);
  for (ui::MenuItem* item : {form->MenuNew, form->MenuDel, form->MenuChangeIcon, form->MenuRename})
    EXPECT_FALSE(item->OnClick) << item->Name();
  EXPECT_TRUE(form->AreaLabel(Area::kUserBar)->OnClick) << "the window's own handlers stay";
  panels.reset();
  EXPECT_FALSE(apply->OnClick);
  EXPECT_FALSE(form->Find<ui::CheckBox>("ChekBxSetOEM")->OnClick);

  // The other way round: the window goes first and the feature after it
  // touches none of its controls (the sanitizers would see it).
  categories = std::make_unique<categories::Categorisation>(app, Categories());
  categories->Attach(CategoryViewOf(*form));
  form.reset();
  categories.reset();
}

}  // namespace
}  // namespace corvane::app

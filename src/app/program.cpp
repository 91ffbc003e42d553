#include "app/program.h"

namespace corvane::app {

settings::PanelHost SettingsViewOf(TFrmMain& form) {
  std::array<ui::Panel*, kAreaCount> panels{};
  for (std::size_t i = 0; i < kAreaCount; ++i)
    if (static_cast<Area>(i) != Area::kAllPrograms) panels[i] = form.AreaPanel(static_cast<Area>(i));
  return settings::PanelHost{form, panels, *form.OpnDilgProg, *form.OpenPictureDialogIcon,
                             [&form] { form.MarkSettingsChanged(); }};
}

categories::CategoryView CategoryViewOf(TFrmMain& form) {
  return categories::CategoryView{form,
                                  *form.TrVewFenlei,
                                  *form.ShellListViewFenlei,
                                  *form.ImgLstFenlei,
                                  *form.OpenPictureDialogIcon,
                                  *form.MenuNew,
                                  *form.MenuDel,
                                  *form.MenuChangeIcon,
                                  *form.MenuRename,
                                  *form.TimerDetect,
                                  *form.TimerJq};
}

strip::StripView StripViewOf(TFrmMain& form) {
  return strip::StripView{form,
                          *form.PnlMain,
                          *form.LblGg1,
                          *form.LblGg2,
                          *form.ImgChkNo,
                          *form.ImgChkYes,
                          *form.TimerClear,
                          *form.TimerGetTime,
                          *form.ApplicationEvents};
}

std::vector<ui::Timer*> MainTimersOf(TFrmMain& form) {
  return {form.TimerDetect, form.TimerJq, form.TimerClear, form.TimerGetTime};
}

void FillSettingsSteps(TFrmMain::Steps& steps, settings::AreaPanels& panels) {
  for (std::size_t i = 0; i < kAreaCount; ++i) {
    Area a = static_cast<Area>(i);
    if (a != Area::kAllPrograms) steps.load_area[i] = [&panels, a](TFrmMain&) { panels.Load(a); };
  }
}

void FillCategorySteps(TFrmMain::Steps& steps, categories::Categorisation& categories) {
  steps.clear_deleted_categories = [&categories](TFrmMain&) { categories.ClearDeletedNames(); };
  steps.derive_paths = [&categories](TFrmMain&) { categories.DerivePaths(); };
  steps.category_startup = [&categories](TFrmMain&) { categories.StartupPass(); };
  steps.expand_tree = [&categories](TFrmMain&) { categories.ExpandTree(); };
  steps.refresh_program_list = [&categories](TFrmMain&) { categories.ListCommonPrograms(); };
}

void FillSetupSteps(TFrmMain::Steps& steps, setup::Installation& installation) {
  steps.version_check = [&installation](TFrmMain&) { installation.VersionCheck(); };
}

void FillStripSteps(TFrmMain::Steps& steps, strip::Strip& strip) {
  steps.request_banner = [&strip](TFrmMain&) { strip.RequestBanner(); };
  steps.read_autostart = [&strip](TFrmMain&) { strip.ReadAutostart(); };
}

MainProgram::MainProgram(ui::Application& app, MainServices main,
                         categories::CategoryServices categories, setup::InstallServices install)
    : form_(std::make_unique<TFrmMain>(app, main)) {
  settings_ =
      std::make_unique<settings::AreaPanels>(app, main.registry, main.system, SettingsViewOf(*form_));
  categories_ = std::make_unique<categories::Categorisation>(app, categories);
  categories_->Attach(CategoryViewOf(*form_));
  setup_ = std::make_unique<setup::Installation>(app, install);
  setup_->Attach(MainTimersOf(*form_));
  strip_ = std::make_unique<strip::Strip>(
      app, strip::StripServices{main.system, main.power, main.registry, main.browser},
      StripViewOf(*form_));
  TFrmMain::Steps& steps = form_->StartSteps();
  FillSettingsSteps(steps, *settings_);
  FillCategorySteps(steps, *categories_);
  FillSetupSteps(steps, *setup_);
  FillStripSteps(steps, *strip_);
}

}  // namespace corvane::app

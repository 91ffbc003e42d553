// The program's composition root. The main window only builds and lays out
// its controls; the features (the settings panels, the categorisation, the
// installation, the strip) each get a narrow view of the controls and timers
// they use, wire themselves through connections that undo themselves, and
// fill the window's start steps. Start then runs those steps in order.
#pragma once
#include <memory>
#include <vector>

#include "app/frm_main.h"
#include "categories/categorisation.h"
#include "settings/area_panels.h"
#include "setup/installation.h"
#include "strip/strip.h"
#include "ui/application.h"

namespace corvane::app {

// What each feature sees of the main window.
settings::PanelHost SettingsViewOf(TFrmMain& form);
categories::CategoryView CategoryViewOf(TFrmMain& form);
strip::StripView StripViewOf(TFrmMain& form);
// The timers that wait while the first-run dialog asks.
std::vector<ui::Timer*> MainTimersOf(TFrmMain& form);

// The window's steps that each feature fills.
void FillSettingsSteps(TFrmMain::Steps& steps, settings::AreaPanels& panels);
void FillCategorySteps(TFrmMain::Steps& steps, categories::Categorisation& categories);
void FillSetupSteps(TFrmMain::Steps& steps, setup::Installation& installation);
void FillStripSteps(TFrmMain::Steps& steps, strip::Strip& strip);

class MainProgram {
 public:
  MainProgram(ui::Application& app, MainServices main, categories::CategoryServices categories,
              setup::InstallServices install);
  MainProgram(const MainProgram&) = delete;
  MainProgram& operator=(const MainProgram&) = delete;

  // Before Start, the steps may be wrapped (the start-up profile does).
  TFrmMain::Steps& StartSteps() { return form_->StartSteps(); }
  // The skin, then the creation steps in order; the version check, which may
  // show the first-run dialog, is the last of them.
  void Start() { form_->Start(); }

  TFrmMain& Form() { return *form_; }
  settings::AreaPanels& Settings() { return *settings_; }
  categories::Categorisation& Categories() { return *categories_; }
  setup::Installation& Setup() { return *setup_; }
  strip::Strip& Strip() { return *strip_; }

 private:
  std::unique_ptr<settings::AreaPanels> settings_;
  std::unique_ptr<categories::Categorisation> categories_;
  std::unique_ptr<setup::Installation> setup_;
  std::unique_ptr<strip::Strip> strip_;
  // Made first and gone first (its tray icon with it); the features' wiring
  // then finds its controls gone and leaves them be.
  std::unique_ptr<TFrmMain> form_;
};

}  // namespace corvane::app

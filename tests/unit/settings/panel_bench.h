// The main window headless on the memory platform, with what the settings
// tests look at: box states, the registry's values and the message boxes.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_system.h"
#include "settings/setting_map.h"
#include "ui/headless.h"

namespace corvane::settings::testing {

inline constexpr RegHandle HKCR = reg::kClassesRoot;
inline constexpr RegHandle HKCU = reg::kCurrentUser;
inline constexpr RegHandle HKLM = reg::kLocalMachine;
// Every area but All Programs has a settings panel.
inline constexpr Area kSettingsAreas[] = {Area::kUserBar,       Area::kPinnedList,
                                          Area::kMostUsedList,  Area::kMyItems,
                                          Area::kSettingsItems, Area::kHelpSearchRun,
                                          Area::kOemLink};

struct PanelBench {
  // With the Explorer keys a Windows profile has, empty; without them a key
  // that a load opens without create is missing, and its reads are skipped.
  explicit PanelBench(bool explorer_keys = true) : app(backend, user) {
    if (explorer_keys)
      for (auto [root, key] : {std::pair{HKCU, kPolicyKey}, {HKCU, kAdvancedKey}, {HKLM, kPolicyKey}})
        MakeKey(root, key);
    app.SetTitle("Corvane 1.2");
    form = std::make_unique<app::TFrmMain>(app, app::MainServices{system, icons, power, registry});
    panels = std::make_unique<AreaPanels>(app, registry, system, app::SettingsViewOf(*form));
    app::FillSettingsSteps(form->StartSteps(), *panels);
    form->Start();
  }

  // The area's click: load, then the panel switch.
  void Load(Area a) { form->AreaClick(a); }
  void Apply(Area a) { panels->ApplyButton(a)->Click(); }

  template <class T = ui::CheckBox>
  T* Get(const std::string& name) {
    T* c = form->Find<T>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  // An empty key, as another program may have left it.
  void MakeKey(RegHandle root, const std::string& path) {
    RegHandle h = 0;
    ASSERT_EQ(registry.CreateKey(root, path, reg::kKeyAllAccess, &h), reg::kSuccess);
    registry.CloseKey(h);
  }
  void Set(const std::string& name, bool checked) { Get(name)->SetChecked(checked); }
  // "1", "0", with "d" for a disabled box; a spin edit gives its value.
  std::string State(const std::string& names) {
    std::istringstream in(names);
    std::string name, out;
    while (in >> name) {
      if (!out.empty()) out += ' ';
      if (auto* spin = form->Find<ui::SpinEdit>(name)) {
        out += std::to_string(spin->Value());
        continue;
      }
      ui::CheckBox* box = Get(name);
      if (!box) return "?";
      out += box->Checked() ? "1" : "0";
      if (!box->Enabled()) out += 'd';
    }
    return out;
  }
  // Every value of the three roots, sorted, with the two Explorer keys
  // shortened to POL and ADV.
  std::vector<std::string> Values() { return Lines(false); }
  std::vector<std::string> Keys() { return Lines(true); }
  std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (const auto& b : user.boxes) out.push_back(b.text);
    return out;
  }

  ui::HeadlessBackend backend;
  MemoryUserInteraction user;
  MemorySystem system;
  MemoryNotifyIcons icons;
  MemoryPower power;
  MemoryRegistry registry;
  ui::Application app;
  std::unique_ptr<AreaPanels> panels;
  std::unique_ptr<app::TFrmMain> form;  // goes first, with the panels' controls

 private:
  std::vector<std::string> Lines(bool keys) {
    std::vector<std::string> out;
    for (RegHandle root : {HKCR, HKCU, HKLM})
      for (std::string line : registry.Dump(root)) {
        if ((line.back() == '\\') != keys) continue;
        for (auto [key, short_name] : {std::pair<std::string, std::string>{kPolicyKey, "POL"},
                                       {kAdvancedKey, "ADV"}}) {
          std::size_t at = line.find(key + "\\");
          if (at != std::string::npos) line.replace(at, key.size() + 1, short_name + " ");
        }
        out.push_back(line);
      }
    return out;
  }
};

}  // namespace corvane::settings::testing

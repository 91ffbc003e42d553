// Installing at start: the version check at the end of the main window's
// creation, the first-run routine with its own Start-menu folder, and the
// four choices of the first-run dialog.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/filesystem.h"
#include "core/oem_link.h"
#include "core/registry.h"
#include "core/shell_links.h"
#include "core/system.h"
#include "ui/application.h"
#include "ui/components.h"

namespace corvane::setup {

inline constexpr char kProgramKey[] = "\\Software\\Halvorn";
inline constexpr char kVersionText[] = "1.2";
inline constexpr char kWhatsNewName[] = "whatsnew.txt";
inline constexpr char kOwnFolderName[] = "Corvane";
inline constexpr char kProductName[] = "Corvane 1.2";
// Marks an OEM link registration as ours: only such a one is refreshed.
inline constexpr char kOwnInfoTip[] = "让您的程序从此井井有条！";
inline constexpr char kWriteError[] = "不好意思，注册表写入失败！";

// Text to a number as the framework converts it: blanks around it allowed,
// a sign, digits with a dot or the given decimal separator, an exponent;
// nothing for anything else (the empty text too).
std::optional<double> TextToFloat(std::string_view text, char decimal_separator);
// "'<text>' is not a valid floating point value".
std::string InvalidFloatMessage(const std::string& text);

// Where the first run puts things, for a drive root ("C:\") and a user.
struct InstallPaths {
  std::string own_folder;    // ...\「开始」菜单\程序\Corvane
  std::string desktop;       // ...\All Users\桌面
  std::string quick_launch;  // ...\<user>\Application Data\...\Quick Launch
};
InstallPaths InstallPathsFor(const std::string& drive_root, const std::string& user);

struct InstallServices {
  RegistryBackend& registry;
  SystemServices& system;
  FileSystem& files;
  ShellLinks& links;
};

// The first-run dialog's four boxes.
struct InstallChoices {
  bool desktop = true;       // ChekBxZm
  bool quick_launch = true;  // ChekBxKs
  bool oem_link = true;      // ChekBxOEM
  bool autostart = true;     // ChekBxQd
};

class Installation {
 public:
  Installation(ui::Application& app, InstallServices services);

  // The main window's timers: they wait while the first-run dialog asks.
  void Attach(std::vector<ui::Timer*> main_timers) { main_timers_ = std::move(main_timers); }

  // The main window's creation step 7.
  void VersionCheck();
  void FirstRunSetup(const std::string& drive_root);
  // The dialog's OK, steps 1 to 4, in order.
  void ApplyChoices(const InstallChoices& choices);

 private:
  void UpgradeFrom();
  void SwitchMainTimers(bool enabled);
  OemLink OwnOemLink();

  ui::Application& app_;
  InstallServices services_;
  std::vector<ui::Timer*> main_timers_;
  std::string drive_root_;
};

}  // namespace corvane::setup

#include "setup/installation.h"

#include <cctype>
#include <cstdlib>

#include "core/oem_link.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "setup/frm_xuanze.h"
#include "setup/shortcut.h"

namespace corvane::setup {

std::optional<double> TextToFloat(std::string_view text, char decimal_separator) {
  std::size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  std::string plain;  // with a '.' whatever the separator, for strtod
  std::size_t i = b;
  auto digits = [&] {
    std::size_t n = 0;
    for (; i < e && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++n) plain += text[i];
    return n;
  };
  if (i < e && (text[i] == '+' || text[i] == '-')) plain += text[i++];
  std::size_t mantissa = digits();
  // The program writes a dot; the locale's own separator is taken too.
  if (i < e && (text[i] == decimal_separator || text[i] == '.')) {
    plain += '.';
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return std::nullopt;
  if (i < e && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < e && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    if (digits() == 0) return std::nullopt;
  }
  if (i != e) return std::nullopt;
  return std::strtod(plain.c_str(), nullptr);
}

std::string InvalidFloatMessage(const std::string& text) {
  return "'" + text + "' is not a valid floating point value";
}

InstallPaths InstallPathsFor(const std::string& drive_root, const std::string& user) {
  const std::string profiles = drive_root + "Documents and Settings\\";
  InstallPaths p;
  p.own_folder = StartMenuPathsFor(drive_root, user).common_programs + "\\" +
                 kOwnFolderName;
  p.desktop = profiles + "All Users\\桌面";
  p.quick_launch =
      profiles + user + "\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch";
  return p;
}

// The drive root is known from the start: the choices may be applied by
// whoever holds the dialog, not only after the version check.
Installation::Installation(ui::Application& app, InstallServices services)
    : app_(app), services_(services), drive_root_(DriveRoot(services.system)) {}

void Installation::VersionCheck() {
  drive_root_ = DriveRoot(services_.system);
  std::string stored;
  {
    RegistryAccessor reg(services_.registry, reg::kCurrentUser);
    if (!reg.KeyExists(kProgramKey)) {
      reg.CloseKey();
      FirstRunSetup(drive_root_);
      return;
    }
    if (!reg.OpenKey(kProgramKey, true)) return;
    try {
      stored = reg.ReadString("Version");
    } catch (const RegistryError&) {
      // A value of another type is no version number either; the
      // accessor's own text is not for the user.
      app_.ShowMessageBox(InvalidFloatMessage(std::string()), std::string(), mb::kIconError);
      return;
    }
  }
  std::optional<double> version = TextToFloat(stored, services_.system.DecimalSeparator());
  if (!version) {
    app_.ShowMessageBox(InvalidFloatMessage(stored), std::string(), mb::kIconError);
    return;
  }
  if (*version == *TextToFloat(kVersionText, '.')) return;
  UpgradeFrom();
  FirstRunSetup(drive_root_);
}

// What an older version left: its shortcuts go, its autostart value and its
// own OEM link registration are pointed at this copy.
void Installation::UpgradeFrom() {
  InstallPaths paths = InstallPathsFor(drive_root_, CurrentUserName(services_.system));
  const std::string exe = ProgramPath(services_.system);
  services_.files.Delete(ShortcutFileName(exe, paths.desktop));
  services_.files.Delete(ShortcutFileName(exe, paths.quick_launch));
  RegistryAccessor reg(services_.registry, reg::kLocalMachine);
  try {
    if (reg.OpenKey(kRunKey, false) && reg.ValueExists(kRunValue)) reg.WriteString(kRunValue, exe);
  } catch (const RegistryError&) {
  }
  reg.SetRoot(reg::kClassesRoot);
  try {
    if (reg.OpenKey(kOemLinkKey, true) && reg.ReadString("InfoTip") == kOwnInfoTip)
      WriteOemLink(reg, OwnOemLink());
  } catch (const RegistryError&) {
  }
}

OemLink Installation::OwnOemLink() {
  return {kProductName, kOwnInfoTip, kProductName, ProgramPath(services_.system),
          ExecutableFolder(services_.system) + "icon\\crv.ico"};
}

void Installation::SwitchMainTimers(bool enabled) {
  for (ui::Timer* t : main_timers_) t->SetEnabled(enabled);
}

void Installation::FirstRunSetup(const std::string& drive_root) {
  drive_root_ = drive_root;
  const std::string exe = ProgramPath(services_.system);
  {
    RegistryAccessor reg(services_.registry, reg::kCurrentUser);
    try {
      if (reg.OpenKey(kProgramKey, true)) {
        reg.WriteString("Appname", exe);
        reg.WriteString("Version", kVersionText);
      }
    } catch (const RegistryError&) {
    }
  }
  InstallPaths paths = InstallPathsFor(drive_root, CurrentUserName(services_.system));
  std::optional<std::uint32_t> a = services_.files.Attributes(paths.own_folder);
  if (!a || !(*a & attr::kDirectory)) services_.files.ForceFolders(paths.own_folder);
  CreateShortcut(services_.links, exe, kShortcutArguments, paths.own_folder);
  CreateShortcut(services_.links, ExecutableFolder(services_.system) + kWhatsNewName,
                 kShortcutArguments, paths.own_folder);
  // The dialog's own loop would run their ticks over it.
  SwitchMainTimers(false);
  TFrmXuanze dialog(nullptr);
  dialog.OnApply = [this](const InstallChoices& c) { ApplyChoices(c); };
  dialog.OnConfirmed = [this] { SwitchMainTimers(true); };
  services_.system.Beep(0);
  dialog.ShowModal();
}

void Installation::ApplyChoices(const InstallChoices& choices) {
  const std::string exe = ProgramPath(services_.system);
  if (choices.autostart) {
    RegistryAccessor reg(services_.registry, reg::kLocalMachine);
    try {
      if (reg.OpenKey(kRunKey, false)) reg.WriteString(kRunValue, exe);
    } catch (const RegistryError&) {
      app_.ShowMessageBox(kSoftwareError);
    }
  }
  if (choices.oem_link) {
    RegistryAccessor reg(services_.registry, reg::kClassesRoot);
    try {
      WriteOemLink(reg, OwnOemLink());
    } catch (const RegistryError&) {
      app_.ShowMessageBox(kWriteError);
    }
  }
  InstallPaths paths = InstallPathsFor(drive_root_, CurrentUserName(services_.system));
  if (choices.desktop) CreateShortcut(services_.links, exe, kShortcutArguments, paths.desktop);
  if (choices.quick_launch)
    CreateShortcut(services_.links, exe, kShortcutArguments, paths.quick_launch);
}

}  // namespace corvane::setup

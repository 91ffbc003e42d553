#include "setup/removal.h"

#include "core/oem_link.h"
#include "core/product.h"
#include "core/program_paths.h"
#include "core/registry_accessor.h"
#include "core/text.h"
#include "setup/shortcut.h"

namespace corvane::setup {
namespace {

void Note(bool gone, const std::string& what, Removal& r) {
  (gone ? r.removed : r.stayed).push_back(what);
}

// A shortcut goes only when it starts this program.
void RemoveOwnShortcut(InstallServices& s, const std::string& file, const std::string& target,
                       Removal& r) {
  if (!s.files.FileExists(file)) return;
  auto link = s.links.Load(file);
  if (!link || !text::SameText(link->target, target)) return;
  Note(s.files.Delete(file) && !s.files.Exists(file), file, r);
}

void RemoveKey(InstallServices& s, RegHandle root, const std::string& key, Removal& r) {
  RegistryAccessor reg(s.registry, root);
  if (!reg.KeyExists(key)) return;
  Note(reg.DeleteKey(key), KeyPath(root, key.substr(1)), r);
}

}  // namespace

Removal RemoveInstallation(InstallServices s) {
  Removal r;
  const std::string folder = ExecutableFolder(s.system);
  const std::string exe = folder + kExecutableName;

  RemoveKey(s, reg::kCurrentUser, kProgramKey, r);
  {
    RegistryAccessor reg(s.registry, reg::kLocalMachine);
    if (reg.OpenKey(kRunKey, false) && reg.ValueExists(kRunValue))
      Note(reg.DeleteValue(kRunValue), std::string("HKLM") + kRunKey + "\\" + kRunValue, r);
  }
  {
    RegistryAccessor reg(s.registry, reg::kClassesRoot);
    bool ours = false;
    try {
      ours = reg.OpenKey(kOemLinkKey, false) && reg.ReadString("InfoTip") == kOwnInfoTip;
    } catch (const RegistryError&) {
    }
    reg.CloseKey();
    if (ours) RemoveKey(s, reg::kClassesRoot, kOemLinkKey, r);
  }

  InstallPaths paths = InstallPathsFor(DriveRoot(s.system), CurrentUserName(s.system));
  RemoveOwnShortcut(s, ShortcutFileName(exe, paths.own_folder), exe, r);
  RemoveOwnShortcut(s, ShortcutFileName(folder + kWhatsNewName, paths.own_folder),
                    folder + kWhatsNewName, r);
  RemoveOwnShortcut(s, ShortcutFileName(exe, paths.desktop), exe, r);
  RemoveOwnShortcut(s, ShortcutFileName(exe, paths.quick_launch), exe, r);
  // The folder goes only when nothing else is left in it.
  if (s.files.FolderExists(paths.own_folder))
    Note(s.files.RemoveFolder(paths.own_folder) && !s.files.Exists(paths.own_folder),
         paths.own_folder, r);
  return r;
}

}  // namespace corvane::setup

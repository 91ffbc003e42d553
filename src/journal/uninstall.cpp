#include "journal/uninstall.h"

#include "categories/start_menu.h"
#include "core/text.h"
#include "settings/oem_link.h"
#include "settings/registry_accessor.h"
#include "setup/installation.h"
#include "setup/shortcut.h"

namespace corvane::journal {
namespace {

constexpr char kUninstallGroup[] = "卸载";
// Shown at most this many paths per list: the rest is counted.
constexpr std::size_t kListed = 8;

void Note(bool gone, const std::string& what, UninstallReport& r) {
  (gone ? r.removed : r.stayed).push_back(what);
}

// A shortcut goes only when it starts this program.
void RemoveOwnShortcut(UninstallServices& s, const std::string& file, const std::string& exe,
                       UninstallReport& r) {
  if (!s.files.FileExists(file)) return;
  auto link = s.links.Load(file);
  if (!link || !text::SameText(link->target, exe)) return;
  Note(s.files.Delete(file) && !s.files.Exists(file), file, r);
}

void RemoveKey(UninstallServices& s, RegHandle root, const std::string& key, UninstallReport& r) {
  settings::RegistryAccessor reg(s.registry, root);
  if (!reg.KeyExists(key)) return;
  Note(reg.DeleteKey(key), KeyPath(root, key.substr(1)), r);
}

void AppendList(std::string& out, const char* title, const std::vector<std::string>& items) {
  if (items.empty()) return;
  out += "\r\n\r\n";
  out += title;
  for (std::size_t i = 0; i < items.size() && i < kListed; ++i) out += "\r\n" + items[i];
  if (items.size() > kListed) out += "\r\n……（共 " + std::to_string(items.size()) + " 项）";
}

}  // namespace

UninstallReport Uninstall(UninstallServices s) {
  UninstallReport r;
  r.restore = Undo(s.files, s.registry, s.journal).All();
  GroupScope group(&s.journal, kUninstallGroup);
  const std::string folder = categories::ExecutableFolder(s.system);
  const std::string exe = folder + setup::kExecutableName;

  RemoveKey(s, reg::kCurrentUser, setup::kProgramKey, r);
  {
    settings::RegistryAccessor reg(s.registry, reg::kLocalMachine);
    if (reg.OpenKey(setup::kRunKey, false) && reg.ValueExists(setup::kRunValue))
      Note(reg.DeleteValue(setup::kRunValue), std::string("HKLM") + setup::kRunKey + "\\" +
                                                  setup::kRunValue, r);
  }
  {
    settings::RegistryAccessor reg(s.registry, reg::kClassesRoot);
    bool ours = false;
    try {
      ours = reg.OpenKey(settings::kOemLinkKey, false) && reg.ReadString("InfoTip") == setup::kOwnInfoTip;
    } catch (const settings::RegistryError&) {
    }
    reg.CloseKey();
    if (ours) RemoveKey(s, reg::kClassesRoot, settings::kOemLinkKey, r);
  }

  setup::InstallPaths paths = setup::InstallPathsFor(categories::DriveRoot(s.system),
                                                     categories::CurrentUserName(s.system));
  RemoveOwnShortcut(s, setup::ShortcutFileName(exe, paths.own_folder), exe, r);
  RemoveOwnShortcut(s, setup::ShortcutFileName(folder + setup::kWhatsNewName, paths.own_folder),
                    folder + setup::kWhatsNewName, r);
  RemoveOwnShortcut(s, setup::ShortcutFileName(exe, paths.desktop), exe, r);
  RemoveOwnShortcut(s, setup::ShortcutFileName(exe, paths.quick_launch), exe, r);
  // The folder goes only when nothing else is left in it.
  if (s.files.FolderExists(paths.own_folder))
    Note(s.files.RemoveFolder(paths.own_folder) && !s.files.Exists(paths.own_folder),
         paths.own_folder, r);
  return r;
}

namespace {

void AppendOutcome(std::string& out, const UndoReport& r) {
  AppendList(out, "以下文件已改动过，原来的内容另存在旁边：", r.kept_beside);
  AppendList(out, "以下项目已被改动过，保持现状：", r.left);
  AppendList(out, "以下项目未能还原，可以稍后再试：", r.failed);
}

}  // namespace

std::string UndoMessage(const UndoReport& r) {
  std::string out = "更改已撤销。";
  AppendOutcome(out, r);
  return out;
}

std::string UninstallMessage(const UninstallReport& r, const std::string& program_folder) {
  std::string out = "Corvane 已还原它所做的全部更改，并删除了自己的注册表项和快捷方式。";
  AppendOutcome(out, r.restore);
  AppendList(out, "以下项目未能删除：", r.stayed);
  out += "\r\n\r\n现在可以删除程序文件夹：\r\n" + program_folder;
  return out;
}

}  // namespace corvane::journal

#include "journal/uninstall.h"

#include "journal_fixture.h"
#include "platform/memory/memory_shell_links.h"
#include "platform/memory/memory_system.h"
#include "core/oem_link.h"
#include "setup/installation.h"
#include "setup/removal.h"
#include "setup/shortcut.h"

namespace corvane::journal {
namespace {

using namespace testing;

struct UninstallTest : ::testing::Test, World {
  MemorySystem system;
  MemoryShellLinks plain_links{disk};
  JournalledShellLinks links{plain_links, disk, journal};
  const std::string exe = std::string(kProgram) + "\\Halvorn.exe";
  const setup::InstallPaths paths = setup::InstallPathsFor("C:\\", "Administrator");

  UninstallTest() {
    system.executable_folder = std::string(kProgram) + "\\";
    disk.AddFolder(paths.desktop);
    disk.AddFolder(paths.quick_launch);
  }
  // What a first run leaves, through the journal.
  void FirstRun() {
    GroupScope g(&journal, "首次运行");
    RegistryAccessor reg(keys, reg::kCurrentUser);
    ASSERT_TRUE(reg.OpenKey(setup::kProgramKey, true));
    reg.WriteString("Version", "1.2");
    reg.SetRoot(reg::kLocalMachine);
    ASSERT_TRUE(reg.OpenKey(kRunKey, true));
    reg.WriteString(kRunValue, exe);
    reg.SetRoot(reg::kClassesRoot);
    WriteOemLink(reg, {"Corvane 1.2", setup::kOwnInfoTip, "Corvane 1.2", exe, "x.ico"});
    files.ForceFolders(paths.own_folder);
    setup::CreateShortcut(links, exe, "", paths.own_folder);
    setup::CreateShortcut(links, exe, "", paths.desktop);
  }
  UninstallReport Run() {
    auto remove_own = [this](UninstallReport& r) {
      setup::Removal removal = setup::RemoveInstallation({keys, system, files, links});
      r.removed = removal.removed;
      r.stayed = removal.stayed;
    };
    return Uninstall({files, keys, system, journal, remove_own});
  }
};

TEST_F(UninstallTest, LeavesNothingOfTheProgramsOwnAndEverythingElseAsItWas) {
  setup::CreateShortcut(plain_links, "C:\\Other\\other.exe", "", paths.desktop);
  Snapshot before = Take();
  FirstRun();
  // An older start that kept no journal left these.
  setup::CreateShortcut(plain_links, exe, "", paths.quick_launch);
  registry.PutString(reg::kCurrentUser, "Software\\Halvorn", "Left", "by 1.1");
  disk.AddFile(paths.own_folder + "\\Halvorn.lnk", "");  // an old, broken link: not provably ours

  UninstallReport r = Run();
  EXPECT_TRUE(r.restore.failed.empty());
  EXPECT_FALSE(registry.HasKey(reg::kCurrentUser, "Software\\Halvorn"));
  EXPECT_FALSE(disk.Exists(setup::ShortcutFileName(exe, paths.quick_launch)));
  ASSERT_EQ(r.stayed.size(), 1u) << "the folder with a link not ours in it";
  disk.Delete(paths.own_folder + "\\Halvorn.lnk");
  disk.RemoveFolder(paths.own_folder);
  EXPECT_EQ(Differences(before, Take()), "");
  EXPECT_NE(UninstallMessage(r, kProgram).find(kProgram), std::string::npos);
}

TEST_F(UninstallTest, AnOemLinkThatIsNotOursStays) {
  registry.PutString(reg::kClassesRoot, "CLSID\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}", "InfoTip",
                     "a vendor's own");
  Snapshot before = Take();
  Run();
  EXPECT_EQ(Differences(before, Take()), "");
}

}  // namespace
}  // namespace corvane::journal

#include "platform/memory/file_profile_store.h"
#include "platform/memory/memory_filesystem.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_shell_folders.h"
#include "platform/memory/memory_shell_links.h"
#include "platform_under_test.h"

namespace corvane::behaviour {
namespace {

class MemoryPlatform : public PlatformUnderTest {
 public:
  MemoryPlatform() { fs_.AddFolder("C:\\scratch"); }
  FileSystem& fs() override { return fs_; }
  ProfileStore& profile() override { return profile_; }
  RegistryBackend& registry() override { return registry_; }
  NotifyIconService& notify_icons() override { return icons_; }
  PowerServices& power() override { return power_; }
  ShellFolders& shell_folders() override { return shell_folders_; }
  IconFiles& icon_files() override { return icon_files_; }
  ShellLinks& shell_links() override { return shell_links_; }
  std::uintptr_t window() override { return 0x10010; }
  std::string scratch() override { return "C:\\scratch"; }
  std::string scratch_key() override { return "Software\\CorvaneBehaviour"; }
  bool under_wine() const override { return false; }

 private:
  MemoryFileSystem fs_;
  FileProfileStore profile_{fs_};
  MemoryRegistry registry_;
  MemoryNotifyIcons icons_;
  MemoryPower power_;
  MemoryShellFolders shell_folders_{fs_};
  MemoryIconFiles icon_files_{fs_};
  MemoryShellLinks shell_links_{fs_};
};

}  // namespace

std::unique_ptr<PlatformUnderTest> MakePlatformUnderTest() {
  return std::make_unique<MemoryPlatform>();
}

}  // namespace corvane::behaviour

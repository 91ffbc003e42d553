// The services a behaviour test runs against: the memory fakes natively, the
// real calls when cross-built and run under Wine or Windows.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/filesystem.h"
#include "core/notify_icon.h"
#include "core/power.h"
#include "core/profile.h"
#include "core/registry.h"
#include "core/shell_folders.h"
#include "core/shell_links.h"

namespace corvane::behaviour {

class PlatformUnderTest {
 public:
  virtual ~PlatformUnderTest() = default;
  virtual FileSystem& fs() = 0;
  virtual ProfileStore& profile() = 0;
  virtual RegistryBackend& registry() = 0;
  virtual NotifyIconService& notify_icons() = 0;
  virtual PowerServices& power() = 0;
  virtual ShellFolders& shell_folders() = 0;
  virtual IconFiles& icon_files() = 0;
  virtual ShellLinks& shell_links() = 0;
  // A window of this process that notification-area icons can report to.
  virtual std::uintptr_t window() = 0;
  // A fresh, empty folder (no trailing separator), removed afterwards.
  virtual std::string scratch() = 0;
  // A fresh key path under HKCU, removed afterwards.
  virtual std::string scratch_key() = 0;
  // Running the real calls under Wine, whose behaviour differs from
  // Windows in known places.
  virtual bool under_wine() const = 0;
};

std::unique_ptr<PlatformUnderTest> MakePlatformUnderTest();

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p_ = MakePlatformUnderTest();
    dir_ = p_->scratch();
  }
  void TearDown() override { p_.reset(); }
  FileSystem& fs() { return p_->fs(); }
  ProfileStore& profile() { return p_->profile(); }
  RegistryBackend& registry() { return p_->registry(); }
  NotifyIconService& notify_icons() { return p_->notify_icons(); }
  PowerServices& power() { return p_->power(); }
  ShellFolders& shell_folders() { return p_->shell_folders(); }
  IconFiles& icon_files() { return p_->icon_files(); }
  ShellLinks& shell_links() { return p_->shell_links(); }
  std::uintptr_t window() { return p_->window(); }
  std::string Path(const std::string& name) const { return dir_ + "\\" + name; }
  bool UnderWine() const { return p_->under_wine(); }

  std::unique_ptr<PlatformUnderTest> p_;
  std::string dir_;
};

// Where Wine is known to differ from Windows, the test says so and skips
// instead of bending the fake.
#define KNOWN_WINE_DIFFERENCE(what)                               \
  do {                                                            \
    if (UnderWine()) GTEST_SKIP() << "known Wine difference: " << what; \
  } while (0)

}  // namespace corvane::behaviour

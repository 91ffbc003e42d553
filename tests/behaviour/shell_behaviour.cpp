// The notification area and the restart's token calls, as the main window
// uses them. The restart request itself is never made here.
#include "platform_under_test.h"

namespace corvane::behaviour {
namespace {

class ShellTest : public PlatformTest {
 protected:
  NotifyIconRecord Record() {
    NotifyIconRecord r;
    r.window = window();
    r.id = 1;
    r.flags = notify_icon::kMessageIconTip;
    r.callback_message = 2024;
    r.tip = "Corvane 1.2";
    return r;
  }
};

TEST_F(ShellTest, AnIconIsAddedOnceAndRemovedOnce) {
  NotifyIconRecord r = Record();
  ASSERT_TRUE(notify_icons().Notify(notify_icon::kAdd, r));
  EXPECT_FALSE(notify_icons().Notify(notify_icon::kAdd, r)) << "the same window and id";
  NotifyIconRecord other = r;
  other.id = 2;
  EXPECT_TRUE(notify_icons().Notify(notify_icon::kAdd, other));
  EXPECT_TRUE(notify_icons().Notify(notify_icon::kDelete, r));
  EXPECT_FALSE(notify_icons().Notify(notify_icon::kDelete, r)) << "already gone";
  EXPECT_TRUE(notify_icons().Notify(notify_icon::kDelete, other));
}

TEST_F(ShellTest, TheProcessTokenOpensAndTheShutdownPrivilegeIsKnown) {
  EXPECT_NE(power().OpenProcessToken(power::kTokenAdjustAndQuery), nullptr);
  EXPECT_EQ(power().PlatformId(), std::optional<std::uint32_t>(power::kPlatformWindowsNt));
  std::optional<Luid> shutdown = power().LookupPrivilege(power::kShutdownPrivilege);
  ASSERT_TRUE(shutdown.has_value());
  EXPECT_EQ(shutdown->low, 19u);  // SE_SHUTDOWN_PRIVILEGE
  EXPECT_EQ(shutdown->high, 0);
  EXPECT_FALSE(power().LookupPrivilege("SeNoSuchPrivilege").has_value());
}

}  // namespace
}  // namespace corvane::behaviour

#include "app/restart.h"

namespace corvane::app {

void RestartComputer(PowerServices& power) {
  auto token = power.OpenProcessToken(power::kTokenAdjustAndQuery);
  if (!token) return;
  std::optional<std::uint32_t> platform = power.PlatformId();
  if (!platform) return;
  if (*platform == power::kPlatformWindowsNt) {
    if (auto again = power.OpenProcessToken(power::kTokenAdjustAndQuery)) {
      if (auto luid = power.LookupPrivilege(power::kShutdownPrivilege))
        again->EnablePrivilege(*luid);
    }
  } else if (*platform != power::kPlatformWindows9x) {
    return;
  }
  power.EndSession(power::kExitReboot, power::kReasonNone);
}

}  // namespace corvane::app

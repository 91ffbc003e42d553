// What restarting the computer takes: the process token, the platform, the
// shutdown privilege and the request to end the session.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace corvane {

namespace power {
inline constexpr std::uint32_t kTokenAdjustAndQuery =
    0x28;  // TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
inline constexpr std::uint32_t kPlatformWindows9x = 1;
inline constexpr std::uint32_t kPlatformWindowsNt = 2;
inline constexpr char kShutdownPrivilege[] = "SeShutdownPrivilege";
inline constexpr std::uint32_t kExitReboot = 2;  // EWX_REBOOT
inline constexpr std::uint32_t kReasonNone = 0xFFFF;
}  // namespace power

struct Luid {
  std::uint32_t low = 0;
  std::int32_t high = 0;
};

// An open token of this process; closed when destroyed.
class ProcessToken {
 public:
  virtual ~ProcessToken() = default;
  // AdjustTokenPrivileges with the one privilege enabled; the result is not
  // looked at.
  virtual void EnablePrivilege(const Luid& privilege) = 0;
};

class PowerServices {
 public:
  virtual ~PowerServices() = default;
  // Null when the token cannot be opened.
  virtual std::unique_ptr<ProcessToken> OpenProcessToken(std::uint32_t access) = 0;
  // The platform identifier from GetVersionExA, or nothing when it fails.
  virtual std::optional<std::uint32_t> PlatformId() = 0;
  // On the local system.
  virtual std::optional<Luid> LookupPrivilege(const std::string& name) = 0;
  // ExitWindowsEx; does not wait.
  virtual void EndSession(std::uint32_t flags, std::uint32_t reason) = 0;
};

}  // namespace corvane

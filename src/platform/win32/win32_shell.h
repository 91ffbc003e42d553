// The real notification area and restart calls.
#pragma once
#include "core/notify_icon.h"
#include "core/power.h"

namespace corvane {

class Win32NotifyIcons : public NotifyIconService {
 public:
  bool Notify(std::uint32_t message, const NotifyIconRecord& record) override;
};

class Win32Power : public PowerServices {
 public:
  std::unique_ptr<ProcessToken> OpenProcessToken(std::uint32_t access) override;
  std::optional<std::uint32_t> PlatformId() override;
  std::optional<Luid> LookupPrivilege(const std::string& name) override;
  void EndSession(std::uint32_t flags, std::uint32_t reason) override;
};

}  // namespace corvane

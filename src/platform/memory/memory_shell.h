// The notification area and the restart calls, recorded for tests.
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/notify_icon.h"
#include "core/power.h"

namespace corvane {

class MemoryNotifyIcons : public NotifyIconService {
 public:
  bool Notify(std::uint32_t message, const NotifyIconRecord& record) override;
  // Explorer went away and came back: its icons are gone.
  void RestartExplorer() { icons_.clear(); }
  // The icons Explorer shows, by window and id.
  const std::map<std::pair<std::uintptr_t, std::uint32_t>, NotifyIconRecord>& icons() const {
    return icons_;
  }
  // Every call, in order.
  std::vector<std::pair<std::uint32_t, NotifyIconRecord>> calls;
  bool explorer_running = true;

 private:
  std::map<std::pair<std::uintptr_t, std::uint32_t>, NotifyIconRecord> icons_;
};

class MemoryPower : public PowerServices {
 public:
  std::unique_ptr<ProcessToken> OpenProcessToken(std::uint32_t access) override;
  std::optional<std::uint32_t> PlatformId() override;
  std::optional<Luid> LookupPrivilege(const std::string& name) override;
  void EndSession(std::uint32_t flags, std::uint32_t reason) override;

  // Scripted answers.
  bool token_opens = true;
  std::optional<std::uint32_t> platform_id = 2;
  bool lookup_succeeds = true;
  // What was asked, as short lines ("open 0x28", "lookup SeShutdownPrivilege",
  // "enable 19", "close", "exit 2 0xffff").
  std::vector<std::string> log;
};

}  // namespace corvane

#include "platform/memory/memory_shell.h"

#include <cstdio>

namespace corvane {
namespace {

std::string Hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%x", v);
  return buf;
}

class MemoryToken : public ProcessToken {
 public:
  explicit MemoryToken(std::vector<std::string>& log) : log_(log) {}
  ~MemoryToken() override { log_.push_back("close"); }
  void EnablePrivilege(const Luid& privilege) override {
    log_.push_back("enable " + std::to_string(privilege.low));
  }

 private:
  std::vector<std::string>& log_;
};

}  // namespace

bool MemoryNotifyIcons::Notify(std::uint32_t message, const NotifyIconRecord& record) {
  calls.emplace_back(message, record);
  if (!explorer_running || record.size != notify_icon::kRecordSize) return false;
  auto key = std::make_pair(record.window, record.id);
  switch (message) {
    case notify_icon::kAdd:
      return icons_.emplace(key, record).second;  // adding twice fails
    case notify_icon::kDelete:
      return icons_.erase(key) == 1;
    default:
      return false;
  }
}

std::unique_ptr<ProcessToken> MemoryPower::OpenProcessToken(std::uint32_t access) {
  log.push_back("open " + Hex(access));
  if (!token_opens) return nullptr;
  return std::make_unique<MemoryToken>(log);
}

std::optional<std::uint32_t> MemoryPower::PlatformId() {
  log.push_back("version");
  return platform_id;
}

std::optional<Luid> MemoryPower::LookupPrivilege(const std::string& name) {
  log.push_back("lookup " + name);
  if (!lookup_succeeds || name != power::kShutdownPrivilege) return std::nullopt;
  return Luid{19, 0};  // the shutdown privilege's value on Windows
}

void MemoryPower::EndSession(std::uint32_t flags, std::uint32_t reason) {
  log.push_back("exit " + std::to_string(flags) + " " + Hex(reason));
}

}  // namespace corvane

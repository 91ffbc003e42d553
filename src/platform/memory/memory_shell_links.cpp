#include "platform/memory/memory_shell_links.h"

#include <vector>

namespace corvane {
namespace {

constexpr char kMark[] = "MemoryShellLink";
constexpr char kSeparator = '\n';

}  // namespace

bool MemoryShellLinks::Save(const std::string& file, const ShellLinkFields& fields) {
  std::string data = kMark;
  for (const std::string* part : {&fields.target, &fields.arguments, &fields.working_directory})
    data += kSeparator + *part;
  return fs_.WriteFile(file, data);
}

std::optional<ShellLinkFields> MemoryShellLinks::Load(const std::string& file) {
  std::optional<std::string> data = fs_.ReadFile(file);
  if (!data) return std::nullopt;
  std::vector<std::string> parts(1);
  for (char c : *data) {
    if (c == kSeparator) parts.emplace_back();
    else parts.back() += c;
  }
  if (parts.size() != 4 || parts[0] != kMark) return std::nullopt;
  ShellLinkFields f;
  f.target = parts[1];
  f.arguments = parts[2];
  f.working_directory = parts[3];
  return f;
}

}  // namespace corvane

#include "core/registry.h"

#include <array>

namespace corvane {

std::string DwordData(std::uint32_t v) {
  std::string d(4, '\0');
  for (int i = 0; i < 4; ++i) d[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return d;
}

std::string SzData(const std::string& text) { return text + '\0'; }

namespace {

constexpr std::array<std::pair<RegHandle, const char*>, 3> kRoots = {{
    {reg::kClassesRoot, "HKCR"},
    {reg::kCurrentUser, "HKCU"},
    {reg::kLocalMachine, "HKLM"},
}};

}  // namespace

std::optional<std::pair<RegHandle, std::string>> SplitKeyPath(std::string_view key) {
  for (const auto& [root, name] : kRoots) {
    std::string_view n(name);
    if (key.size() > n.size() + 1 && key.substr(0, n.size()) == n && key[n.size()] == '\\')
      return std::make_pair(root, std::string(key.substr(n.size() + 1)));
  }
  return std::nullopt;
}

std::string KeyPath(RegHandle root, std::string_view relative) {
  for (const auto& [r, name] : kRoots)
    if (r == root) return std::string(name) + "\\" + std::string(relative);
  return {};
}

}  // namespace corvane

#include "categories/start_menu.h"

#include "core/text.h"

namespace corvane::categories {
namespace {

// Room for the rest of a path within the system's 260 characters.
constexpr std::size_t kMaxEntryName = 200;

constexpr std::string_view kReservedNames[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2",
                                               "COM3", "COM4", "COM5", "COM6", "COM7", "COM8",
                                               "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5",
                                               "LPT6", "LPT7", "LPT8", "LPT9", "CLOCK$", "CONIN$",
                                               "CONOUT$"};

bool IsReservedDevice(std::string_view name) {
  // "CON", "con.txt" and "CON .lnk" all open the device.
  std::size_t dot = name.find('.');
  std::string base = text::Trim(name.substr(0, dot));
  for (std::string_view r : kReservedNames)
    if (text::SameText(base, r)) return true;
  return false;
}

}  // namespace

std::string StorePath(SystemServices& system) { return ExecutableFolder(system) + kStoreFileName; }

std::string IconPath(SystemServices& system, const std::string& icon_name) {
  return ExecutableFolder(system) + "Icon\\" + icon_name;
}

std::string IconDialogFolder(SystemServices& system) {
  return text::ExcludeTrailingBackslash(ExecutableFolder(system)) + "\\icon";
}

bool IsPlainEntryName(std::string_view name) {
  if (name.empty() || name.size() > kMaxEntryName) return false;
  if (name.find("..") != std::string_view::npos) return false;
  std::size_t last = 0;
  for (std::size_t i = 0; i < name.size(); i += text::CharLength(name, i)) {
    last = i;
    std::size_t n = text::CharLength(name, i);
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (n == 1 && text::IsLeadByte(c)) return false;  // half a character at the end
    if (n == 2) continue;
    if (c < 0x20 || c == 0x7F || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) !=
                                     std::string_view::npos)
      return false;
  }
  char end = name[last];
  if (text::CharLength(name, last) == 1 && (end == '.' || end == ' ')) return false;
  return !IsReservedDevice(name);
}

std::optional<std::string> CategoryFolder(const StartMenuPaths& paths, const std::string& name) {
  if (!IsPlainEntryName(name)) return std::nullopt;
  return paths.common_programs + "\\" + name;
}

}  // namespace corvane::categories

// Where the categorisation's own files lie, and which category names may
// become folders. Paths carry no trailing separator unless said otherwise.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "core/program_paths.h"
#include "core/system.h"

namespace corvane::categories {

inline constexpr char kRootNodeText[] = "所有程序";
inline constexpr char kStoreFileName[] = "classify.ini";
inline constexpr char kDesktopIni[] = "Desktop.ini";

// executable folder + "classify.ini".
std::string StorePath(SystemServices& system);
// executable folder + "Icon\" + name: where the start-up pass loads icons.
std::string IconPath(SystemServices& system, const std::string& icon_name);
// The executable's folder + "\icon": the icon file dialog's folder.
std::string IconDialogFolder(SystemServices& system);

// Whether a name from outside (the store, the user) names one entry directly
// inside a folder: not empty, no separator, drive or stream colon, no "..",
// no wildcard or control character, no trailing dot or space (the system
// drops those and would name another entry), no reserved device name (CON,
// NUL, COM1 ... with or without an extension), no half of a double-byte
// character at the end, and short enough for a path.
bool IsPlainEntryName(std::string_view name);

// common Programs folder + "\" + name, or nothing when the name would reach
// outside the common Programs folder; such a category is shown, but no file
// operation ever gets its folder.
std::optional<std::string> CategoryFolder(const StartMenuPaths& paths, const std::string& name);

}  // namespace corvane::categories

// Shortcut files the first run writes: always named after the target, with
// the capital ".LNK" the Start menu has carried since the first version.
#pragma once
#include <string>

#include "core/shell_links.h"

namespace corvane::setup {

inline constexpr char kShortcutArguments[] = "%1";

// folder + "\" + the target's file name without its extension + ".LNK".
std::string ShortcutFileName(const std::string& target, const std::string& folder);

// Writes a link to target with arguments, working in the target's folder,
// into folder (which must exist); true when the file was saved.
bool CreateShortcut(ShellLinks& links, const std::string& target, const std::string& arguments,
                    const std::string& folder);

}  // namespace corvane::setup

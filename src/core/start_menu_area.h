// The areas of the Start menu, as the main window's picture shows them and
// the settings panels set them up. One value per area, named for what it is.
#pragma once
#include <cstddef>

namespace corvane {

// In the order of the picture's area table.
enum class Area {
  kUserBar,         // the user's name and picture at the top
  kPinnedList,      // the programs pinned to the Start menu
  kMostUsedList,    // the most-used programs
  kAllPrograms,     // the categories and their programs; no registry settings
  kOemLink,         // the OEM link entry
  kHelpSearchRun,   // Help and Support, Search and Run
  kSettingsItems,   // Control Panel, connections, printers, admin tools
  kMyItems,         // My Computer, My Documents and their kin
};
inline constexpr std::size_t kAreaCount = 8;

inline constexpr std::size_t AreaIndex(Area a) { return static_cast<std::size_t>(a); }

}  // namespace corvane

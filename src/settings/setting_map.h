// The setting map: which registry value every control of the seven area
// panels shows and sets, how a stored value becomes a box state (read rule)
// and how box states become stored values (write rule); and, per area, the
// guarded groups in which loads and applies visit the rows.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/registry.h"
#include "core/start_menu_area.h"

namespace corvane::settings {

inline constexpr char kPolicyKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline constexpr char kAdvancedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
inline constexpr char kAllFilesHandlers[] = "*\\shellex\\ContextMenuHandlers";
inline constexpr char kFolderHandlers[] = "Folder\\shellex\\ContextMenuHandlers";
// The shell's pin-to-Start-menu command.
inline constexpr char kPinHandler[] = "{a2a9545d-a0c2-42b4-9708-a0b2badd77c8}";
inline constexpr char kPinCommandText[] = "附到「开始」菜单";
inline constexpr std::uint32_t kAdminToolsAsMenu = 7245696;  // 0x6E8F80

enum class Type : std::uint8_t { kInteger, kString, kKeyPresence };

// What a read makes of the boxes. A row with an as-menu box is a pair: On and
// Off then set the item box only, and the as-menu box is enabled exactly when
// the item box is checked.
enum class Show : std::uint8_t {
  kOff,     // unchecked (a pair's as-menu box keeps its state)
  kOn,      // checked
  kHidden,  // pair: both unchecked
  kLink,    // pair: item checked, as-menu unchecked
  kMenu,    // pair: both checked
};

struct Case {
  std::uint32_t value;
  Show shown;
};

enum class Read : std::uint8_t {
  kNone,     // not read
  kStates,   // absent / named values / any other integer
  kText,     // the exact text shows On, anything else (absent too) Off
  kPresence, // the key exists: On
  kNumber,   // the spin edit takes the value, limited to its range; absent keeps it
};

struct ReadRule {
  Read kind = Read::kNone;
  Show absent = Show::kOff;
  Case cases[2] = {};
  int case_count = 0;
  Show other = Show::kOff;
  const char* text = nullptr;
  // Read only when the row's item box is checked by then.
  bool only_if_checked = false;
};

enum class Write : std::uint8_t {
  kBox,       // unchecked / checked
  kPair,      // item unchecked / item only / both: the three-state value
  kText,      // unchecked / checked, as strings
  kNumber,    // the spin edit's value
  kRecreate,  // checked: the key anew (with a default value when given); unchecked: deleted
};

struct WriteRule {
  Write kind = Write::kBox;
  std::uint32_t values[3] = {};
  const char* texts[2] = {};
};

struct Row {
  Area area;
  const char* control;  // the box (or spin edit)
  const char* menu;     // its as-menu box, or null
  RegHandle root;
  const char* key;      // from the root
  const char* value;    // for key presence: the subkey of key
  Type type;
  ReadRule read;
  WriteRule write;
};

// How a step of a group gets at its key.
enum class Open : std::uint8_t {
  kExisting,  // opened without create; a key that is not there skips the step
  kCreate,    // opened, created with its parents if missing
  kProbe,     // not opened: key presence rows test their key with read rights
  kCurrent,   // not opened: whatever key the step before left open, or none
};

inline constexpr std::size_t kMaxStepValues = 7;

// One key of a guarded group and the values visited in it, in order.
struct Step {
  RegHandle root;
  const char* key;
  Open open;
  const char* values[kMaxStepValues];
};

inline constexpr std::size_t kMaxGroupSteps = 3;

// An error in any step ends the whole group.
struct Group {
  Area area;
  bool apply;  // else load
  Step steps[kMaxGroupSteps];
};

struct Span {
  const Row* rows;
  std::size_t size;
  const Row* begin() const { return rows; }
  const Row* end() const { return rows + size; }
};

struct GroupSpan {
  const Group* groups;
  std::size_t size;
  const Group* begin() const { return groups; }
  const Group* end() const { return groups + size; }
};

Span SettingRows();
GroupSpan SettingGroups();

// The row a step visits under its root and key; null when there is none.
const Row* FindRow(Area area, RegHandle root, const char* key, const char* value);

}  // namespace corvane::settings

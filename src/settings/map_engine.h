// Runs the setting map: an area load visits its groups' rows and sets the
// boxes by their read rules; an area apply takes every box state first and
// then writes the rows by their write rules. Each group has its own accessor
// and its own guard: an error ends the group, closes its key, reports the
// area's message once, and the next group runs.
#pragma once
#include <functional>
#include <string>

#include "core/registry.h"
#include "core/registry_accessor.h"
#include "settings/setting_map.h"
#include "ui/component.h"

namespace corvane::ui {
class CheckBox;
class SpinEdit;
}  // namespace corvane::ui

namespace corvane::settings {

inline constexpr char kLoadFailed[] = "不好意思，软件出现错误！";
inline constexpr char kApplyFailed[] = "不好意思，注册表写入失败！";

class MapEngine {
 public:
  using Report = std::function<void(const std::string& message)>;
  // The controls are found by name among the components of owner.
  MapEngine(RegistryBackend& registry, ui::Component& owner, Report report);

  void Load(Area area);
  void Apply(Area area);

  // One guarded group of registry work outside the map; false when it ended
  // on an error (reported with the load or the apply message).
  bool Guarded(bool apply, const std::function<void(RegistryAccessor&)>& work);

  // An item box's click reaction: its as-menu box follows its state.
  static void FollowItem(ui::CheckBox& item, ui::CheckBox& menu);

 private:
  struct Stored {
    std::uint32_t number = 0;
    std::string text;
    bool checked = false;
  };
  ui::CheckBox* Box(const char* name) const;
  ui::SpinEdit* Spin(const char* name) const;
  void Present(const Row& row, Show shown);
  void ReadRow(RegistryAccessor& reg, const Row& row);
  Stored Take(const Row& row) const;
  static void WriteRow(RegistryAccessor& reg, const Row& row, const Stored& s);
  // Runs the steps of a group with one accessor, calling visit for each row.
  void RunGroup(const Group& group,
                const std::function<void(RegistryAccessor&, const Row&)>& visit);

  RegistryBackend& registry_;
  ui::Component& owner_;
  Report report_;
};

}  // namespace corvane::settings

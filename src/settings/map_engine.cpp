#include "settings/map_engine.h"

#include <map>

#include "ui/std_controls.h"

namespace corvane::settings {
namespace {

std::string FromRoot(const char* key) { return std::string("\\") + key; }

Show ByValue(const ReadRule& rule, std::uint32_t v) {
  for (int i = 0; i < rule.case_count; ++i)
    if (rule.cases[i].value == v) return rule.cases[i].shown;
  return rule.other;
}

}  // namespace

MapEngine::MapEngine(RegistryBackend& registry, ui::Component& owner, Report report)
    : registry_(registry), owner_(owner), report_(std::move(report)) {}

ui::CheckBox* MapEngine::Box(const char* name) const {
  return name ? owner_.Find<ui::CheckBox>(name) : nullptr;
}

ui::SpinEdit* MapEngine::Spin(const char* name) const { return owner_.Find<ui::SpinEdit>(name); }

void MapEngine::FollowItem(ui::CheckBox& item, ui::CheckBox& menu) {
  menu.SetEnabled(item.Checked());
}

void MapEngine::Present(const Row& row, Show shown) {
  ui::CheckBox* item = Box(row.control);
  if (!item) return;
  ui::CheckBox* menu = Box(row.menu);
  // The item first: its click reaction runs before the as-menu box changes.
  item->SetChecked(shown != Show::kOff && shown != Show::kHidden);
  if (!menu) return;
  if (shown == Show::kHidden || shown == Show::kLink) menu->SetChecked(false);
  if (shown == Show::kMenu) menu->SetChecked(true);
  FollowItem(*item, *menu);
}

void MapEngine::ReadRow(RegistryAccessor& reg, const Row& row) {
  const ReadRule& rule = row.read;
  if (rule.only_if_checked) {
    ui::CheckBox* item = Box(row.control);
    if (!item || !item->Checked()) return;
  }
  switch (rule.kind) {
    case Read::kNone:
      return;
    case Read::kPresence:
      Present(row, reg.KeyExists(FromRoot(row.key) + "\\" + row.value) ? Show::kOn : Show::kOff);
      return;
    case Read::kStates:
      Present(row, reg.ValueExists(row.value) ? ByValue(rule, reg.ReadInteger(row.value))
                                              : rule.absent);
      return;
    case Read::kText:
      Present(row, reg.ReadString(row.value) == rule.text ? Show::kOn : Show::kOff);
      return;
    case Read::kNumber:
      if (!reg.ValueExists(row.value)) return;
      if (ui::SpinEdit* spin = Spin(row.control)) {
        // Compared unsigned, so a huge count is the most the edit takes.
        std::uint32_t v = reg.ReadInteger(row.value);
        std::uint32_t top = static_cast<std::uint32_t>(spin->MaxValue() > 0 ? spin->MaxValue() : 0);
        spin->SetValue(static_cast<int>(v > top ? top : v));
      }
      return;
  }
}

MapEngine::Stored MapEngine::Take(const Row& row) const {
  Stored s;
  if (row.write.kind == Write::kNumber) {
    ui::SpinEdit* spin = Spin(row.control);
    int v = spin ? spin->Value() : 0;
    s.number = static_cast<std::uint32_t>(v < 0 ? 0 : v);
    return s;
  }
  ui::CheckBox* item = Box(row.control);
  ui::CheckBox* menu = Box(row.menu);
  s.checked = item && item->Checked();
  const WriteRule& w = row.write;
  switch (w.kind) {
    case Write::kBox:
      s.number = w.values[s.checked ? 1 : 0];
      break;
    case Write::kPair:
      s.number = w.values[!s.checked ? 0 : (menu && menu->Checked() ? 2 : 1)];
      break;
    case Write::kText:
      s.text = w.texts[s.checked ? 1 : 0];
      break;
    case Write::kRecreate:
      if (w.texts[0]) s.text = w.texts[0];
      break;
    case Write::kNumber:
      break;
  }
  return s;
}

void MapEngine::WriteRow(RegistryAccessor& reg, const Row& row, const Stored& s) {
  switch (row.type) {
    case Type::kInteger:
      reg.WriteInteger(row.value, s.number);
      return;
    case Type::kString:
      reg.WriteString(row.value, s.text);
      return;
    case Type::kKeyPresence:
      // Whatever the handler key held goes; only our default value comes back.
      reg.DeleteKey(row.value);
      if (!s.checked) return;
      reg.CreateKey(row.value);
      if (row.write.texts[0] && reg.OpenKey(row.value, true)) reg.WriteString("", s.text);
      return;
  }
}

void MapEngine::RunGroup(const Group& group,
                         const std::function<void(RegistryAccessor&, const Row&)>& visit) {
  Guarded(group.apply, [&](RegistryAccessor& reg) {
    for (const Step& step : group.steps) {
      if (!step.key) break;
      reg.SetRoot(step.root);
      bool open = true;
      if (step.open == Open::kExisting || step.open == Open::kCreate) {
        reg.CloseKey();
        // A key that does not open is skipped without a word.
        open = reg.OpenKey(FromRoot(step.key), step.open == Open::kCreate);
      }
      if (!open) continue;
      for (const char* value : step.values) {
        if (!value) break;
        if (const Row* row = FindRow(group.area, step.root, step.key, value)) visit(reg, *row);
      }
    }
  });
}

bool MapEngine::Guarded(bool apply, const std::function<void(RegistryAccessor&)>& work) {
  RegistryAccessor reg(registry_);
  try {
    work(reg);
    return true;
  } catch (const RegistryError&) {
    reg.CloseKey();
    if (report_) report_(apply ? kApplyFailed : kLoadFailed);
    return false;
  }
}

void MapEngine::Load(Area area) {
  for (const Group& g : SettingGroups())
    if (g.area == area && !g.apply)
      RunGroup(g, [this](RegistryAccessor& reg, const Row& row) { ReadRow(reg, row); });
}

void MapEngine::Apply(Area area) {
  // Every state is taken before the first write: a message box in between
  // must not let a click change what the later groups write.
  std::map<const Row*, Stored> taken;
  for (const Row& row : SettingRows())
    if (row.area == area) taken[&row] = Take(row);
  for (const Group& g : SettingGroups())
    if (g.area == area && g.apply)
      RunGroup(g, [&taken](RegistryAccessor& reg, const Row& row) {
        WriteRow(reg, row, taken[&row]);
      });
}

}  // namespace corvane::settings

#include "settings/setting_map.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace corvane::settings {
namespace {

std::string Describe(const Row& r) {
  return std::string(r.control) + " " + std::to_string(r.root) + " " + r.value;
}

// The groups are what visits the rows: a row nobody visits, or visits twice,
// would be a setting the panel shows but never reads or writes.
TEST(SettingMap, EveryRowIsVisitedOnceByItsLoadIfReadAndOnceByItsApply) {
  std::map<const Row*, int> loads, applies;
  for (const Group& g : SettingGroups()) {
    for (const Step& s : g.steps) {
      if (!s.key) break;
      EXPECT_EQ(s.key[0] == '\\', false) << "steps name keys from the root without a separator";
      if (g.apply) { EXPECT_EQ(s.open, Open::kCreate) << "every apply opens or creates its keys"; }
      for (const char* v : s.values) {
        if (!v) break;
        const Row* row = FindRow(g.area, s.root, s.key, v);
        ASSERT_NE(row, nullptr) << v;
        ++(g.apply ? applies : loads)[row];
        if (s.open == Open::kProbe) { EXPECT_EQ(row->type, Type::kKeyPresence) << v; }
      }
    }
  }
  for (const Row& r : SettingRows()) {
    EXPECT_EQ(loads[&r], r.read.kind == Read::kNone ? 0 : 1) << Describe(r);
    EXPECT_EQ(applies[&r], 1) << Describe(r);
  }
}

TEST(SettingMap, RulesFitTheirRows) {
  for (const Row& r : SettingRows()) {
    bool pair_show = false;
    for (int i = 0; i < r.read.case_count; ++i)
      pair_show |= r.read.cases[i].shown > Show::kOn;
    pair_show |= r.read.absent > Show::kOn || r.read.other > Show::kOn;
    if (pair_show) { EXPECT_NE(r.menu, nullptr) << "pair states need an as-menu box: " << Describe(r); }
    if (r.write.kind == Write::kPair) { EXPECT_NE(r.menu, nullptr) << Describe(r); }
    EXPECT_EQ(r.type == Type::kKeyPresence, r.write.kind == Write::kRecreate) << Describe(r);
    EXPECT_EQ(r.type == Type::kString, r.write.kind == Write::kText) << Describe(r);
    if (r.read.only_if_checked) { EXPECT_NE(r.menu, nullptr) << Describe(r); }
  }
}

}  // namespace
}  // namespace corvane::settings

#include "categories/category_store.h"

#include <algorithm>

namespace corvane::categories {
namespace {

constexpr char kLabelNum[] = "LabelNum";
constexpr char kAllUsersKs[] = "AllUsersKs";
constexpr char kAllUsersKsCx[] = "AllUsersKsCx";
constexpr char kCurrentUserKs[] = "CurrentUserKs";
constexpr char kCurrentUserKsCx[] = "CurrentUserKsCx";
constexpr char kFenleiJq[] = "FenleiJq";

std::string LabelKey(int k) { return "Label" + std::to_string(k); }
std::string IconKey(int k) { return "LabelIcon" + std::to_string(k); }

}  // namespace

int CategoryStore::LabelNum() { return profile_.ReadInteger(path_, kSectionPrograms, kLabelNum, 0); }

int CategoryStore::CategoryCount() { return std::clamp(LabelNum(), 0, kMaxCategories); }

void CategoryStore::SetLabelNum(int n) { profile_.WriteInteger(path_, kSectionPrograms, kLabelNum, n); }

std::string CategoryStore::Label(int k) {
  return profile_.ReadString(path_, kSectionPrograms, LabelKey(k), kMissingText);
}

void CategoryStore::SetLabel(int k, const std::string& name) {
  profile_.WriteString(path_, kSectionPrograms, LabelKey(k), name);
}

std::string CategoryStore::LabelIcon(int k) {
  return profile_.ReadString(path_, kSectionLabelIcon, IconKey(k), kMissingText);
}

void CategoryStore::SetLabelIcon(int k, const std::string& file_name) {
  profile_.WriteString(path_, kSectionLabelIcon, IconKey(k), file_name);
}

void CategoryStore::RemoveCategoryKeys(int k) {
  profile_.DeleteKey(path_, kSectionPrograms, LabelKey(k));
  profile_.DeleteKey(path_, kSectionLabelIcon, IconKey(k));
}

std::vector<std::string> CategoryStore::Labels() {
  std::vector<std::string> out;
  int n = CategoryCount();
  out.reserve(static_cast<std::size_t>(n));
  for (int k = 1; k <= n; ++k) out.push_back(Label(k));
  return out;
}

EntryCounts CategoryStore::StoredCounts() {
  EntryCounts c;
  c.all_users_ks = profile_.ReadInteger(path_, kSectionControl, kAllUsersKs, 0);
  c.all_users_ks_cx = profile_.ReadInteger(path_, kSectionControl, kAllUsersKsCx, 0);
  c.current_user_ks = profile_.ReadInteger(path_, kSectionControl, kCurrentUserKs, 0);
  c.current_user_ks_cx = profile_.ReadInteger(path_, kSectionControl, kCurrentUserKsCx, 0);
  return c;
}

void CategoryStore::WriteCounts(const EntryCounts& c) {
  WriteCommonCounts(c.all_users_ks, c.all_users_ks_cx);
  profile_.WriteInteger(path_, kSectionControl, kCurrentUserKs, c.current_user_ks);
  profile_.WriteInteger(path_, kSectionControl, kCurrentUserKsCx, c.current_user_ks_cx);
}

void CategoryStore::WriteCommonCounts(int all_users_ks, int all_users_ks_cx) {
  profile_.WriteInteger(path_, kSectionControl, kAllUsersKs, all_users_ks);
  WriteCommonProgramsCount(all_users_ks_cx);
}

void CategoryStore::WriteCommonProgramsCount(int all_users_ks_cx) {
  profile_.WriteInteger(path_, kSectionControl, kAllUsersKsCx, all_users_ks_cx);
}

bool CategoryStore::TipsDismissed() {
  return profile_.ReadInteger(path_, kSectionControl, kFenleiJq, 0) != 0;
}

void CategoryStore::DismissTips() { profile_.WriteString(path_, kSectionControl, kFenleiJq, "1"); }

}  // namespace corvane::categories

#include "categories/category_store.h"

#include <algorithm>
#include <climits>

#include "core/text.h"

namespace corvane::categories {
namespace {

constexpr char kLabelNum[] = "LabelNum";
constexpr char kAllUsersKs[] = "AllUsersKs";
constexpr char kAllUsersKsCx[] = "AllUsersKsCx";
constexpr char kCurrentUserKs[] = "CurrentUserKs";
constexpr char kCurrentUserKsCx[] = "CurrentUserKsCx";
constexpr char kFenleiJq[] = "FenleiJq";
constexpr char kMergeLeftoversKey[] = "MergeLeftovers";

std::string LabelKey(int k) { return "Label" + std::to_string(k); }
std::string IconKey(int k) { return "LabelIcon" + std::to_string(k); }

}  // namespace

bool SurvivesStore(const std::string& name) {
  if (text::Trim(name) != name) return false;
  if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'') &&
      name.back() == name.front())
    return false;
  return true;
}

int CategoryStore::LabelNum() { return profile_.ReadInteger(path_, kSectionPrograms, kLabelNum, 0); }

int CategoryStore::CategoryCount() { return std::clamp(LabelNum(), 0, kMaxCategories); }

bool CategoryStore::SetLabelNum(int n) {
  return profile_.WriteInteger(path_, kSectionPrograms, kLabelNum, n);
}

std::string CategoryStore::Label(int k) {
  return profile_.ReadString(path_, kSectionPrograms, LabelKey(k), kMissingText);
}

namespace {
// No label of the user's is this text: it stands for a missing key.
constexpr char kAbsent[] = "\x01";
}  // namespace

bool CategoryStore::HasLabel(int k) {
  return profile_.ReadString(path_, kSectionPrograms, LabelKey(k), kAbsent) != kAbsent;
}

bool CategoryStore::SetLabel(int k, const std::string& name) {
  return profile_.WriteString(path_, kSectionPrograms, LabelKey(k), name);
}

std::string CategoryStore::LabelIcon(int k) {
  return profile_.ReadString(path_, kSectionLabelIcon, IconKey(k), kMissingText);
}

bool CategoryStore::SetLabelIcon(int k, const std::string& file_name) {
  return profile_.WriteString(path_, kSectionLabelIcon, IconKey(k), file_name);
}

bool CategoryStore::RemoveCategoryKeys(int k) {
  bool label = profile_.DeleteKey(path_, kSectionPrograms, LabelKey(k));
  bool icon = profile_.DeleteKey(path_, kSectionLabelIcon, IconKey(k));
  return label && icon;
}

std::vector<std::string> CategoryStore::Labels() {
  std::vector<std::string> out;
  int n = CategoryCount();
  out.reserve(static_cast<std::size_t>(n));
  // One read a label.
  for (int k = 1; k <= n; ++k) {
    std::string label = profile_.ReadString(path_, kSectionPrograms, LabelKey(k), kAbsent);
    if (label != kAbsent) out.push_back(std::move(label));
  }
  return out;
}

int CategoryStore::Find(const std::string& name) {
  for (int k = 1, n = CategoryCount(); k <= n; ++k)
    if (profile_.ReadString(path_, kSectionPrograms, LabelKey(k), kAbsent) == name) return k;
  return 0;
}

int CategoryStore::NextIndex() {
  int last = CategoryCount();
  while (last > 0 && !HasLabel(last)) --last;
  return last < kMaxCategories ? last + 1 : 0;
}

bool CategoryStore::Append(const std::string& name, const std::string& icon) {
  int k = NextIndex();
  if (k == 0) return false;
  int before = LabelNum();
  if (SetLabelNum(k) && SetLabel(k, name) && SetLabelIcon(k, icon)) return true;
  // Nothing half-added stays behind.
  RemoveCategoryKeys(k);
  SetLabelNum(before);
  return false;
}

bool CategoryStore::Remove(int k) {
  int n = CategoryCount();
  if (k < 1 || k > n) return false;
  bool ok = SetLabelNum(n - 1);
  ok = RemoveCategoryKeys(k) && ok;
  for (int j = k + 1; j <= n; ++j) {
    bool has_label = HasLabel(j);
    std::string label = Label(j), icon = LabelIcon(j);
    ok = RemoveCategoryKeys(j) && ok;
    if (has_label) ok = SetLabel(j - 1, label) && ok;
    ok = SetLabelIcon(j - 1, icon) && ok;
  }
  return ok;
}

namespace {

// Removes every occurrence of what, on character boundaries.
std::string RemoveAll(std::string s, const std::string& what) {
  for (std::size_t at = text::FindText(s, what); at != std::string::npos;
       at = text::FindText(s, what))
    s.erase(at, what.size());
  return s;
}

// A whole decimal number as the standard conversion takes it: optional
// blanks before, an optional sign, digits, nothing after, within int.
bool ParseInteger(const std::string& s, long long* out) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  if (i == s.size()) return false;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
    if (v > INT_MAX) return false;
  }
  *out = negative ? -v : v;
  return true;
}

}  // namespace

std::string CategoryStore::NextNewName(const std::string& deleted_names, std::string* bad_number) {
  long long i = 1;
  for (const std::string& label : Labels()) {
    if (!text::ContainsText(label, kNewCategoryName)) continue;
    std::string rest = RemoveAll(label, kNewCategoryName);
    long long number = 0;
    if (!ParseInteger(rest, &number) || number >= INT_MAX) {
      if (bad_number) *bad_number = rest;
      return std::string();
    }
    if (number >= i) i = number + 1;
  }
  while (!deleted_names.empty() &&
         text::ContainsText(deleted_names, kNewCategoryName + std::to_string(i)))
    ++i;
  return kNewCategoryName + std::to_string(i);
}

EntryCounts CategoryStore::StoredCounts() {
  EntryCounts c;
  c.all_users_ks = profile_.ReadInteger(path_, kSectionControl, kAllUsersKs, 0);
  c.all_users_ks_cx = profile_.ReadInteger(path_, kSectionControl, kAllUsersKsCx, 0);
  c.current_user_ks = profile_.ReadInteger(path_, kSectionControl, kCurrentUserKs, 0);
  c.current_user_ks_cx = profile_.ReadInteger(path_, kSectionControl, kCurrentUserKsCx, 0);
  return c;
}

bool CategoryStore::WriteCounts(const EntryCounts& c) {
  bool ok = WriteCommonCounts(c.all_users_ks, c.all_users_ks_cx);
  ok = profile_.WriteInteger(path_, kSectionControl, kCurrentUserKs, c.current_user_ks) && ok;
  return profile_.WriteInteger(path_, kSectionControl, kCurrentUserKsCx, c.current_user_ks_cx) && ok;
}

bool CategoryStore::WriteCommonCounts(int all_users_ks, int all_users_ks_cx) {
  bool ok = profile_.WriteInteger(path_, kSectionControl, kAllUsersKs, all_users_ks);
  return WriteCommonProgramsCount(all_users_ks_cx) && ok;
}

bool CategoryStore::WriteCommonProgramsCount(int all_users_ks_cx) {
  return profile_.WriteInteger(path_, kSectionControl, kAllUsersKsCx, all_users_ks_cx);
}

bool CategoryStore::TipsDismissed() {
  return profile_.ReadInteger(path_, kSectionControl, kFenleiJq, 0) != 0;
}

bool CategoryStore::DismissTips() {
  return profile_.WriteString(path_, kSectionControl, kFenleiJq, "1");
}

std::string CategoryStore::MergeLeftoversTold() {
  return profile_.ReadString(path_, kSectionControl, kMergeLeftoversKey, "");
}

bool CategoryStore::SetMergeLeftoversTold(const std::string& fingerprint) {
  return profile_.WriteString(path_, kSectionControl, kMergeLeftoversKey, fingerprint);
}

}  // namespace corvane::categories

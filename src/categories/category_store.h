// The category store, classify.ini beside the executable: the categories in
// tree order with their icons, the stored entry counts of the four
// Start-menu folders and the tips switch. Every operation makes one of
// these, does its reads and writes and lets it go; nothing is kept between
// operations, and every write reaches the file at once.
#pragma once
#include <string>
#include <vector>

#include "core/profile.h"

namespace corvane::categories {

inline constexpr char kSectionPrograms[] = "programs";
inline constexpr char kSectionLabelIcon[] = "LabelIcon";
inline constexpr char kSectionControl[] = "control";
inline constexpr char kMissingText[] = "null";
inline constexpr char kNewCategoryName[] = "新分类";
// More categories than anyone keeps; a store claiming more is read up to here.
inline constexpr int kMaxCategories = 1000;

// Entry counts of the four Start-menu folders, as stored or as counted.
struct EntryCounts {
  int all_users_ks = 0;        // common Start menu
  int all_users_ks_cx = 0;     // common Programs folder
  int current_user_ks = 0;     // user Start menu
  int current_user_ks_cx = 0;  // user Programs folder
  friend bool operator==(const EntryCounts& a, const EntryCounts& b) {
    return a.all_users_ks == b.all_users_ks && a.all_users_ks_cx == b.all_users_ks_cx &&
           a.current_user_ks == b.current_user_ks && a.current_user_ks_cx == b.current_user_ks_cx;
  }
};

// Whether a label reads back from classify.ini as written: no blanks at
// either end, not wrapped in quotes.
bool SurvivesStore(const std::string& name);

class CategoryStore {
 public:
  CategoryStore(ProfileStore& profile, std::string path)
      : profile_(profile), path_(std::move(path)) {}

  // LabelNum as stored (0 when missing or not a number).
  int LabelNum();
  // LabelNum within 0 .. kMaxCategories.
  int CategoryCount();
  // Each setter is false when the write did not reach the file.
  bool SetLabelNum(int n);
  // Label<k>, "null" when missing; k = 0 is the root's optional entry.
  std::string Label(int k);
  // Whether Label<k> is there at all.
  bool HasLabel(int k);
  bool SetLabel(int k, const std::string& name);
  // LabelIcon<k>, "null" when missing.
  std::string LabelIcon(int k);
  bool SetLabelIcon(int k, const std::string& file_name);
  // Removes Label<k> and LabelIcon<k>.
  bool RemoveCategoryKeys(int k);
  // Label1 .. Label<CategoryCount()>, in order, the missing ones left out.
  std::vector<std::string> Labels();

  // The category list. The index (1 ..) of the category of that name, or 0.
  int Find(const std::string& name);
  // The index a new category takes: after the last one present. A LabelNum
  // beyond the labels present is not carried on; 0 when the list is full.
  int NextIndex();
  // Adds a category at NextIndex() with the icon; false, with nothing
  // added, when the list is full or a write failed.
  bool Append(const std::string& name, const std::string& icon);
  // Removes category k and moves those after it down one; false when a
  // write failed.
  bool Remove(int k);
  // The name for a new category: "新分类<i>", i past every number the
  // category names carry and past the deleted names. Empty, with the
  // offending text in bad_number, when a name holds no number.
  std::string NextNewName(const std::string& deleted_names, std::string* bad_number);

  EntryCounts StoredCounts();
  // The four, in the order the section lists them.
  bool WriteCounts(const EntryCounts& counts);
  // The two of the common folders, which a drop changes.
  bool WriteCommonCounts(int all_users_ks, int all_users_ks_cx);
  bool WriteCommonProgramsCount(int all_users_ks_cx);

  // FenleiJq: non-zero once the user asked not to see the tips again.
  bool TipsDismissed();
  bool DismissTips();

  // MergeLeftovers: a fingerprint of the start-up merge's leftovers last
  // told, so that the same ones are not told again at every start.
  std::string MergeLeftoversTold();
  bool SetMergeLeftoversTold(const std::string& fingerprint);

 private:
  ProfileStore& profile_;
  std::string path_;
};

}  // namespace corvane::categories

#include "journal/user_actions.h"

#include "core/text.h"

namespace corvane::journal {
namespace {

std::string Stem(const std::string& path) {
  std::string name = text::ExtractFileName(text::ExcludeTrailingBackslash(path));
  std::string ext = text::ExtractFileExt(name);
  return text::SameText(ext, ".lnk") ? name.substr(0, name.size() - ext.size()) : name;
}

}  // namespace

std::string MergeDescription(const std::vector<Record>& changes) {
  int moved = 0;
  for (const Record& r : changes)
    if (r.op == Op::kDelete || r.op == Op::kRename) ++moved;
  return "启动时整理 " + std::to_string(moved) + " 项";
}

std::string DropDescription(const std::vector<Record>& changes) {
  // A dropped folder shows first as the folder made for it.
  for (const Record& r : changes) {
    bool moved = r.op == Op::kCopy || r.op == Op::kRename;
    if (moved || r.op == Op::kMakeFolder)
      return "拖放 " + Stem(r.path) + " → " + Stem(text::ExtractFilePath(moved ? r.to : r.path));
  }
  return "拖放";
}

}  // namespace corvane::journal

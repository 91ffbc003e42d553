#include "journal/user_actions.h"

#include <algorithm>

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
  // An entry that left its place; an icon file deleted to be written
  // again is no entry.
  int moved = 0;
  for (const Record& r : changes) {
    if (r.op == Op::kRename || r.op == Op::kMoveByCopy) {
      ++moved;
    } else if (r.op == Op::kDelete) {
      bool rewritten = std::any_of(changes.begin(), changes.end(), [&](const Record& w) {
        return w.op == Op::kWrite && text::SameText(w.path, r.path);
      });
      if (!rewritten) ++moved;
    }
  }
  return "启动时整理 " + std::to_string(moved) + " 项";
}

std::string DropDescription(const std::vector<Record>& changes) {
  // A dropped folder shows first as the folder made for it.
  for (const Record& r : changes) {
    bool moved = r.op == Op::kCopy || r.op == Op::kRename || r.op == Op::kMoveByCopy;
    if (moved || r.op == Op::kMakeFolder)
      return "拖放 " + Stem(r.path) + " → " + Stem(text::ExtractFilePath(moved ? r.to : r.path));
  }
  return "拖放";
}

}  // namespace corvane::journal

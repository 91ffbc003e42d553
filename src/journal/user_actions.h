// User actions as journal groups: a handler wrapped so that each run is one
// group, and the short descriptions the undo list shows.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "journal/journal.h"

namespace corvane::journal {

using Describer = std::function<std::string(const std::vector<Record>&)>;

// "启动时整理 3 项": the entries that left their place.
std::string MergeDescription(const std::vector<Record>& changes);
// "拖放 便笺 → 办公应用": the first entry moved and the folder it went to.
std::string DropDescription(const std::vector<Record>& changes);

// Each run of handler is one group named what, or what describe makes of
// its changes once it has run. An empty handler stays empty.
template <typename... Args>
std::function<void(Args...)> InGroup(Journal& journal, std::string what,
                                     std::function<void(Args...)> handler,
                                     Describer describe = {}) {
  if (!handler) return handler;
  return [&journal, what = std::move(what), handler = std::move(handler),
          describe = std::move(describe)](Args... args) {
    GroupScope group(&journal, what);
    handler(std::forward<Args>(args)...);
    if (describe && !group.Changes()->empty()) group.Describe(describe(*group.Changes()));
  };
}

}  // namespace corvane::journal

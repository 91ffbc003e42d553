#include "ui/connections.h"

namespace corvane::ui {

void Connections::Add(Component& component, std::function<void()> undo) {
  Link& link = links_.emplace_back(Link{&component, std::move(undo)});
  component.WatchFree(&link, [&link] { link.component = nullptr; });
}

void Connections::Clear() {
  while (!links_.empty()) {
    Link& link = links_.back();
    if (link.component) {
      link.component->UnwatchFree(&link);
      link.undo();
    }
    links_.pop_back();
  }
}

}  // namespace corvane::ui

#include "ui/component.h"

#include <algorithm>

#include "core/text.h"

namespace corvane::ui {

Component::Component(Component* owner) : owner_(owner) {
  if (owner_) owner_->components_.push_back(this);
}

Component::~Component() {
  DestroyComponents();
  if (owner_) {
    auto& list = owner_->components_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  // One at a time from the list itself: a watcher told may end (or free)
  // another, which must then not be told.
  while (!free_watchers_.empty()) {
    auto told = std::move(free_watchers_.front().second);
    free_watchers_.erase(free_watchers_.begin());
    told();
  }
}

void Component::WatchFree(const void* key, std::function<void()> told) {
  UnwatchFree(key);
  free_watchers_.emplace_back(key, std::move(told));
}

void Component::UnwatchFree(const void* key) {
  free_watchers_.erase(std::remove_if(free_watchers_.begin(), free_watchers_.end(),
                                      [key](const auto& w) { return w.first == key; }),
                       free_watchers_.end());
}

void Component::DestroyComponents() {
  while (!components_.empty()) delete components_.back();  // unlinks itself
}

Component* Component::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (Component* c : components_)
    if (text::SameText(c->Name(), name)) return c;
  return nullptr;
}

}  // namespace corvane::ui

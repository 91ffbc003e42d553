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

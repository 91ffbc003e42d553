// Raising an event: the handler is copied first, so it may replace itself.
#pragma once
#include <utility>

namespace corvane::ui {

template <class F, class... Args>
void Fire(const F& handler, Args&&... args) {
  if (!handler) return;
  F copy = handler;
  copy(std::forward<Args>(args)...);
}

}  // namespace corvane::ui

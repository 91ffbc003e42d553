// What a part of the program wired into controls it does not own: each
// wiring is undone when the owner of these connections goes, unless the
// control went first. The owner keeps one Connections and never writes an
// unwiring of its own.
#pragma once
#include <functional>
#include <list>
#include <utility>

#include "ui/component.h"

namespace corvane::ui {

class Connections {
 public:
  Connections() = default;
  ~Connections() { Clear(); }
  Connections(const Connections&) = delete;
  Connections& operator=(const Connections&) = delete;

  // Sets an event of the component; it is emptied again when this goes.
  template <class Event, class Handler>
  void Connect(Component& component, Event& event, Handler&& handler) {
    event = std::forward<Handler>(handler);
    Add(component, [&event] { event = nullptr; });
  }
  // A wiring of any other kind, with the call that undoes it.
  void Add(Component& component, std::function<void()> undo);
  // Undoes every wiring whose component is still there, the last first.
  void Clear();
  std::size_t Size() const { return links_.size(); }

 private:
  struct Link {
    Component* component;
    std::function<void()> undo;
  };
  std::list<Link> links_;  // their addresses are the watch keys
};

}  // namespace corvane::ui

// Components: named, tagged objects owned by another component. An owner
// destroys what it owns; a component removes itself from its owner when it
// goes first. The owned list keeps creation order, which is the order the
// skin engine walks a form in.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane::ui {

class Component {
 public:
  explicit Component(Component* owner);
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  virtual std::string ClassName() const { return "TComponent"; }

  Component* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  long Tag() const { return tag_; }
  void SetTag(long tag) { tag_ = tag; }

  const std::vector<Component*>& Components() const { return components_; }
  // By name, without regard to case; only directly owned components.
  Component* FindComponent(std::string_view name) const;
  template <class T>
  T* Find(std::string_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }

  // Whoever keeps a pointer to this component without owning it is told,
  // once, when it goes (after its parts, so only the pointer may be used).
  // The key ends the watch; a watcher that goes first must end it.
  void WatchFree(const void* key, std::function<void()> told);
  void UnwatchFree(const void* key);

  // Creates a component owned by this one; the owner keeps it.
  template <class T, class... Args>
  T* Create(std::string name, Args&&... args) {
    T* c = new T(this, std::forward<Args>(args)...);
    c->SetName(std::move(name));
    return c;
  }

 protected:
  // Destroys the owned components, last first. Containers call this early in
  // their destructor so that children go while the container is whole.
  void DestroyComponents();

 private:
  Component* owner_;
  std::string name_;
  long tag_ = 0;
  std::vector<Component*> components_;
  std::vector<std::pair<const void*, std::function<void()>>> free_watchers_;
};

}  // namespace corvane::ui

// The skinned controls of one window (SkinControls): made by walking a
// form's components or a plain window's children through the mapping
// rules, with the hot control, released together when the window is
// unskinned.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "skin/win32/skin_control.h"

namespace corvane::ui {
class WinControl;
}

namespace corvane::skin::win32 {

// Makes the member for a decision of the mapping rules (null for none).
std::unique_ptr<TSkinControl> MakeSkinObject(SkinObject kind, SkinControls* list);

// A host's own choice of skin object for a control (OnSkinControl): return
// one to take the control over, or null to leave it to the rules.
using OnSkinControlHandler = std::function<std::unique_ptr<TSkinControl>(
    TWinSkinForm& sender, TSkinData& skin, ui::WinControl& container, ui::Control& control,
    const std::string& class_upper)>;
void SetOnSkinControl(const TSkinData& skin, OnSkinControlHandler handler);

// The skinned controls of one window, and the one that shows its hot state.
class SkinControls {
 public:
  // form may be null (controls skinned without a window object, in tests).
  SkinControls(TWinSkinForm* form, TSkinData& skin) : form_(form), skin_(skin) {}
  ~SkinControls() { Release(); }
  SkinControls(const SkinControls&) = delete;
  SkinControls& operator=(const SkinControls&) = delete;

  // The window's controls: a form's components by the form rules, a plain
  // window's children by their classes.
  void SkinChildren(ui::WinControl* form, HWND window);
  void SkinForm(ui::WinControl& container);
  void SkinWindowChildren(HWND parent);
  // The controls put off because their windows waited for them to show,
  // skinned once their windows have been made.
  void WindowsMade();

  TSkinControl* AttachWindow(SkinObject kind, HWND window);
  TSkinControl* AttachControl(SkinObject kind, ui::Control& control, bool recolour);
  TSkinControl* Adopt(std::unique_ptr<TSkinControl> object);

  // Detach, then free: every control of the window.
  void Release();
  // A member whose control is gone leaves the list at once (freed now, or
  // when its running handler returns), so a new window that gets the same
  // handle is never taken for it.
  void Discard(TSkinControl* object);
  void Refresh();
  // The hover timer: the hot control is told when the mouse has left it.
  void HoverTick();

  // In constant time: the walk asks for every control it meets.
  TSkinControl* Find(HWND window) const;
  TSkinControl* Find(const ui::Control* control) const;
  bool Contains(const TSkinControl* object) const { return members_.count(object) != 0; }
  std::size_t Count() const { return objects_.size(); }
  TSkinControl& At(std::size_t i) const { return *objects_[i]; }

  TSkinControl* HotControl() const { return hot_; }
  void SetHot(TSkinControl* c);
  void DropHot(const TSkinControl* c) {
    if (hot_ == c) hot_ = nullptr;
  }
  TWinSkinForm* Form() const { return form_; }
  TSkinData& Skin() const { return skin_; }

 private:
  // Out of the indexes (the object itself stays wherever it is).
  void Forget(const TSkinControl* object);
  void SkinOne(ui::WinControl& container, ui::Control& c);
  void ApplyDecision(const ControlDecision& d, ui::Control& c);

  TWinSkinForm* form_;
  TSkinData& skin_;
  std::vector<std::unique_ptr<TSkinControl>> objects_;  // in the order they came
  std::unordered_set<const TSkinControl*> members_;
  std::unordered_map<const ui::Control*, TSkinControl*> by_control_;
  TSkinControl* hot_ = nullptr;
  // Hidden controls whose windows are not made yet, in the walk's order.
  std::vector<std::pair<ui::WinControl*, ui::Control*>> put_off_;  // container, control
};

}  // namespace corvane::skin::win32

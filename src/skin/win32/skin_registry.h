// Every window the skin engine subclasses, in one table from the window to
// the object that answers for it (a form, a control, an MDI client, a popup
// menu), with one window procedure that looks the object up and hands it
// the message. UI thread only.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "skin/win32/skin_owners.h"

namespace corvane::skin::win32 {

class SkinnedWindow {
 public:
  enum class Kind { kForm, kControl, kMdiClient, kPopupMenu };

  explicit SkinnedWindow(Kind kind) : kind_(kind) {}
  virtual ~SkinnedWindow();
  SkinnedWindow(const SkinnedWindow&) = delete;
  SkinnedWindow& operator=(const SkinnedWindow&) = delete;

  Kind WindowKind() const { return kind_; }
  // A handler of the object is on the stack.
  bool InCall() const { return depth_ > 0; }
  // Released by its owner while a handler runs: the object frees itself
  // when the outermost handler returns.
  virtual void FreeWhenIdle() { doomed_ = true; }

  // Runs f as a handler of self: self is not freed under it, and is freed
  // afterwards when it was let go meanwhile.
  template <class F>
  static void Enter(SkinnedWindow* self, F&& f) {
    ++self->depth_;
    f();
    if (--self->depth_ == 0 && self->doomed_) delete self;
  }

  // The procedure every skinned window has.
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp);

 protected:
  // A message of the subclassed window.
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;

  // Replaces the window's procedure by Proc and enters the window in the
  // table; false when the window could not be subclassed.
  bool Subclass(HWND window);
  // Leaves the table and gives the window its procedure back (or stays in
  // its chain as an orphan when someone subclassed over it).
  void Unsubclass();
  // At WM_NCDESTROY: no message follows, nothing is put back.
  void DropSubclass();
  bool Subclassed() const { return subclass_ && subclass_->Installed(); }
  // The procedure the window had before.
  WNDPROC OwnProc() const { return subclass_ ? subclass_->Own() : nullptr; }
  LRESULT CallOwnProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) const;

 private:
  Kind kind_;
  std::unique_ptr<WindowSubclass> subclass_;
  int depth_ = 0;
  bool doomed_ = false;
};

// Lets go of an object that may be inside one of its handlers: freed now,
// or when that handler returns.
template <class T>
void ReleaseWhenIdle(std::unique_ptr<T>& object) {
  if (!object) return;
  if (object->InCall()) {
    object->FreeWhenIdle();
    (void)object.release();
  } else {
    object.reset();
  }
}

// The table. A window is in it from Subclass to Unsubclass or DropSubclass.
class SkinRegistry {
 public:
  static SkinnedWindow* Find(HWND window);
  // The object of that kind answering for the window, or null.
  template <class T>
  static T* FindAs(HWND window, SkinnedWindow::Kind kind) {
    SkinnedWindow* w = Find(window);
    return w && w->WindowKind() == kind ? static_cast<T*>(w) : nullptr;
  }
  static std::size_t Count();

 private:
  friend class SkinnedWindow;
  static void Add(HWND window, SkinnedWindow* object);
  static void Remove(HWND window, const SkinnedWindow* object);
};

}  // namespace corvane::skin::win32

#include "skin/win32/skin_registry.h"

namespace corvane::skin::win32 {

namespace {
std::unordered_map<HWND, SkinnedWindow*>& Table() {
  static std::unordered_map<HWND, SkinnedWindow*> table;
  return table;
}
}  // namespace

SkinnedWindow* SkinRegistry::Find(HWND window) {
  const auto& t = Table();
  const auto it = t.find(window);
  return it == t.end() ? nullptr : it->second;
}

std::size_t SkinRegistry::Count() { return Table().size(); }

void SkinRegistry::Add(HWND window, SkinnedWindow* object) { Table()[window] = object; }

void SkinRegistry::Remove(HWND window, const SkinnedWindow* object) {
  auto& t = Table();
  const auto it = t.find(window);
  if (it != t.end() && it->second == object) t.erase(it);
}

SkinnedWindow::~SkinnedWindow() { Unsubclass(); }

LRESULT CALLBACK SkinnedWindow::Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  SkinnedWindow* self = SkinRegistry::Find(window);
  if (!self) {
    // Ours once, under someone else's subclassing: pass everything on.
    LRESULT r = 0;
    if (WindowSubclass::CallOrphan(window, msg, wp, lp, &r)) return r;
    return DefWindowProcA(window, msg, wp, lp);
  }
  LRESULT r = 0;
  Enter(self, [&] { r = self->OnMessage(msg, wp, lp); });
  return r;
}

bool SkinnedWindow::Subclass(HWND window) {
  if (Subclassed()) return true;
  subclass_ = std::make_unique<WindowSubclass>(window, &SkinnedWindow::Proc);
  if (!subclass_->Installed()) {
    subclass_.reset();
    return false;
  }
  SkinRegistry::Add(window, this);
  return true;
}

void SkinnedWindow::Unsubclass() {
  if (!subclass_) return;
  if (subclass_->Window()) SkinRegistry::Remove(subclass_->Window(), this);
  subclass_.reset();
}

void SkinnedWindow::DropSubclass() {
  if (!subclass_) return;
  if (subclass_->Window()) SkinRegistry::Remove(subclass_->Window(), this);
  subclass_->Drop();
  subclass_.reset();
}

LRESULT SkinnedWindow::CallOwnProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) const {
  if (subclass_ && subclass_->Installed()) return subclass_->CallOwn(msg, wp, lp);
  return DefWindowProcA(window, msg, wp, lp);
}

}  // namespace corvane::skin::win32

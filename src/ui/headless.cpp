#include "ui/headless.h"

#include "ui/components.h"
#include "ui/control.h"

namespace corvane::ui {

class HeadlessBackend::Peer : public WindowPeer {
 public:
  Peer(HeadlessBackend& owner, WinControl& control)
      : owner_(owner), control_(control), handle_(0x1000 + 4 * ++owner.windows_made_) {
    ++owner_.live_windows_;
  }
  ~Peer() override { --owner_.live_windows_; }
  WindowHandle Handle() const override { return handle_; }
  void Sync(Aspect a) override { owner_.syncs_.emplace(control_.Name(), a); }
  void Invalidate(const Rect&) override {}
  void SetFocus() override {}
  Point ClientToScreen(Point p) const override { return p; }
  std::string WindowText() const override { return control_.Caption(); }
  void DefaultHandler(Message&) override {}

 private:
  HeadlessBackend& owner_;
  WinControl& control_;
  WindowHandle handle_;
};

std::unique_ptr<WindowPeer> HeadlessBackend::CreateWindowPeer(WinControl& control) {
  if (!record_windows_) return nullptr;
  return std::make_unique<Peer>(*this, control);
}

void HeadlessBackend::ShowOwnerWindow(bool show) {
  owner_visible_ = show;
  owner_shows_.push_back(show);
}

bool HeadlessBackend::HandleMessage() {
  if (queue_.empty() || quit_) return false;
  auto task = std::move(queue_.front());
  queue_.pop_front();
  task();
  return true;
}

void HeadlessBackend::ProcessMessages() {
  while (!queue_.empty() && !quit_) HandleMessage();
}

void HeadlessBackend::EnableOtherWindows(Form& modal, bool enable) {
  modal_log_.emplace_back(&modal, enable);
}

MenuItem* HeadlessBackend::TrackPopup(PopupMenu& menu, Point screen) {
  popups_.push_back({&menu, screen});
  return choose_menu_item ? choose_menu_item(menu) : nullptr;
}

bool HeadlessBackend::ExecuteOpenDialog(OpenDialog& dialog) {
  return answer_open_dialog && answer_open_dialog(dialog);
}

bool HeadlessBackend::BrowseForFolder(Form& owner, const std::string& title, unsigned flags,
                                      std::string* path) {
  folder_browses_.push_back({&owner, title, flags});
  std::optional<std::string> chosen =
      answer_browse_folder ? answer_browse_folder() : std::optional<std::string>();
  if (!chosen) return false;
  *path = *chosen;
  return true;
}

std::vector<Aspect> HeadlessBackend::SyncsOf(const std::string& name) const {
  std::vector<Aspect> out;
  auto range = syncs_.equal_range(name);
  for (auto it = range.first; it != range.second; ++it) out.push_back(it->second);
  return out;
}

}  // namespace corvane::ui

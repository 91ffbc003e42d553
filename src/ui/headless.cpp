#include "ui/headless.h"

#include <algorithm>

#include "core/text.h"
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
  void StackBelow(const WindowPeer*) override { owner_.syncs_.emplace(control_.Name(), Aspect::kZOrder); }
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

class HeadlessBackend::Watch : public FolderWatch {
 public:
  Watch(HeadlessBackend& owner, std::string folder, std::function<void()> changed)
      : owner_(owner), folder_(std::move(folder)), changed_(std::move(changed)) {
    owner_.watches_.push_back(this);
  }
  ~Watch() override {
    auto& w = owner_.watches_;
    w.erase(std::remove(w.begin(), w.end(), this), w.end());
  }
  const std::string& folder() const { return folder_; }
  void Changed() { changed_(); }

 private:
  HeadlessBackend& owner_;
  std::string folder_;
  std::function<void()> changed_;
};

std::unique_ptr<FolderWatch> HeadlessBackend::WatchFolder(const std::string& folder,
                                                          std::function<void()> changed) {
  return std::make_unique<Watch>(*this, folder, std::move(changed));
}

void HeadlessBackend::FolderChanged(const std::string& folder) {
  for (Watch* w : std::vector<Watch*>(watches_)) {
    bool still_there = std::find(watches_.begin(), watches_.end(), w) != watches_.end();
    if (still_there && text::SameText(w->folder(), folder)) w->Changed();
  }
}

std::vector<std::string> HeadlessBackend::watched_folders() const {
  std::vector<std::string> out;
  for (const Watch* w : watches_) out.push_back(w->folder());
  return out;
}

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

#include "ui/components.h"

#include <algorithm>
#include <cctype>

#include "core/text.h"
#include "ui/application.h"
#include "ui/events.h"

namespace corvane::ui {

Timer::Timer(Component* owner) : Component(owner) { Update(); }

Timer::~Timer() = default;

void Timer::SetEnabled(bool e) {
  if (e == enabled_) return;
  enabled_ = e;
  Update();
}

void Timer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Update();
}

void Timer::SetPaused(bool p) {
  if (p == paused_) return;
  paused_ = p;
  Update();
}

void Timer::Update() {
  if (!peer_) {
    Application* app = Application::Current();
    if (!app) return;
    peer_ = app->GetBackend().CreateTimerPeer(*this);
    if (!peer_) return;
  }
  peer_->Sync();
}

void Timer::Tick() {
  if (Running()) Fire(OnTimer, *this);
}

char MenuItem::HotKey() const {
  for (std::size_t i = 0; i < caption_.size(); i += text::CharLength(caption_, i)) {
    if (caption_[i] != '&' || i + 1 >= caption_.size()) continue;
    if (caption_[i + 1] == '&') {
      ++i;  // "&&" is a literal ampersand
      continue;
    }
    if (text::CharLength(caption_, i + 1) != 1) return 0;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(caption_[i + 1])));
  }
  return 0;
}

void MenuItem::Click() {
  if (enabled_) Fire(OnClick, *this);
}

MenuItem* PopupMenu::Add(std::string name, std::string caption,
                         std::function<void(MenuItem&)> on_click) {
  return Insert(items_.size(), std::move(name), std::move(caption), std::move(on_click));
}

MenuItem* PopupMenu::Insert(std::size_t index, std::string name, std::string caption,
                            std::function<void(MenuItem&)> on_click) {
  MenuItem* item = Create<MenuItem>(std::move(name));
  item->SetCaption(std::move(caption));
  item->OnClick = std::move(on_click);
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(std::min(index, items_.size())), item);
  return item;
}

MenuItem* PopupMenu::ItemForHotKey(char c) const {
  char want = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (MenuItem* item : items_)
    if (item->Visible() && item->Enabled() && want != 0 && item->HotKey() == want) return item;
  return nullptr;
}

void PopupMenu::Popup(Point screen) {
  Application* app = Application::Current();
  if (!app) return;
  if (MenuItem* chosen = app->GetBackend().TrackPopup(*this, screen)) chosen->Click();
}

void ImageList::SetSize(int width, int height) {
  width_ = width;
  height_ = height;
  Clear();
}

int ImageList::Add(Picture p) {
  images_.push_back(std::move(p));
  ++revision_;
  return Count() - 1;
}

const Picture& ImageList::Get(int index) const {
  static const Picture kNone;
  return index >= 0 && index < Count() ? images_[static_cast<std::size_t>(index)] : kNone;
}

void ImageList::Clear() {
  images_.clear();
  ++revision_;
}

bool OpenDialog::Execute() {
  Application* app = Application::Current();
  return app && app->GetBackend().ExecuteOpenDialog(*this);
}

ApplicationEvents::ApplicationEvents(Component* owner) : Component(owner) {
  if (Application* app = Application::Current()) app->AddEvents(this);
}

ApplicationEvents::~ApplicationEvents() {
  if (Application* app = Application::Current()) app->RemoveEvents(this);
}

}  // namespace corvane::ui

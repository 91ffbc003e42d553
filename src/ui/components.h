// The non-visual components: timers, popup menus, image lists, the file
// dialog and the application's message filter.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/component.h"
#include "ui/graphics.h"
#include "ui/messages.h"

namespace corvane::ui {

// A window timer; ticks only while enabled with a non-zero interval.
class Timer : public Component {
 public:
  explicit Timer(Component* owner);
  ~Timer() override;
  std::string ClassName() const override { return "TTimer"; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  // A paused timer keeps its enabled state but does not tick: for ticks that
  // would find nothing to do, such as while their window is off the screen.
  bool Paused() const { return paused_; }
  void SetPaused(bool p);
  // Whether the system's timer runs.
  bool Running() const { return enabled_ && !paused_ && interval_ != 0; }
  // What the system's tick calls.
  void Tick();

  std::function<void(Timer&)> OnTimer;

 private:
  void Update();
  bool enabled_ = true;
  bool paused_ = false;
  unsigned interval_ = 1000;
  std::unique_ptr<TimerPeer> peer_;
};

class MenuItem : public Component {
 public:
  explicit MenuItem(Component* owner) : Component(owner) {}
  std::string ClassName() const override { return "TMenuItem"; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string c) { caption_ = std::move(c); }
  bool IsSeparator() const { return caption_ == "-"; }
  // The upper-case letter after '&' ("退出程序(&X)" -> 'X'), or 0.
  char HotKey() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e) { enabled_ = e; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  bool Default() const { return default_; }
  void SetDefault(bool d) { default_ = d; }

  void Click();
  std::function<void(MenuItem&)> OnClick;

 private:
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
  bool default_ = false;
};

class PopupMenu : public Component {
 public:
  explicit PopupMenu(Component* owner) : Component(owner) {}
  std::string ClassName() const override { return "TPopupMenu"; }

  MenuItem* Add(std::string name, std::string caption,
                std::function<void(MenuItem&)> on_click = nullptr);
  // The same, placed before the item at index (at the end past the last).
  MenuItem* Insert(std::size_t index, std::string name, std::string caption,
                   std::function<void(MenuItem&)> on_click = nullptr);
  const std::vector<MenuItem*>& Items() const { return items_; }
  // The visible, enabled item whose hot key is c (case-insensitive).
  MenuItem* ItemForHotKey(char c) const;
  // Shows the menu at a screen point and runs the chosen item.
  void Popup(Point screen);

 private:
  std::vector<MenuItem*> items_;
};

// Images of one size, by index.
class ImageList : public Component {
 public:
  explicit ImageList(Component* owner) : Component(owner) {}
  std::string ClassName() const override { return "TImageList"; }

  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetSize(int width, int height);
  int Add(Picture p);
  int Count() const { return static_cast<int>(images_.size()); }
  const Picture& Get(int index) const;
  void Clear();
  // Goes up on every change, so a view can tell it must reload.
  unsigned Revision() const { return revision_; }

 private:
  int width_ = 16;
  int height_ = 16;
  std::vector<Picture> images_;
  unsigned revision_ = 0;
};

class OpenDialog : public Component {
 public:
  explicit OpenDialog(Component* owner) : Component(owner) {}
  std::string ClassName() const override { return "TOpenDialog"; }

  // "description|pattern|description|pattern..."
  const std::string& Filter() const { return filter_; }
  void SetFilter(std::string f) { filter_ = std::move(f); }
  const std::string& InitialDir() const { return initial_dir_; }
  void SetInitialDir(std::string d) { initial_dir_ = std::move(d); }
  const std::string& FileName() const { return file_name_; }
  void SetFileName(std::string f) { file_name_ = std::move(f); }
  const std::string& Title() const { return title_; }
  void SetTitle(std::string t) { title_ = std::move(t); }

  // Modal; true with FileName set when the user chose a file.
  bool Execute();

 private:
  std::string filter_, initial_dir_, file_name_, title_;
};

class OpenPictureDialog : public OpenDialog {
 public:
  using OpenDialog::OpenDialog;
  std::string ClassName() const override { return "TOpenPictureDialog"; }
};

// Sees every message the application takes from its queue before it is
// dispatched; setting handled keeps it from being dispatched.
class ApplicationEvents : public Component {
 public:
  explicit ApplicationEvents(Component* owner);
  ~ApplicationEvents() override;
  std::string ClassName() const override { return "TApplicationEvents"; }

  std::function<void(Message& m, bool& handled)> OnMessage;
};

}  // namespace corvane::ui

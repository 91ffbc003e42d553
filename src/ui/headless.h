// The control library without windows: records what the program asked of
// the system and answers from what the test set up.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/backend.h"

namespace corvane::ui {

class HeadlessBackend : public Backend {
 public:
  // With record_windows, every windowed control gets a stand-in window with
  // a made-up handle that logs what it is told.
  explicit HeadlessBackend(bool record_windows = false) : record_windows_(record_windows) {}

  std::unique_ptr<WindowPeer> CreateWindowPeer(WinControl& control) override;
  std::unique_ptr<TimerPeer> CreateTimerPeer(Timer&) override { return nullptr; }
  std::unique_ptr<FolderWatch> WatchFolder(const std::string& folder,
                                           std::function<void()> changed) override;
  void TitleChanged(const std::string& title) override { title_ = title; }
  WindowHandle OwnerWindow() const override { return kOwnerWindow; }
  void ShowOwnerWindow(bool show) override;
  void Minimize() override { ++minimized_; }
  bool HandleMessage() override;
  void ProcessMessages() override;
  void Quit() override { quit_ = true; }
  Point CursorPos() override { return cursor_; }
  void SetForeground(Form& form) override { foreground_.push_back(&form); }
  void EnableOtherWindows(Form& modal, bool enable) override;
  MenuItem* TrackPopup(PopupMenu& menu, Point screen) override;
  void ShowHint(const std::string& text, Point) override { hint_ = text; }
  void HideHint() override { hint_.clear(); }
  bool ExecuteOpenDialog(OpenDialog& dialog) override;
  bool BrowseForFolder(Form& owner, const std::string& title, unsigned flags,
                       std::string* path) override;
  std::uintptr_t ApplicationIcon() override { return kApplicationIcon; }

  static constexpr WindowHandle kOwnerWindow = 0xA990;
  static constexpr std::uintptr_t kApplicationIcon = 0x1C0;

  // What the message loop will find, in order: each call of HandleMessage
  // runs one. With nothing queued the loop ends.
  void Post(std::function<void()> task) { queue_.push_back(std::move(task)); }

  // A change in a folder reaches the watches on it, as the loop hands it on.
  void FolderChanged(const std::string& folder);
  // The folders watched now, in the order the watches began.
  std::vector<std::string> watched_folders() const;

  // Scripted answers.
  void SetCursorPos(Point p) { cursor_ = p; }
  std::function<MenuItem*(PopupMenu&)> choose_menu_item;
  std::function<bool(OpenDialog&)> answer_open_dialog;
  // The chosen folder, or nullopt for a cancelled picker.
  std::function<std::optional<std::string>()> answer_browse_folder;

  // What was asked.
  struct PopupShown {
    PopupMenu* menu;
    Point at;
  };
  const std::string& title() const { return title_; }
  bool owner_visible() const { return owner_visible_; }
  const std::vector<bool>& owner_shows() const { return owner_shows_; }
  int minimized() const { return minimized_; }
  bool quit() const { return quit_; }
  const std::vector<Form*>& foreground() const { return foreground_; }
  const std::vector<PopupShown>& popups() const { return popups_; }
  const std::string& hint() const { return hint_; }
  struct FolderBrowse {
    Form* owner;
    std::string title;
    unsigned flags;
  };
  const std::vector<FolderBrowse>& folder_browses() const { return folder_browses_; }
  // Modal forms hold other windows off: (form, enabled again) in order.
  const std::vector<std::pair<Form*, bool>>& modal_log() const { return modal_log_; }

  // With record_windows: the windows that exist, and what each was told.
  int live_windows() const { return live_windows_; }
  int windows_made() const { return windows_made_; }
  std::vector<Aspect> SyncsOf(const std::string& name) const;
  void ClearSyncs() { syncs_.clear(); }

 private:
  class Peer;
  class Watch;
  std::vector<Watch*> watches_;
  bool record_windows_;
  std::string title_;
  bool owner_visible_ = false;
  std::vector<bool> owner_shows_;
  int minimized_ = 0;
  bool quit_ = false;
  Point cursor_;
  std::deque<std::function<void()>> queue_;
  std::vector<Form*> foreground_;
  std::vector<PopupShown> popups_;
  std::string hint_;
  std::vector<FolderBrowse> folder_browses_;
  std::vector<std::pair<Form*, bool>> modal_log_;
  int live_windows_ = 0;
  int windows_made_ = 0;
  std::multimap<std::string, Aspect> syncs_;
};

}  // namespace corvane::ui

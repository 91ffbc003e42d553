// The control library on real windows: the application's hidden owner
// window, the message loop, timers, menus, hints, dialogs, and the caches of
// fonts, brushes and pictures every window draws with.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "ui/backend.h"
#include "ui/graphics.h"
#include "ui/win32/gdi.h"
#include "ui/win32/win32_canvas.h"

namespace corvane::ui {
class Application;
}

namespace corvane::ui::win32 {

COLORREF ToColorRef(Color c);

class Win32Backend : public Backend {
 public:
  explicit Win32Backend(HINSTANCE instance);
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  // The application whose loop this is; set once it exists.
  void Attach(Application* app) { app_ = app; }

  std::unique_ptr<WindowPeer> CreateWindowPeer(WinControl& control) override;
  std::unique_ptr<TimerPeer> CreateTimerPeer(Timer& timer) override;
  std::unique_ptr<FolderWatch> WatchFolder(const std::string& folder,
                                           std::function<void()> changed) override;
  void TitleChanged(const std::string& title) override;
  WindowHandle OwnerWindow() const override;
  void ShowOwnerWindow(bool show) override;
  void Minimize() override;
  bool HandleMessage() override;
  void ProcessMessages() override;
  void Quit() override { PostQuitMessage(0); }
  Point CursorPos() override;
  void SetForeground(Form& form) override;
  void EnableOtherWindows(Form& modal, bool enable) override;
  MenuItem* TrackPopup(PopupMenu& menu, Point screen) override;
  void ShowHint(const std::string& text, Point screen) override;
  void HideHint() override;
  bool ExecuteOpenDialog(OpenDialog& dialog) override;
  bool BrowseForFolder(Form& owner, const std::string& title, unsigned flags,
                       std::string* path) override;
  std::uintptr_t ApplicationIcon() override;

  HINSTANCE Instance() const { return instance_; }
  HFONT FontFor(const Font& f);
  HBRUSH BrushFor(Color c);
  // Loaded on first use; null when the picture cannot be loaded.
  HANDLE PictureFor(const Picture& p, bool* is_icon);
  PaintSurfaces& Surfaces() { return surfaces_; }
  // Once no form shows, the paint surface's memory goes back.
  void FormHidden();
  // Registers a window class once; its base procedure (DefWindowProc or the
  // system class it builds on).
  WNDPROC RegisterClassFor(const std::string& name, const char* base_class, HICON icon,
                           WNDPROC proc);

  // Timers tick through the owner window.
  void AddTimer(UINT_PTR id, Timer* t) { timers_[id] = t; }
  void RemoveTimer(UINT_PTR id);
  UINT_PTR NextId() { return ++next_id_; }

  // Folder watches hand their changes to this thread through the owner
  // window: the message carries the watch's id.
  static constexpr UINT kFolderChanged = WM_APP + 0x1C0;
  class WatchTarget {
   public:
    virtual ~WatchTarget() = default;
    virtual void Deliver() = 0;
  };
  void AddWatch(UINT_PTR id, WatchTarget* w) { watches_[id] = w; }
  void RemoveWatch(UINT_PTR id) { watches_.erase(id); }

 private:
  static LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l);
  LRESULT OwnerMessage(HWND h, UINT m, WPARAM w, LPARAM l);
  void Dispatch(MSG& msg);
  void RestoreFromMinimized();

  HINSTANCE instance_;
  Application* app_ = nullptr;
  OwnedWindow owner_;
  UINT taskbar_created_ = 0;
  std::map<UINT_PTR, Timer*> timers_;
  std::map<UINT_PTR, WatchTarget*> watches_;
  UINT_PTR next_id_ = 100;
  std::map<std::tuple<std::string, int, int, bool>, FontHandle> fonts_;
  std::map<Color, BrushHandle> brushes_;
  struct Loaded {
    HANDLE handle = nullptr;
    bool is_icon = false;
  };
  std::map<std::pair<int, std::string>, Loaded> pictures_;
  PaintSurfaces surfaces_;
  std::map<std::string, WNDPROC> classes_;
  std::vector<std::vector<HWND>> disabled_;  // one list per modal level
  OwnedWindow tooltip_;
  // The tooltip's own window procedure, under ours that makes it transparent.
  static WNDPROC tooltip_proc_;
  static Win32Backend* hint_backend_;
  static LRESULT CALLBACK HintProc(HWND h, UINT m, WPARAM w, LPARAM l);
  std::string hint_text_;
};

}  // namespace corvane::ui::win32

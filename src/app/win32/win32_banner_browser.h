// The banner's browser on Windows: the system's web-browser control in a
// small in-place container of our own, as a child window of the strip.
#pragma once
#include "strip/banner.h"

namespace corvane::app::win32 {

class Win32BannerBrowser : public strip::BannerBrowser {
 public:
  // check_engine false hosts the control even where the system has no HTML
  // engine, so that tests can see the container where no page can show.
  explicit Win32BannerBrowser(bool check_engine = true) : check_engine_(check_engine) {}
  ~Win32BannerBrowser() override;
  Win32BannerBrowser(const Win32BannerBrowser&) = delete;
  Win32BannerBrowser& operator=(const Win32BannerBrowser&) = delete;

  // False, with nothing left behind, when the system has no control or no
  // engine to show pages with.
  bool Create(ui::WinControl& parent, const ui::Rect& bounds) override;
  void Navigate(const std::string& address) override;
  void SetLeft(int left) override;
  int Left() const override;
  bool Contains(ui::WindowHandle window) const override;

  // The control's own window; 0 when there is none.
  ui::WindowHandle Window() const;
  // Stops the events, deactivates the control and lets it go; must run
  // before the parent window is destroyed. Safe to call again.
  void Close();
  // Containers not yet let go of by their controls, in this process.
  static int LiveSites();

 private:
  class Site;
  bool check_engine_;
  Site* site_ = nullptr;  // holds one reference while the control lives
};

}  // namespace corvane::app::win32

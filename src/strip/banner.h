// The banner strip's web-browser control, as the strip uses it: open a page
// without waiting, say when a document has completed with its body text,
// move the strip, and tell whether a window lies inside it.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "ui/control.h"

namespace corvane::strip {

class BannerBrowser {
 public:
  virtual ~BannerBrowser() = default;
  // Places the control on parent; false when the system cannot make one.
  virtual bool Create(ui::WinControl& parent, const ui::Rect& bounds) = 0;
  virtual void Navigate(const std::string& address) = 0;
  virtual void SetLeft(int left) = 0;
  virtual int Left() const = 0;
  // Whether window is the control's window or lies inside it.
  virtual bool Contains(ui::WindowHandle window) const = 0;
  // A document completed: its body's outer text, or nothing when it has no
  // HTML body.
  std::function<void(const std::optional<std::string>& body_text)> OnDocumentComplete;
};

// The page the program carries beside its executable, so that the strip
// never depends on the network.
inline constexpr char kBannerPage[] = "banner.htm";
// Body text that marks a page as failed: the strip gives way to the slogan
// and the clock line.
inline constexpr char kBannerFailedMark[] = "尝试";
inline constexpr int kBannerShownLeft = 6;
inline constexpr int kBannerHiddenLeft = 600;
// Where the browser goes on the strip's parent.
inline constexpr ui::Rect kWebBrowserBounds = ui::Rect::FromBounds(5, 366, 520, 16);

}  // namespace corvane::strip

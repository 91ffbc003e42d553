// The strip along the main window's foot and the switch under the picture:
// the banner page with its slogan and clock line fallback, the right-click
// filter over the banner, the working-set trimming and the autostart images.
#pragma once
#include <optional>
#include <string>

#include "core/power.h"
#include "core/registry.h"
#include "core/system.h"
#include "strip/banner.h"
#include "ui/application.h"
#include "ui/components.h"
#include "ui/connections.h"
#include "ui/form.h"
#include "ui/graphic_controls.h"
#include "ui/std_controls.h"

namespace corvane::strip {

// "星期天" ... "星期六", by day of the week (0 is Sunday); "" out of range.
const char* WeekdayName(int day_of_week);

struct StripServices {
  SystemServices& system;
  PowerServices& power;
  RegistryBackend& registry;
  // The banner's browser; none where the system has no such control.
  BannerBrowser* browser = nullptr;
};

// The controls and timers of the main window that the strip takes over.
struct StripView {
  ui::Form& window;            // hidden, the trimming stops after one trim
  ui::Panel& browser_parent;   // PnlMain
  ui::Label& slogan;           // LblGg1
  ui::Label& clock;            // LblGg2
  ui::Image& autostart_off;    // ImgChkNo
  ui::Image& autostart_on;     // ImgChkYes
  ui::Timer& trim;             // TimerClear
  ui::Timer& clock_tick;       // TimerGetTime
  ui::ApplicationEvents& events;  // ApplicationEvents, for the right-click filter
};

class Strip {
 public:
  Strip(ui::Application& app, StripServices services, const StripView& view);
  ~Strip();
  Strip(const Strip&) = delete;
  Strip& operator=(const Strip&) = delete;

  // Creation step 1: the browser opens the carried page, or the slogan and
  // clock line show where there is no browser.
  void RequestBanner();
  // Showing step 4: the switch shows what the registry says.
  void ReadAutostart();
  // Whether the banner strip has given way to the slogan and clock line.
  bool BannerFailed() const { return view_.slogan.Visible(); }

  // Handlers.
  void TimerClearTimer();
  void TimerGetTimeTimer();
  void WebBrowserDocumentComplete(const std::optional<std::string>& body_text);
  void ApplicationEventsMessage(ui::Message& m, bool& handled);
  void ImgChkNoClick();
  void ImgChkYesClick();

 private:
  void ShowBannerFallback(bool failed);
  void ShowAutostart(bool on);

  ui::Application& app_;
  StripServices services_;
  StripView view_;
  bool browser_made_ = false;
  // Last, so that the wiring goes before what the handlers use.
  ui::Connections wiring_;
};

}  // namespace corvane::strip

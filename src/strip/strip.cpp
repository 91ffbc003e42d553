#include "strip/strip.h"

#include "core/product.h"
#include "core/program_paths.h"
#include "core/registry_accessor.h"

namespace corvane::strip {
namespace {

constexpr const char* kWeekdays[] = {"星期天", "星期一", "星期二", "星期三",
                                     "星期四", "星期五", "星期六"};
constexpr unsigned kRButtonDown = 0x0204, kRButtonUp = 0x0205, kRButtonDblClk = 0x0206;

}  // namespace

const char* WeekdayName(int day_of_week) {
  if (day_of_week < 0 || day_of_week > 6) return "";
  return kWeekdays[day_of_week];
}

Strip::Strip(ui::Application& app, StripServices services, const StripView& view)
    : app_(app), services_(services), view_(view) {
  wiring_.Connect(view.trim, view.trim.OnTimer, [this](ui::Timer&) { TimerClearTimer(); });
  wiring_.Connect(view.clock_tick, view.clock_tick.OnTimer,
                  [this](ui::Timer&) { TimerGetTimeTimer(); });
  wiring_.Connect(view.events, view.events.OnMessage,
                  [this](ui::Message& m, bool& handled) { ApplicationEventsMessage(m, handled); });
  wiring_.Connect(view.autostart_off, view.autostart_off.OnClick,
                  [this](ui::Control&) { ImgChkNoClick(); });
  wiring_.Connect(view.autostart_on, view.autostart_on.OnClick,
                  [this](ui::Control&) { ImgChkYesClick(); });
}

Strip::~Strip() {
  // The browser is no control of the window, so no connection watches it;
  // it outlives the strip and must not call into it afterwards.
  if (browser_made_) services_.browser->OnDocumentComplete = nullptr;
}

void Strip::TimerClearTimer() {
  // Hidden, one trim is enough until the window shows again.
  if (!view_.window.Visible()) view_.trim.SetPaused(true);
  if (services_.power.PlatformId() != std::optional<std::uint32_t>(power::kPlatformWindowsNt))
    return;
  services_.system.TrimWorkingSet();
  app_.ProcessMessages();
}

void Strip::TimerGetTimeTimer() {
  LocalTime now = services_.system.Now();
  view_.clock.SetCaption(std::string(WeekdayName(now.day_of_week)) + "     " +
                         services_.system.DateTimeText(now));
}

void Strip::RequestBanner() {
  BannerBrowser* b = services_.browser;
  browser_made_ = b && b->Create(view_.browser_parent, kWebBrowserBounds);
  if (!browser_made_) {
    // No control to show a page: as for a page that failed.
    ShowBannerFallback(true);
    return;
  }
  b->OnDocumentComplete = [this](const std::optional<std::string>& text) {
    WebBrowserDocumentComplete(text);
  };
  b->Navigate(services_.system.ExecutableFolder() + kBannerPage);
}

void Strip::WebBrowserDocumentComplete(const std::optional<std::string>& body_text) {
  // A document without an HTML body decides nothing.
  if (!body_text) return;
  ShowBannerFallback(body_text->find(kBannerFailedMark) != std::string::npos);
}

void Strip::ShowBannerFallback(bool failed) {
  if (browser_made_) services_.browser->SetLeft(failed ? kBannerHiddenLeft : kBannerShownLeft);
  view_.clock_tick.SetEnabled(failed);
  view_.slogan.SetVisible(failed);
  view_.clock.SetVisible(failed);
}

void Strip::ApplicationEventsMessage(ui::Message& m, bool& handled) {
  if (m.msg != kRButtonDown && m.msg != kRButtonUp && m.msg != kRButtonDblClk) return;
  if (browser_made_ && m.window && services_.browser->Contains(m.window)) handled = true;
}

void Strip::ShowAutostart(bool on) {
  view_.autostart_on.SetVisible(on);
  view_.autostart_off.SetVisible(!on);
}

void Strip::ReadAutostart() {
  // Read rights are enough to show the state, for a limited user too.
  RegistryAccessor reg(services_.registry, reg::kLocalMachine);
  if (reg.OpenKeyReadOnly(kRunKey)) ShowAutostart(reg.ValueExists(kRunValue));
}

void Strip::ImgChkNoClick() {
  ShowAutostart(true);
  RegistryAccessor reg(services_.registry, reg::kLocalMachine);
  bool written = false;
  try {
    if (reg.OpenKey(kRunKey, false)) {
      reg.WriteString(kRunValue, ProgramPath(services_.system));
      written = true;
    }
  } catch (const RegistryError&) {
  }
  if (written) return;
  // Refused: said, and the image shows the switch as it still is.
  app_.ShowMessageBox(kSoftwareError);
  ShowAutostart(false);
}

void Strip::ImgChkYesClick() {
  ShowAutostart(false);
  RegistryAccessor reg(services_.registry, reg::kLocalMachine);
  if (reg.OpenKey(kRunKey, false) && (!reg.ValueExists(kRunValue) || reg.DeleteValue(kRunValue)))
    return;
  app_.ShowMessageBox(kSoftwareError);
  ShowAutostart(true);
  ReadAutostart();
}

}  // namespace corvane::strip

// The main window's strip and switch: working-set trimming, the banner with
// its slogan and clock line fallback, the right-click filter over the banner
// and the autostart images.
#include "app/frm_main.h"
#include "core/program_paths.h"
#include "core/registry_accessor.h"

namespace corvane::app {
namespace {

constexpr const char* kWeekdays[] = {"星期天", "星期一", "星期二", "星期三",
                                     "星期四", "星期五", "星期六"};
constexpr unsigned kRButtonDown = 0x0204, kRButtonUp = 0x0205, kRButtonDblClk = 0x0206;

}  // namespace

const char* WeekdayName(int day_of_week) {
  if (day_of_week < 0 || day_of_week > 6) return "";
  return kWeekdays[day_of_week];
}

void TFrmMain::TimerClearTimer() {
  // Hidden, one trim is enough until the window shows again.
  if (!Visible()) TimerClear->SetPaused(true);
  if (services_.power.PlatformId() != std::optional<std::uint32_t>(power::kPlatformWindowsNt))
    return;
  services_.system.TrimWorkingSet();
  app_.ProcessMessages();
}

void TFrmMain::TimerGetTimeTimer() {
  LocalTime now = services_.system.Now();
  LblGg2->SetCaption(std::string(WeekdayName(now.day_of_week)) + "     " +
                     services_.system.DateTimeText(now));
}

void TFrmMain::RequestBanner() {
  BannerBrowser* b = services_.browser;
  browser_made_ = b && b->Create(*PnlMain, kWebBrowserBounds);
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

void TFrmMain::WebBrowserDocumentComplete(const std::optional<std::string>& body_text) {
  // A document without an HTML body decides nothing.
  if (!body_text) return;
  ShowBannerFallback(body_text->find(kBannerFailedMark) != std::string::npos);
}

void TFrmMain::ShowBannerFallback(bool failed) {
  if (browser_made_) services_.browser->SetLeft(failed ? kBannerHiddenLeft : kBannerShownLeft);
  TimerGetTime->SetEnabled(failed);
  LblGg1->SetVisible(failed);
  LblGg2->SetVisible(failed);
}

void TFrmMain::ApplicationEventsMessage(ui::Message& m, bool& handled) {
  if (m.msg != kRButtonDown && m.msg != kRButtonUp && m.msg != kRButtonDblClk) return;
  if (browser_made_ && m.window && services_.browser->Contains(m.window)) handled = true;
}

void TFrmMain::ShowAutostart(bool on) {
  ImgChkYes->SetVisible(on);
  ImgChkNo->SetVisible(!on);
}

void TFrmMain::ReadAutostart() {
  // Read rights are enough to show the state, for a limited user too.
  RegistryAccessor reg(services_.registry, reg::kLocalMachine);
  if (reg.OpenKeyReadOnly(kRunKey)) ShowAutostart(reg.ValueExists(kRunValue));
}

void TFrmMain::ImgChkNoClick() {
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

void TFrmMain::ImgChkYesClick() {
  ShowAutostart(false);
  RegistryAccessor reg(services_.registry, reg::kLocalMachine);
  if (reg.OpenKey(kRunKey, false) && (!reg.ValueExists(kRunValue) || reg.DeleteValue(kRunValue)))
    return;
  app_.ShowMessageBox(kSoftwareError);
  ShowAutostart(true);
  ReadAutostart();
}

}  // namespace corvane::app

// Program entry: the real services and the window layer behind RunProgram.
#include <windows.h>

#include <objbase.h>

#include <memory>

#include "app/entry.h"
#include "app/program.h"
#include "app/win32/startup_phases.h"
#include "app/win32/win32_banner_browser.h"
#include "core/program_paths.h"
#include "core/watched_listings.h"
#include "platform/win32/win32_folder_changes.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_shell.h"
#include "skin/win32/skin_manage.h"
#include "ui/application.h"
#include "ui/win32/win32_backend.h"

namespace corvane {
namespace {

using app::win32::PhaseLog;

// The tray calls, timed for the start-up profile.
class TimedNotifyIcons : public NotifyIconService {
 public:
  TimedNotifyIcons(NotifyIconService& inner, PhaseLog& log) : inner_(inner), log_(log) {}
  bool Notify(std::uint32_t message, const NotifyIconRecord& record) override {
    bool ok = false;
    log_.Time("tray", [&] { ok = inner_.Notify(message, record); });
    return ok;
  }

 private:
  NotifyIconService& inner_;
  PhaseLog& log_;
};

PhaseLog* first_idle_log = nullptr;

// Runs once the queue is first empty after the window has shown and painted.
void CALLBACK FirstIdle(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (first_idle_log) first_idle_log->Record("first-idle", first_idle_log->Now());
}

class Win32ProgramHost : public ProgramHost {
 public:
  Win32ProgramHost(HINSTANCE instance, SystemServices& system, UserInteraction& user)
      : instance_(instance), system_(system), user_(user), phases_(PhaseLog::FromEnvironment()) {
    if (phases_) timed_icons_ = std::make_unique<TimedNotifyIcons>(icons_, *phases_);
  }
  ~Win32ProgramHost() override { ShutdownFramework(); }

  void InitializeFramework() override {
    if (phases_) return phases_->Time("framework", [this] { StartFramework(); });
    StartFramework();
  }
  void StartFramework() {
    com_ok_ = SUCCEEDED(OleInitialize(nullptr));
    backend_ = std::make_unique<ui::win32::Win32Backend>(instance_);
    app_ = std::make_unique<ui::Application>(*backend_, user_);
    backend_->Attach(app_.get());
  }
  // The second start's notice is skinned with the same skin.
  void PrepareNotices() override {
    notice_skin_ = std::make_unique<skin::TSkinData>();
    notice_skin_->Active = true;
    LoadSkin(*notice_skin_);
  }
  void SetTitle(const std::string& title) override { app_->SetTitle(title); }
  void CreateMainWindow() override {
    if (phases_) return phases_->Time("main-window", [this] { MakeMainWindow(); });
    MakeMainWindow();
  }
  void MakeMainWindow() {
    StartMenuPaths menu = StartMenuPathsFor(DriveRoot(system_), CurrentUserName(system_));
    category_files_.SetFolders({menu.common_start_menu, menu.common_programs,
                                menu.user_start_menu, menu.user_programs});
    NotifyIconService& icons =
        timed_icons_ ? static_cast<NotifyIconService&>(*timed_icons_) : icons_;
    program_ = std::make_unique<app::MainProgram>(
        *app_, app::MainServices{system_, icons, power_, registry_, &banner_},
        categories::CategoryServices{category_files_, profile_, system_, shell_folders_, icon_files_},
        setup::InstallServices{registry_, system_, files_, links_});
    app::TFrmMain::Steps& steps = program_->StartSteps();
    steps.load_skin = [this](app::TFrmMain& f) { LoadSkin(f.SkinData); };
    if (phases_) TimeSteps(steps);
    // The detection tick counts the Start-menu folders afresh only where a
    // change notification fired since it last listed them.
    ui::Timer& detect = *program_->Form().TimerDetect;
    if (auto tick = detect.OnTimer) {
      detect.OnTimer = [this, tick](ui::Timer& t) {
        WatchedListings::Scope scope(category_files_);
        if (phases_) return phases_->Time("detect-tick", [&] { tick(t); });
        tick(t);
      };
    }
    program_->Start();
  }
  void TimeSteps(app::TFrmMain::Steps& s) {
    s.load_skin = phases_->Wrap("skin-load-attach", std::move(s.load_skin));
    s.request_banner = phases_->Wrap("banner-browser", std::move(s.request_banner));
    s.clear_deleted_categories =
        phases_->Wrap("clear-deleted-categories", std::move(s.clear_deleted_categories));
    s.derive_paths = phases_->Wrap("derive-paths", std::move(s.derive_paths));
    s.category_startup = phases_->Wrap("category-startup", std::move(s.category_startup));
    s.version_check = phases_->Wrap("first-run-check", std::move(s.version_check));
    s.expand_tree = phases_->Wrap("show-expand-tree", std::move(s.expand_tree));
    s.refresh_program_list = phases_->Wrap("show-program-list", std::move(s.refresh_program_list));
    s.read_autostart = phases_->Wrap("show-autostart", std::move(s.read_autostart));
  }
  void RunMessageLoop() override {
    if (phases_) {
      phases_->Record("message-loop", phases_->Now());
      first_idle_log = phases_.get();
      SetTimer(nullptr, 0, 0, FirstIdle);
    }
    app_->Run();
    first_idle_log = nullptr;
  }
  void ShutdownFramework() override {
    banner_.Close();  // the control goes before the window it lives in
    // The hook goes and every skinned window gets its own frame back while
    // the windows and the skin are still there.
    skin::win32::TSkinManage::Destroy();
    program_.reset();  // removes the tray icon and ends the program list's watch
    app_.reset();
    backend_.reset();
    if (com_ok_) OleUninitialize();
    com_ok_ = false;
  }
  // The form's stored skin stream is the SKINSTREAM resource; once it is
  // read, the skin's end of loading makes the manager and hooks the thread.
  void LoadSkin(skin::TSkinData& data) {
    data.OnMessage = [this](const std::string& text) {
      user_.ShowMessageBox(text, std::string(), mb::kOk);
    };
    if (HRSRC res = FindResourceA(nullptr, "SKINSTREAM", MAKEINTRESOURCEA(10))) {  // RT_RCDATA
      HGLOBAL loaded = LoadResource(nullptr, res);
      if (const void* bytes = loaded ? LockResource(loaded) : nullptr)
        data.ReadSkinStream(skin::ByteSpan(static_cast<const std::uint8_t*>(bytes),
                                           SizeofResource(nullptr, res)));
    }
    skin::win32::TSkinManage::Create(app_.get()).SkinLoaded(&data);
  }
  // Message boxes are owned by the application's window once it exists.
  void* OwnerWindow() const {
    return backend_ ? reinterpret_cast<void*>(backend_->OwnerWindow()) : nullptr;
  }

 private:
  HINSTANCE instance_;
  SystemServices& system_;
  UserInteraction& user_;
  Win32NotifyIcons icons_;
  Win32Power power_;
  Win32Registry registry_;
  Win32FileSystem files_;
  Win32FolderChanges folder_changes_;
  WatchedListings category_files_{files_, folder_changes_};
  Win32ProfileStore profile_;
  Win32ShellFolders shell_folders_;
  Win32IconFiles icon_files_;
  Win32ShellLinks links_;
  app::win32::Win32BannerBrowser banner_;
  std::unique_ptr<skin::TSkinData> notice_skin_;
  std::unique_ptr<ui::win32::Win32Backend> backend_;
  std::unique_ptr<ui::Application> app_;
  std::unique_ptr<app::MainProgram> program_;
  bool com_ok_ = false;
  std::unique_ptr<PhaseLog> phases_;
  std::unique_ptr<TimedNotifyIcons> timed_icons_;
};

}  // namespace
}  // namespace corvane

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  corvane::UseSystemLeadByteRule();
  corvane::Win32System system;
  corvane::Win32ProgramHost* host_ptr = nullptr;
  corvane::Win32UserInteraction user(
      [&host_ptr]() { return host_ptr ? host_ptr->OwnerWindow() : nullptr; });
  corvane::Win32ProgramHost host(instance, system, user);
  host_ptr = &host;
  return corvane::RunProgram(system, user, host);
}

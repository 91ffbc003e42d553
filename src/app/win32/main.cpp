// Program entry: the real services and the window layer behind RunProgram.
#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <memory>

#include "app/entry.h"
#include "app/program.h"
#include "app/win32/startup_phases.h"
#include "app/win32/win32_banner_browser.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/watched_listings.h"
#include "journal/frm_undo.h"
#include "categories/category_store.h"
#include "journal/journalled_filesystem.h"
#include "journal/journalled_profile.h"
#include "journal/journalled_registry.h"
#include "journal/uninstall.h"
#include "journal/undo.h"
#include "journal/user_actions.h"
#include "setup/removal.h"
#include "platform/win32/win32_folder_changes.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_shell.h"
#include "skin/win32/skin_manage.h"
#include "ui/application.h"
#include "ui/win32/win32_backend.h"

namespace corvane {
namespace {

// classify.ini's category definitions are journalled; its [control] section
// is the detection's own bookkeeping.
bool KeptInJournal(const std::string& section) {
  return !text::SameText(section, categories::kSectionControl);
}

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

// Uninstalling takes back what the first run made, through the journal.
journal::RemoveOwnThings RemoveInstallationWith(setup::InstallServices s) {
  return [s](journal::UninstallReport& r) {
    setup::Removal removal = setup::RemoveInstallation(s);
    r.removed = std::move(removal.removed);
    r.stayed = std::move(removal.stayed);
  };
}

class Win32ProgramHost : public ProgramHost {
 public:
  Win32ProgramHost(HINSTANCE instance, SystemServices& system, UserInteraction& user)
      : phases_(PhaseLog::FromEnvironment()), instance_(instance), system_(system), user_(user) {
    if (phases_) timed_icons_ = std::make_unique<TimedNotifyIcons>(icons_, *phases_);
  }
  ~Win32ProgramHost() override { ShutdownFramework(); }

  void InitializeFramework() override {
    Timed("framework", [this] { StartFramework(); });
  }
  // A step of the start, timed when the profile asks for phases.
  template <class F>
  void Timed(const char* phase, F&& f) {
    if (phases_) return phases_->Time(phase, std::forward<F>(f));
    f();
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
    Timed("main-window", [this] { MakeMainWindow(); });
  }
  void MakeMainWindow() {
    // A change cut off by a crash or power cut is settled before anything
    // else looks at the folders or the registry.
    Timed("journal-recover", [this] {
      journal::Recover(files_, registry_, journal_, &profile_);
      journal_.FoldIfAbove();
    });
    StartMenuPaths menu = StartMenuPathsFor(DriveRoot(system_), CurrentUserName(system_));
    category_files_.SetFolders({menu.common_start_menu, menu.common_programs,
                                menu.user_start_menu, menu.user_programs});
    NotifyIconService& icons =
        timed_icons_ ? static_cast<NotifyIconService&>(*timed_icons_) : icons_;
    Timed("build-components", [&] {
      program_ = std::make_unique<app::MainProgram>(
          *app_, app::MainServices{system_, icons, power_, journalled_registry_, &banner_},
          categories::CategoryServices{category_files_, journalled_profile_, system_,
                                       shell_folders_, icon_files_},
          setup::InstallServices{journalled_registry_, system_, journalled_files_,
                                 journalled_links_});
    });
    app::TFrmMain::Steps& steps = program_->StartSteps();
    steps.category_startup = journal::InGroup(journal_, "启动时整理", std::move(steps.category_startup),
                                              journal::MergeDescription);
    steps.version_check = journal::InGroup(journal_, "首次运行", std::move(steps.version_check));
    steps.load_skin = [this](app::TFrmMain& f) { LoadSkin(f.SkinData); };
    if (phases_) TimeSteps(steps);
    GroupUserActions();
    // Between "打开窗口" and "关于", the tray menu's other items as they were.
    app::TFrmMain& form = program_->Form();
    auto& tray = form.PopMenuTp->Items();
    std::size_t at = std::find(tray.begin(), tray.end(), form.MenuShow) - tray.begin() + 1;
    form.PopMenuTp->Insert(at, "MenuUndo", journal::kUndoMenuCaption,
                           [this](ui::MenuItem&) { ShowUndoDialog(); });
    // The detection tick counts the Start-menu folders afresh only where a
    // change notification fired since it last listed them.
    ui::Timer& detect = *program_->Form().TimerDetect;
    if (auto tick = detect.OnTimer) {
      detect.OnTimer = [this, tick](ui::Timer& t) {
        WatchedListings::Scope scope(category_files_);
        Timed("detect-tick", [&] { tick(t); });
      };
    }
    program_->Start();
  }
  void ShowUndoDialog() {
    journal::TFrmUndo dialog(
        nullptr, {journalled_files_, journalled_registry_, system_, journal_,
                  RemoveInstallationWith({journalled_registry_, system_, journalled_files_,
                                          journalled_links_}),
                  &journalled_profile_});
    dialog.ShowModal();
  }
  // Every apply, drop and category operation is one group of the journal.
  void GroupUserActions() {
    app::TFrmMain& form = program_->Form();
    static constexpr std::pair<const char*, const char*> kApplies[] = {
        {"BitBtnUserOk", "用户名"},   {"BitBtnGdOk", "固定项目"}, {"BitBtnCyOk", "常用程序"},
        {"BitBtnWdOk", "我的项目"},   {"BitBtnMbOk", "设置项目"}, {"BitBtnBzOk", "帮助和搜索"},
        {"BitBtnOEMok", "OEM 链接"}};
    for (const auto& [name, area] : kApplies)
      if (auto* button = form.Find<ui::BitBtn>(name))
        button->OnClick = journal::InGroup(journal_, std::string("应用 「") + area + "」设置",
                                           std::move(button->OnClick));
    const std::pair<ui::MenuItem*, const char*> operations[] = {
        {form.MenuNew, "新建类别"}, {form.MenuDel, "删除类别"},
        {form.MenuChangeIcon, "更换类别图标"}};
    for (const auto& [item, what] : operations)
      item->OnClick = journal::InGroup(journal_, what, std::move(item->OnClick));
    ui::TreeView& tree = *form.TrVewFenlei;
    tree.OnEdited = journal::InGroup(journal_, "重命名类别", std::move(tree.OnEdited));
    tree.OnDragDrop =
        journal::InGroup(journal_, "拖放", std::move(tree.OnDragDrop), journal::DropDescription);
    form.TimerDetect->OnTimer =
        journal::InGroup(journal_, "整理新增项目", std::move(form.TimerDetect->OnTimer));
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
  // First, so that the time to main is only that: the members below are
  // made after it.
  std::unique_ptr<PhaseLog> phases_;
  HINSTANCE instance_;
  SystemServices& system_;
  UserInteraction& user_;
  Win32NotifyIcons icons_;
  Win32Power power_;
  Win32Registry registry_;
  Win32FileSystem files_;
  Win32FolderChanges folder_changes_;
  Win32ProfileStore profile_;
  Win32ShellFolders shell_folders_;
  Win32IconFiles icon_files_;
  Win32ShellLinks links_;
  // Everything the features change goes through the journal first.
  journal::Journal journal_{files_, system_.ExecutableFolder(),
                            [this] { return journal::TimeText(system_.Now()); }};
  journal::JournalledFileSystem journalled_files_{files_, journal_};
  journal::JournalledRegistry journalled_registry_{registry_, journal_};
  journal::JournalledShellLinks journalled_links_{links_, files_, journal_};
  journal::JournalledProfileStore journalled_profile_{profile_, journal_, KeptInJournal};
  WatchedListings category_files_{journalled_files_, folder_changes_};
  app::win32::Win32BannerBrowser banner_;
  std::unique_ptr<skin::TSkinData> notice_skin_;
  std::unique_ptr<ui::win32::Win32Backend> backend_;
  std::unique_ptr<ui::Application> app_;
  std::unique_ptr<app::MainProgram> program_;
  bool com_ok_ = false;
  std::unique_ptr<TimedNotifyIcons> timed_icons_;
};

// "Halvorn.exe /uninstall": everything restored, the program's own things
// removed, and the user told that the folder can go. Not while it runs.
int RunUninstall(SystemServices& system, UserInteraction& user) {
  if (!system.ClaimAtom(kInstanceAtom)) {
    user.ShowMessageBox(kAlreadyRunningText, kNoticeCaption, mb::kOk | mb::kIconExclamation);
    return 1;
  }
  bool com_ok = SUCCEEDED(CoInitialize(nullptr));
  Win32FileSystem plain_files;
  Win32Registry plain_registry;
  Win32ShellLinks plain_links;
  Win32ProfileStore plain_profile;
  std::string folder = system.ExecutableFolder();
  journal::Journal journal(plain_files, folder, [&] { return journal::TimeText(system.Now()); });
  journal::Recover(plain_files, plain_registry, journal, &plain_profile);
  journal::JournalledFileSystem files(plain_files, journal);
  journal::JournalledRegistry registry(plain_registry, journal);
  journal::JournalledShellLinks links(plain_links, plain_files, journal);
  journal::JournalledProfileStore profile(plain_profile, journal, KeptInJournal);
  journal::UninstallReport report = journal::Uninstall(
      {files, registry, system, journal, RemoveInstallationWith({registry, system, files, links}),
       &profile});
  user.ShowMessageBox(journal::UninstallMessage(report, folder), kNoticeCaption,
                      mb::kOk | mb::kIconExclamation);
  if (com_ok) CoUninitialize();
  if (std::uint16_t atom = system.FindAtom(kInstanceAtom)) system.DeleteAtom(atom);
  return report.restore.failed.empty() && report.stayed.empty() ? 0 : 2;
}

bool AskedToUninstall(const char* command_line) {
  return command_line && text::SameText(text::Trim(command_line), "/uninstall");
}

}  // namespace
}  // namespace corvane

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
  corvane::UseSystemLeadByteRule();
  corvane::Win32System system;
  corvane::Win32ProgramHost* host_ptr = nullptr;
  corvane::Win32UserInteraction user(
      [&host_ptr]() { return host_ptr ? host_ptr->OwnerWindow() : nullptr; });
  corvane::Win32ProgramHost host(instance, system, user);
  host_ptr = &host;
  if (corvane::AskedToUninstall(command_line)) {
    host.PrepareNotices();  // its messages skinned as the second start's notice is
    return corvane::RunUninstall(system, user);
  }
  return corvane::RunProgram(system, user, host);
}

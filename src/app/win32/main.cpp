// Program entry: the real services and the window layer behind RunProgram.
#include <windows.h>

#include <objbase.h>

#include <memory>

#include "app/entry.h"
#include "app/frm_main.h"
#include "app/win32/win32_banner_browser.h"
#include "categories/categorisation.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_shell.h"
#include "setup/installation.h"
#include "skin/win32/skin_manage.h"
#include "ui/application.h"
#include "ui/win32/win32_backend.h"

namespace corvane {
namespace {

class Win32ProgramHost : public ProgramHost {
 public:
  Win32ProgramHost(HINSTANCE instance, SystemServices& system, UserInteraction& user)
      : instance_(instance), system_(system), user_(user) {}
  ~Win32ProgramHost() override { ShutdownFramework(); }

  void InitializeFramework() override {
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
    categories_ = std::make_unique<categories::Categorisation>(
        *app_, categories::CategoryServices{files_, profile_, system_, shell_folders_, icon_files_});
    app::TFrmMain::Steps steps;
    categories_->FillSteps(steps);
    installation_ = std::make_unique<setup::Installation>(
        *app_, setup::InstallServices{registry_, system_, files_, links_});
    installation_->FillSteps(steps);
    steps.load_skin = [this](app::TFrmMain& f) { LoadSkin(f.SkinData); };
    main_ = std::make_unique<app::TFrmMain>(
        *app_, app::MainServices{system_, icons_, power_, registry_, &banner_}, std::move(steps));
  }
  void RunMessageLoop() override { app_->Run(); }
  void ShutdownFramework() override {
    banner_.Close();  // the control goes before the window it lives in
    // The hook goes and every skinned window gets its own frame back while
    // the windows and the skin are still there.
    skin::win32::TSkinManage::Destroy();
    main_.reset();  // removes the tray icon and ends the program list's watch
    categories_.reset();
    installation_.reset();
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
  Win32ProfileStore profile_;
  Win32ShellFolders shell_folders_;
  Win32IconFiles icon_files_;
  Win32ShellLinks links_;
  app::win32::Win32BannerBrowser banner_;
  std::unique_ptr<skin::TSkinData> notice_skin_;
  std::unique_ptr<categories::Categorisation> categories_;
  std::unique_ptr<setup::Installation> installation_;
  std::unique_ptr<ui::win32::Win32Backend> backend_;
  std::unique_ptr<ui::Application> app_;
  std::unique_ptr<app::TFrmMain> main_;
  bool com_ok_ = false;
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

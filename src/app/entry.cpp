#include "app/entry.h"

namespace corvane {

int RunProgram(SystemServices& system, UserInteraction& user, ProgramHost& host) {
  if (!system.ClaimAtom(kInstanceAtom)) {
    host.PrepareNotices();
    user.ShowMessageBox(kAlreadyRunningText, kNoticeCaption, mb::kOk | mb::kIconExclamation);
    return 0;
  }
  host.InitializeFramework();
  host.SetTitle(kApplicationTitle);
  host.CreateMainWindow();
  host.RunMessageLoop();
  if (std::uint16_t atom = system.FindAtom(kInstanceAtom)) system.DeleteAtom(atom);
  host.ShutdownFramework();
  return 0;
}

}  // namespace corvane

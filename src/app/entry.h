// The program's start-up sequence: one instance per log-on, then the
// framework, the main window and the message loop.
#pragma once
#include <string>

#include "core/system.h"

namespace corvane {

inline constexpr char kInstanceAtom[] = "Halvorn";
inline constexpr char kApplicationTitle[] = "Corvane 1.2";
inline constexpr char kAlreadyRunningText[] = "Corvane已经运行,要操作请先在桌面右下角退出！";
inline constexpr char kNoticeCaption[] = "提醒...";

// What the entry needs from the window layer.
class ProgramHost {
 public:
  virtual ~ProgramHost() = default;
  virtual void InitializeFramework() = 0;  // COM on this thread, the application object
  // Before the already-running notice: what it needs to look like the
  // program's other windows.
  virtual void PrepareNotices() {}
  virtual void SetTitle(const std::string& title) = 0;
  virtual void CreateMainWindow() = 0;
  // Until the application is told to terminate.
  virtual void RunMessageLoop() = 0;
  virtual void ShutdownFramework() = 0;
};

// Returns the process exit code.
int RunProgram(SystemServices& system, UserInteraction& user, ProgramHost& host);

}  // namespace corvane

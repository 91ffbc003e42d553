#include "core/program_paths.h"

#include "core/text.h"

namespace corvane {

std::string DriveRoot(SystemServices& system) {
  return text::TruncateChars(system.WindowsDirectory(), 3);
}

std::string CurrentUserName(SystemServices& system) { return system.UserName(); }

StartMenuPaths StartMenuPathsFor(const std::string& drive_root, const std::string& user) {
  StartMenuPaths p;
  p.drive_root = drive_root;
  std::string docs = drive_root + "Documents and Settings\\";
  p.common_start_menu = docs + "All Users\\" + kStartMenuName;
  p.common_programs = p.common_start_menu + "\\" + kProgramsName;
  p.user_start_menu = docs + user + "\\" + kStartMenuName;
  p.user_programs = p.user_start_menu + "\\" + kProgramsName;
  return p;
}

std::string ExecutableFolder(SystemServices& system) {
  std::string folder = system.ExecutableFolder();
  return folder.empty() ? folder : text::IncludeTrailingBackslash(folder);
}

std::string ProgramPath(SystemServices& system) {
  return ExecutableFolder(system) + kExecutableName;
}

}  // namespace corvane

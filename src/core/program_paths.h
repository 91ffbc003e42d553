// Where the system and the program lie, as the features that place files
// ask for them: the drive root, the logged-on user, the Start menu's four
// folders on the Chinese systems served and the program's folder.
#pragma once
#include <string>

#include "core/product.h"
#include "core/system.h"

namespace corvane {

inline constexpr char kStartMenuName[] = "「开始」菜单";
inline constexpr char kProgramsName[] = "程序";

struct StartMenuPaths {
  std::string drive_root;  // "C:\"
  std::string common_start_menu;
  std::string common_programs;
  std::string user_start_menu;
  std::string user_programs;
};

// The first three characters of the Windows directory ("C:\").
std::string DriveRoot(SystemServices& system);
// The logged-on user's name, asked afresh.
std::string CurrentUserName(SystemServices& system);
// The four folders under a drive root for a user.
StartMenuPaths StartMenuPathsFor(const std::string& drive_root, const std::string& user);
// The executable's folder, with a trailing separator.
std::string ExecutableFolder(SystemServices& system);
// executable folder + "Halvorn.exe", whatever the running file is called.
std::string ProgramPath(SystemServices& system);

}  // namespace corvane

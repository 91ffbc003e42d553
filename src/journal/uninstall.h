// Uninstalling: every change of the journal taken back, then what the
// program made for itself removed (its key, the Run value, its Start-menu
// folder and shortcuts, the OEM link while it is ours). The program folder
// itself is left for the user to delete.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "core/filesystem.h"
#include "core/registry.h"
#include "core/system.h"
#include "journal/undo.h"

namespace corvane::journal {

struct UninstallReport {
  UndoReport restore;
  std::vector<std::string> removed;  // what of the program's own went
  std::vector<std::string> stayed;   // what of it could not be removed
};

// Removes what the program made for itself (through the journalled
// services), filling removed and stayed; the composition root knows how.
using RemoveOwnThings = std::function<void(UninstallReport&)>;

struct UninstallServices {
  FileSystem& files;          // journalled
  RegistryBackend& registry;  // journalled
  SystemServices& system;
  Journal& journal;
  RemoveOwnThings remove_own;
  ProfileStore* profile = nullptr;  // journalled; takes back the category definitions
};

UninstallReport Uninstall(UninstallServices s);

// What an undo did, for the user: done, or what was kept, left or failed.
std::string UndoMessage(const UndoReport& r);
// The message that ends an uninstall: what was restored, what stayed, and
// that the program folder can go now.
std::string UninstallMessage(const UninstallReport& r, const std::string& program_folder);

}  // namespace corvane::journal

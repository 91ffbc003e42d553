// Taking back what the first run made for the program itself: its key, the
// Run value, the OEM link while it is ours, the shortcuts that start it and
// its own Start-menu folder once empty. Anything else stays.
#pragma once
#include <string>
#include <vector>

#include "setup/installation.h"

namespace corvane::setup {

struct Removal {
  std::vector<std::string> removed;  // what went
  std::vector<std::string> stayed;   // what could not be removed
};

Removal RemoveInstallation(InstallServices s);

}  // namespace corvane::setup

// The OEM link of the Start menu: a shell object registered under
// HKEY_CLASSES_ROOT whose name, tooltip, entry text, target and icon Explorer
// shows. The OEM panel writes it, and so does the first run, with the
// program's own texts.
#pragma once
#include <string>

#include "core/registry_accessor.h"

namespace corvane {

inline constexpr char kOemLinkKey[] = "\\CLSID\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}";
inline constexpr char kOemPropertyBag[] = "Instance\\InitPropertyBag";
inline constexpr char kOemIcon[] = "DefaultIcon";

struct OemLink {
  std::string name;      // the key's default value
  std::string info_tip;  // InfoTip
  std::string command;   // Command: the text of the Start-menu entry
  std::string target;    // Param1: address, folder or program
  std::string icon;      // DefaultIcon's default value
};

// Writes the registration with the accessor's root set to HKCR. A key that
// cannot be opened or created is skipped and the next one tried; a refused
// write throws RegistryError and leaves the rest unwritten.
void WriteOemLink(RegistryAccessor& reg, const OemLink& link);

}  // namespace corvane

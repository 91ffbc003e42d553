#include "core/oem_link.h"

namespace corvane {

void WriteOemLink(RegistryAccessor& reg, const OemLink& link) {
  const std::string key = kOemLinkKey;
  reg.SetRoot(reg::kClassesRoot);
  reg.CloseKey();
  if (reg.OpenKey(key, true)) {
    reg.WriteString("", link.name);
    reg.WriteString("InfoTip", link.info_tip);
    reg.CloseKey();
  }
  if (reg.OpenKey(key + "\\" + kOemPropertyBag, true)) {
    reg.WriteString("Command", link.command);
    reg.WriteString("Param1", link.target);
    reg.CloseKey();
  }
  if (reg.OpenKey(key + "\\" + kOemIcon, true)) reg.WriteString("", link.icon);
  reg.CloseKey();
}

}  // namespace corvane

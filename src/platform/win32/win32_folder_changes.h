// Change notifications on folders, asked without waiting.
#pragma once
#include <map>
#include <string>

#include "core/watched_listings.h"
#include "platform/win32/win32_handle.h"

namespace corvane {

class Win32FolderChanges : public FolderChanges {
 public:
  bool Watch(const std::string& folder) override;
  bool ChangedSince(const std::string& folder) override;
  void Forget(const std::string& folder) override { handles_.erase(folder); }

 private:
  std::map<std::string, ChangeHandle> handles_;
};

}  // namespace corvane

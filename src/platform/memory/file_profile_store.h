// The profile routines over any FileSystem: every call reads the file, and
// every write puts the whole file back before it returns.
#pragma once
#include "core/filesystem.h"
#include "core/profile.h"

namespace corvane {

class FileProfileStore : public ProfileStore {
 public:
  explicit FileProfileStore(FileSystem& fs) : fs_(fs) {}
  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& default_value) override;
  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override;
  bool DeleteKey(const std::string& file, const std::string& section,
                 const std::string& key) override;
  std::vector<std::string> ReadKeys(const std::string& file, const std::string& section) override;
  // From the content: here every write shows, however soon.
  std::optional<FileStamp> Stamp(const std::string& file) override;

 private:
  FileSystem& fs_;
};

}  // namespace corvane

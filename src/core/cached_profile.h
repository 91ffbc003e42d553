// Profile reads served from memory while the file has not changed since they
// were made: for the periodic ticks that read the same few values again and
// again. A file's stamp (size and time of last write) is checked at every
// read; a write through this store forgets everything.
#pragma once
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "core/profile.h"

namespace corvane {

class CachedProfile : public ProfileStore {
 public:
  explicit CachedProfile(ProfileStore& inner) : inner_(inner) {}

  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& default_value) override;
  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override;
  bool DeleteKey(const std::string& file, const std::string& section,
                 const std::string& key) override;
  std::vector<std::string> ReadKeys(const std::string& file, const std::string& section) override;
  std::optional<FileStamp> Stamp(const std::string& file) override { return inner_.Stamp(file); }

 private:
  struct File {
    FileStamp stamp;
    // By section, key and default (the default is what a missing key reads).
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
    std::map<std::string, std::vector<std::string>> keys;  // by section
  };
  // The file's remembered reads if it is still as they found it; otherwise
  // they are dropped and, when its stamp can be trusted, a fresh set begins.
  File* Current(const std::string& file);
  bool Forget(bool result) {
    files_.clear();
    return result;
  }

  ProfileStore& inner_;
  std::map<std::string, File> files_;  // by path as given
};

}  // namespace corvane

// The profile store as the features see it: a value written or deleted in a
// section the journal keeps is recorded with what was there before, so undo
// can give it back. Other sections (the detection's counts) pass straight
// through: taking them back would only make the program count again.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "core/profile.h"
#include "journal/journal.h"

namespace corvane::journal {

class JournalledProfileStore : public ProfileStore {
 public:
  using KeptSection = std::function<bool(const std::string& section)>;
  JournalledProfileStore(ProfileStore& inner, Journal& journal, KeptSection kept)
      : inner_(inner), journal_(journal), kept_(std::move(kept)) {}

  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& default_value) override {
    return inner_.ReadString(file, section, key, default_value);
  }
  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override;
  bool DeleteKey(const std::string& file, const std::string& section,
                 const std::string& key) override;
  std::vector<std::string> ReadKeys(const std::string& file, const std::string& section) override {
    return inner_.ReadKeys(file, section);
  }
  // Passed on, or the reads above it could never be kept.
  std::optional<FileStamp> Stamp(const std::string& file) override { return inner_.Stamp(file); }

 private:
  bool Change(const std::string& file, const std::string& section, const std::string& key,
              const std::optional<std::string>& value, const std::function<bool()>& change);

  ProfileStore& inner_;
  Journal& journal_;
  KeptSection kept_;
};

// The value as stored, nothing when the key is absent.
std::optional<std::string> IniValue(ProfileStore& store, const std::string& file,
                                    const std::string& section, const std::string& key);

}  // namespace corvane::journal

// A registry in memory: typed values under case-insensitive key paths below
// HKCR, HKCU and HKLM. Handle rights are enforced as Windows does; a test can
// deny a root or a key, or make writes below a key fail.
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/registry.h"

namespace corvane {

class MemoryRegistry : public RegistryBackend {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  long OpenKey(RegHandle parent, const std::string& path, std::uint32_t access,
               RegHandle* out) override;
  long CreateKey(RegHandle parent, const std::string& path, std::uint32_t access,
                 RegHandle* out) override;
  long CloseKey(RegHandle key) override;
  long QueryValue(RegHandle key, const std::string& name, RegValue* out) override;
  long SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                const std::string& data) override;
  long DeleteValue(RegHandle key, const std::string& name) override;
  long DeleteKey(RegHandle parent, const std::string& path) override;
  long EnumSubKeys(RegHandle key, std::vector<std::string>* names) override;
  long EnumValues(RegHandle key, std::vector<std::string>* names) override;

  // Test set-up and inspection, by root and a path from it ("a\b").
  void Put(RegHandle root, const std::string& path, const std::string& name, RegValue value);
  void PutDword(RegHandle root, const std::string& path, const std::string& name,
                std::uint32_t value);
  void PutString(RegHandle root, const std::string& path, const std::string& name,
                 const std::string& text);
  std::optional<RegValue> Get(RegHandle root, const std::string& path, const std::string& name);
  std::optional<std::uint32_t> GetDword(RegHandle root, const std::string& path,
                                        const std::string& name);
  std::optional<std::string> GetString(RegHandle root, const std::string& path,
                                       const std::string& name);
  bool HasKey(RegHandle root, const std::string& path);
  // Everything under a root, sorted: a line per key ("HKCU\A\B\") and per
  // value ("HKCU\A\B\Name = dword 16", "... = sz text", "@" for the
  // default value, "type N, K bytes" for the rest).
  std::vector<std::string> Dump(RegHandle root) const;
  // Opening or creating the key (or anything below it) is refused; an empty
  // path denies the whole root.
  void Deny(RegHandle root, const std::string& path);
  // Value writes, key creation and deletion below the key fail.
  void FailWrites(RegHandle root, const std::string& path);
  // As for a limited user: the key (and anything below it) opens with read
  // rights only; asking for more is refused.
  void ReadOnlyFor(RegHandle root, const std::string& path);
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct Key;
  struct Handle {
    std::shared_ptr<Key> key;
    std::uint32_t access;
    std::string path;  // upper case, from the root: "ROOT\A\B"
  };
  struct Resolved {
    std::shared_ptr<Key> base;
    std::string base_path;
  };
  bool Resolve(RegHandle parent, Resolved* out) const;
  // Whether key can be used with the right (and, for writes, is not failing).
  long Usable(RegHandle key, std::uint32_t right, bool writes, Resolved* out) const;
  static std::vector<std::string> Parts(const std::string& path);
  static std::string RulePath(RegHandle root, const std::string& path);
  bool Matches(const std::vector<std::string>& rules, const std::string& path) const;
  long Walk(RegHandle parent, const std::string& path, bool create, std::shared_ptr<Key>* key,
            std::string* full_path);
  RegHandle NewHandle(std::shared_ptr<Key> key, std::uint32_t access, std::string path);
  std::shared_ptr<Key> KeyAt(RegHandle root, const std::string& path, bool create);

  std::map<RegHandle, std::shared_ptr<Key>> roots_;
  std::map<RegHandle, Handle> handles_;
  std::vector<std::string> denied_, failing_, read_only_;
  RegHandle next_handle_ = 0x100;
};

}  // namespace corvane

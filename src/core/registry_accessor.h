// The registry accessor: one root, at most one open key, and the few
// operations the area loads and applies need. Short-lived: every handler
// makes its own and it closes its key when it goes.
//
// Opening a key reports failure by its result only; reading or writing a
// value that is not there as it should be throws RegistryError, which ends
// the guarded group the operation belongs to.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

#include "core/registry.h"

namespace corvane {

class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class RegistryAccessor {
 public:
  explicit RegistryAccessor(RegistryBackend& backend, RegHandle root = reg::kCurrentUser);
  ~RegistryAccessor();
  RegistryAccessor(const RegistryAccessor&) = delete;
  RegistryAccessor& operator=(const RegistryAccessor&) = delete;

  RegHandle Root() const { return root_; }
  // A change of root closes the current key first.
  void SetRoot(RegHandle root);
  bool HasCurrentKey() const { return key_ != 0; }

  // "\a\b" is taken from the root; "a\b" from the current key when there is
  // one, else from the root. On success the key becomes the current one.
  bool OpenKey(const std::string& path, bool create);
  // The same, with read rights only: for what a limited user may read.
  bool OpenKeyReadOnly(const std::string& path);
  void CloseKey();
  // Opened with read rights only and closed again; the current key stays.
  bool KeyExists(const std::string& path);

  // In the current key; false without one.
  bool ValueExists(const std::string& name);
  // A REG_DWORD of exactly four bytes, or RegistryError.
  std::uint32_t ReadInteger(const std::string& name);
  // REG_SZ or REG_EXPAND_SZ up to the first NUL; empty when absent;
  // RegistryError for any other type.
  std::string ReadString(const std::string& name);
  void WriteInteger(const std::string& name, std::uint32_t value);
  // The empty name is the key's default value.
  void WriteString(const std::string& name, const std::string& text);
  // In the current key; false when it stays.
  bool DeleteValue(const std::string& name);
  // Creates the key without making it current; RegistryError on failure.
  void CreateKey(const std::string& path);
  // The key and everything below it, depth first; false when any of it stays.
  bool DeleteKey(const std::string& path);

 private:
  // The key a path is taken from, and the path without its leading and
  // trailing separators.
  RegHandle Base(const std::string& path, std::string* relative) const;
  bool DeleteTree(RegHandle parent, const std::string& path, int depth);
  RegValue Query(const std::string& name, bool* found);

  RegistryBackend& backend_;
  RegHandle root_;
  RegHandle key_ = 0;
};

}  // namespace corvane

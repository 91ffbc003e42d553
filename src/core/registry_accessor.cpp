#include "core/registry_accessor.h"

#include <vector>

#include "core/text.h"

namespace corvane {
namespace {
// Deeper than the registry itself allows; a loop in a fake cannot hang us.
constexpr int kMaxDepth = 512;

[[noreturn]] void Fail(const std::string& what, const std::string& name, long rc) {
  throw RegistryError(what + " \"" + name + "\" failed (" + std::to_string(rc) + ")");
}
}  // namespace

RegistryAccessor::RegistryAccessor(RegistryBackend& backend, RegHandle root)
    : backend_(backend), root_(root) {}

RegistryAccessor::~RegistryAccessor() { CloseKey(); }

void RegistryAccessor::SetRoot(RegHandle root) {
  if (root == root_) return;
  CloseKey();
  root_ = root;
}

RegHandle RegistryAccessor::Base(const std::string& path, std::string* relative) const {
  bool from_root = !path.empty() && path[0] == '\\';
  *relative = text::ExcludeTrailingBackslash(from_root ? path.substr(1) : path);
  return from_root || key_ == 0 ? root_ : key_;
}

bool RegistryAccessor::OpenKey(const std::string& path, bool create) {
  std::string relative;
  RegHandle base = Base(path, &relative);
  RegHandle opened = 0;
  long rc = create ? backend_.CreateKey(base, relative, reg::kKeyAllAccess, &opened)
                   : backend_.OpenKey(base, relative, reg::kKeyAllAccess, &opened);
  if (rc != reg::kSuccess || opened == 0) return false;
  CloseKey();
  key_ = opened;
  return true;
}

bool RegistryAccessor::OpenKeyReadOnly(const std::string& path) {
  std::string relative;
  RegHandle base = Base(path, &relative);
  RegHandle opened = 0;
  long rc = backend_.OpenKey(base, relative, reg::kKeyRead, &opened);
  if (rc != reg::kSuccess || opened == 0) return false;
  CloseKey();
  key_ = opened;
  return true;
}

void RegistryAccessor::CloseKey() {
  if (key_ == 0) return;
  backend_.CloseKey(key_);
  key_ = 0;
}

bool RegistryAccessor::KeyExists(const std::string& path) {
  std::string relative;
  RegHandle base = Base(path, &relative);
  RegHandle probe = 0;
  if (backend_.OpenKey(base, relative, reg::kKeyProbe, &probe) != reg::kSuccess || probe == 0)
    return false;
  backend_.CloseKey(probe);
  return true;
}

RegValue RegistryAccessor::Query(const std::string& name, bool* found) {
  RegValue v;
  *found = false;
  if (key_ == 0) return v;
  long rc = backend_.QueryValue(key_, name, &v);
  if (rc == reg::kSuccess) {
    *found = true;
    return v;
  }
  if (rc != reg::kFileNotFound) Fail("reading", name, rc);
  return v;
}

bool RegistryAccessor::ValueExists(const std::string& name) {
  if (key_ == 0) return false;
  RegValue v;
  long rc = backend_.QueryValue(key_, name, &v);
  // Too big for us to read, but there all the same.
  return rc == reg::kSuccess || rc == reg::kMoreData;
}

std::uint32_t RegistryAccessor::ReadInteger(const std::string& name) {
  if (key_ == 0) Fail("reading", name, reg::kInvalidHandle);
  bool found = false;
  RegValue v = Query(name, &found);
  if (!found) Fail("reading", name, reg::kFileNotFound);
  // The system does not check the type for us (Wine certainly does not).
  if (v.type != reg::kDword || v.data.size() != 4)
    throw RegistryError("\"" + name + "\" is not a four-byte REG_DWORD");
  std::uint32_t out = 0;
  for (int i = 3; i >= 0; --i) out = (out << 8) | static_cast<unsigned char>(v.data[i]);
  return out;
}

std::string RegistryAccessor::ReadString(const std::string& name) {
  bool found = false;
  RegValue v = Query(name, &found);
  if (!found) return std::string();
  if (v.type != reg::kSz && v.type != reg::kExpandSz)
    throw RegistryError("\"" + name + "\" is not a string");
  return v.data.substr(0, v.data.find('\0'));
}

void RegistryAccessor::WriteInteger(const std::string& name, std::uint32_t value) {
  long rc = key_ == 0 ? reg::kInvalidHandle
                      : backend_.SetValue(key_, name, reg::kDword, DwordData(value));
  if (rc != reg::kSuccess) Fail("writing", name, rc);
}

void RegistryAccessor::WriteString(const std::string& name, const std::string& text) {
  long rc = key_ == 0 ? reg::kInvalidHandle : backend_.SetValue(key_, name, reg::kSz, SzData(text));
  if (rc != reg::kSuccess) Fail("writing", name, rc);
}

bool RegistryAccessor::DeleteValue(const std::string& name) {
  return key_ != 0 && backend_.DeleteValue(key_, name) == reg::kSuccess;
}

void RegistryAccessor::CreateKey(const std::string& path) {
  std::string relative;
  RegHandle base = Base(path, &relative);
  RegHandle created = 0;
  long rc = backend_.CreateKey(base, relative, reg::kKeyAllAccess, &created);
  if (rc != reg::kSuccess) Fail("creating", path, rc);
  backend_.CloseKey(created);
}

bool RegistryAccessor::DeleteKey(const std::string& path) {
  std::string relative;
  RegHandle base = Base(path, &relative);
  if (relative.empty()) return false;  // never the base itself
  return DeleteTree(base, relative, 0);
}

bool RegistryAccessor::DeleteTree(RegHandle parent, const std::string& path, int depth) {
  if (depth > kMaxDepth) return false;
  RegHandle key = 0;
  if (backend_.OpenKey(parent, path, reg::kKeyAllAccess, &key) != reg::kSuccess) return false;
  std::vector<std::string> names;
  if (backend_.EnumSubKeys(key, &names) == reg::kSuccess)
    for (const std::string& child : names) DeleteTree(key, child, depth + 1);
  backend_.CloseKey(key);
  return backend_.DeleteKey(parent, path) == reg::kSuccess;
}

}  // namespace corvane

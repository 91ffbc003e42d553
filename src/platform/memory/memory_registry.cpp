#include "platform/memory/memory_registry.h"

#include <algorithm>

#include "core/text.h"

namespace corvane {
namespace {
constexpr std::uint32_t kQueryValue = 0x0001, kSetValue = 0x0002, kCreateSubKey = 0x0004,
                        kEnumerateSubKeys = 0x0008;
constexpr long kKeyDeleted = 1018, kBadPathname = 161;

const char* RootName(RegHandle root) {
  switch (root) {
    case reg::kClassesRoot: return "HKCR";
    case reg::kCurrentUser: return "HKCU";
    case reg::kLocalMachine: return "HKLM";
    default: return nullptr;
  }
}
}  // namespace

struct MemoryRegistry::Key {
  std::string name;
  std::map<std::string, std::shared_ptr<Key>> children;                 // by upper-case name
  std::map<std::string, std::pair<std::string, RegValue>> values;       // upper name -> (name, value)
  bool deleted = false;
};

MemoryRegistry::MemoryRegistry() {
  for (RegHandle r : {reg::kClassesRoot, reg::kCurrentUser, reg::kLocalMachine}) {
    roots_[r] = std::make_shared<Key>();
    roots_[r]->name = RootName(r);
  }
}

MemoryRegistry::~MemoryRegistry() = default;

std::vector<std::string> MemoryRegistry::Parts(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (std::size_t i = 0; i < path.size(); i += text::CharLength(path, i)) {
    std::size_t n = text::CharLength(path, i);
    if (n == 1 && path[i] == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part.append(path, i, n);
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

bool MemoryRegistry::Resolve(RegHandle parent, Resolved* out) const {
  if (auto r = roots_.find(parent); r != roots_.end()) {
    out->base = r->second;
    out->base_path = RootName(parent);
    return true;
  }
  auto h = handles_.find(parent);
  if (h == handles_.end()) return false;
  out->base = h->second.key;
  out->base_path = h->second.path;
  return true;
}

bool MemoryRegistry::Matches(const std::vector<std::string>& rules, const std::string& path) const {
  for (const std::string& rule : rules)
    if (path == rule || (path.size() > rule.size() && path.compare(0, rule.size(), rule) == 0 &&
                         path[rule.size()] == '\\'))
      return true;
  return false;
}

long MemoryRegistry::Walk(RegHandle parent, const std::string& path, bool create,
                          std::shared_ptr<Key>* key, std::string* full_path) {
  Resolved r;
  if (!Resolve(parent, &r)) return reg::kInvalidHandle;
  if (r.base->deleted) return kKeyDeleted;
  if (!path.empty() && path[0] == '\\') return kBadPathname;
  std::shared_ptr<Key> k = r.base;
  std::string p = r.base_path;
  if (Matches(denied_, p)) return reg::kAccessDenied;
  for (const std::string& part : Parts(path)) {
    std::string upper = text::UpperCase(part);
    p += "\\" + upper;
    if (Matches(denied_, p)) return reg::kAccessDenied;
    auto it = k->children.find(upper);
    if (it == k->children.end()) {
      if (!create) return reg::kFileNotFound;
      if (Matches(failing_, p)) return reg::kAccessDenied;
      auto child = std::make_shared<Key>();
      child->name = part;
      it = k->children.emplace(upper, child).first;
    }
    k = it->second;
  }
  *key = k;
  *full_path = p;
  return reg::kSuccess;
}

RegHandle MemoryRegistry::NewHandle(std::shared_ptr<Key> key, std::uint32_t access,
                                    std::string path) {
  RegHandle h = next_handle_;
  next_handle_ += 4;
  handles_[h] = Handle{std::move(key), access, std::move(path)};
  return h;
}

long MemoryRegistry::OpenKey(RegHandle parent, const std::string& path, std::uint32_t access,
                             RegHandle* out) {
  std::shared_ptr<Key> k;
  std::string p;
  long rc = Walk(parent, path, false, &k, &p);
  if (rc != reg::kSuccess) return rc;
  if ((access & ~reg::kKeyRead) != 0 && Matches(read_only_, p)) return reg::kAccessDenied;
  *out = NewHandle(k, access, p);
  return reg::kSuccess;
}

long MemoryRegistry::CreateKey(RegHandle parent, const std::string& path, std::uint32_t access,
                               RegHandle* out) {
  Resolved r;
  if (!Resolve(parent, &r)) return reg::kInvalidHandle;
  if (auto h = handles_.find(parent); h != handles_.end() && !(h->second.access & kCreateSubKey)) {
    // Without the right to create, only an existing key can be opened.
    std::shared_ptr<Key> k;
    std::string p;
    long rc = Walk(parent, path, false, &k, &p);
    if (rc == reg::kFileNotFound) return reg::kAccessDenied;
    if (rc != reg::kSuccess) return rc;
    *out = NewHandle(k, access, p);
    return reg::kSuccess;
  }
  std::shared_ptr<Key> k;
  std::string p;
  long rc = Walk(parent, path, true, &k, &p);
  if (rc != reg::kSuccess) return rc;
  if ((access & ~reg::kKeyRead) != 0 && Matches(read_only_, p)) return reg::kAccessDenied;
  *out = NewHandle(k, access, p);
  return reg::kSuccess;
}

long MemoryRegistry::CloseKey(RegHandle key) {
  if (roots_.count(key)) return reg::kSuccess;
  return handles_.erase(key) ? reg::kSuccess : reg::kInvalidHandle;
}

long MemoryRegistry::Usable(RegHandle key, std::uint32_t right, bool writes, Resolved* r) const {
  if (!Resolve(key, r)) return reg::kInvalidHandle;
  if (auto h = handles_.find(key); h != handles_.end() && !(h->second.access & right))
    return reg::kAccessDenied;
  if (r->base->deleted) return kKeyDeleted;
  if (writes && Matches(failing_, r->base_path)) return reg::kAccessDenied;
  return reg::kSuccess;
}

long MemoryRegistry::QueryValue(RegHandle key, const std::string& name, RegValue* out) {
  Resolved r;
  if (long rc = Usable(key, kQueryValue, false, &r)) return rc;
  auto it = r.base->values.find(text::UpperCase(name));
  if (it == r.base->values.end()) return reg::kFileNotFound;
  *out = it->second.second;
  return reg::kSuccess;
}

long MemoryRegistry::SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                              const std::string& data) {
  Resolved r;
  if (long rc = Usable(key, kSetValue, true, &r)) return rc;
  auto& slot = r.base->values[text::UpperCase(name)];
  if (slot.first.empty()) slot.first = name;
  slot.second = RegValue{type, data};
  return reg::kSuccess;
}

long MemoryRegistry::DeleteValue(RegHandle key, const std::string& name) {
  Resolved r;
  if (long rc = Usable(key, kSetValue, true, &r)) return rc;
  return r.base->values.erase(text::UpperCase(name)) ? reg::kSuccess : reg::kFileNotFound;
}

long MemoryRegistry::DeleteKey(RegHandle parent, const std::string& path) {
  auto parts = Parts(path);
  if (parts.empty()) return reg::kAccessDenied;
  std::shared_ptr<Key> k;
  std::string p;
  long rc = Walk(parent, path, false, &k, &p);
  if (rc != reg::kSuccess) return rc;
  if (!k->children.empty() || Matches(failing_, p)) return reg::kAccessDenied;
  std::string parent_path = path.substr(0, text::LastDelimiter(path, "\\") == std::string::npos
                                               ? 0
                                               : text::LastDelimiter(path, "\\"));
  std::shared_ptr<Key> holder;
  std::string holder_path;
  rc = Walk(parent, parent_path, false, &holder, &holder_path);
  if (rc != reg::kSuccess) return rc;
  holder->children.erase(text::UpperCase(parts.back()));
  k->deleted = true;
  return reg::kSuccess;
}

long MemoryRegistry::EnumSubKeys(RegHandle key, std::vector<std::string>* names) {
  Resolved r;
  if (long rc = Usable(key, kEnumerateSubKeys, false, &r)) return rc;
  names->clear();
  for (const auto& [upper, child] : r.base->children) names->push_back(child->name);
  return reg::kSuccess;
}

long MemoryRegistry::EnumValues(RegHandle key, std::vector<std::string>* names) {
  Resolved r;
  if (long rc = Usable(key, kQueryValue, false, &r)) return rc;
  names->clear();
  for (const auto& [upper, value] : r.base->values) names->push_back(value.first);
  return reg::kSuccess;
}

std::shared_ptr<MemoryRegistry::Key> MemoryRegistry::KeyAt(RegHandle root, const std::string& path,
                                                           bool create) {
  auto it = roots_.find(root);
  if (it == roots_.end()) return nullptr;
  std::shared_ptr<Key> k = it->second;
  for (const std::string& part : Parts(path)) {
    std::string upper = text::UpperCase(part);
    auto c = k->children.find(upper);
    if (c == k->children.end()) {
      if (!create) return nullptr;
      auto child = std::make_shared<Key>();
      child->name = part;
      c = k->children.emplace(upper, child).first;
    }
    k = c->second;
  }
  return k;
}

void MemoryRegistry::Put(RegHandle root, const std::string& path, const std::string& name,
                         RegValue value) {
  if (auto k = KeyAt(root, path, true)) k->values[text::UpperCase(name)] = {name, std::move(value)};
}

void MemoryRegistry::PutDword(RegHandle root, const std::string& path, const std::string& name,
                              std::uint32_t value) {
  Put(root, path, name, RegValue{reg::kDword, DwordData(value)});
}

void MemoryRegistry::PutString(RegHandle root, const std::string& path, const std::string& name,
                               const std::string& text) {
  Put(root, path, name, RegValue{reg::kSz, SzData(text)});
}

std::optional<RegValue> MemoryRegistry::Get(RegHandle root, const std::string& path,
                                            const std::string& name) {
  auto k = KeyAt(root, path, false);
  if (!k) return std::nullopt;
  auto it = k->values.find(text::UpperCase(name));
  if (it == k->values.end()) return std::nullopt;
  return it->second.second;
}

std::optional<std::uint32_t> MemoryRegistry::GetDword(RegHandle root, const std::string& path,
                                                      const std::string& name) {
  auto v = Get(root, path, name);
  if (!v || v->type != reg::kDword || v->data.size() != 4) return std::nullopt;
  std::uint32_t out = 0;
  for (int i = 3; i >= 0; --i) out = (out << 8) | static_cast<unsigned char>(v->data[i]);
  return out;
}

std::optional<std::string> MemoryRegistry::GetString(RegHandle root, const std::string& path,
                                                     const std::string& name) {
  auto v = Get(root, path, name);
  if (!v || (v->type != reg::kSz && v->type != reg::kExpandSz)) return std::nullopt;
  return v->data.substr(0, v->data.find('\0'));
}

bool MemoryRegistry::HasKey(RegHandle root, const std::string& path) {
  return KeyAt(root, path, false) != nullptr;
}

std::vector<std::string> MemoryRegistry::Dump(RegHandle root) const {
  std::vector<std::string> out;
  auto it = roots_.find(root);
  if (it == roots_.end()) return out;
  auto walk = [&out](const auto& self, const Key& k, const std::string& path) -> void {
    for (const auto& [upper, named] : k.values) {
      const RegValue& v = named.second;
      std::string line = path + (named.first.empty() ? "@" : named.first) + " = ";
      if (v.type == reg::kDword && v.data.size() == 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(v.data[i]);
        line += "dword " + std::to_string(n);
      } else if (v.type == reg::kSz && !v.data.empty() && v.data.back() == '\0') {
        line += "sz " + v.data.substr(0, v.data.size() - 1);
      } else {
        line += "type " + std::to_string(v.type) + ", " + std::to_string(v.data.size()) + " bytes";
      }
      out.push_back(line);
    }
    for (const auto& [upper, child] : k.children) {
      std::string sub = path + child->name + "\\";
      out.push_back(sub);
      self(self, *child, sub);
    }
  };
  walk(walk, *it->second, std::string(RootName(root)) + "\\");
  std::sort(out.begin(), out.end());
  return out;
}

std::string MemoryRegistry::RulePath(RegHandle root, const std::string& path) {
  std::string p = RootName(root) ? RootName(root) : "?";
  for (const std::string& part : Parts(path)) p += "\\" + text::UpperCase(part);
  return p;
}

void MemoryRegistry::Deny(RegHandle root, const std::string& path) {
  denied_.push_back(RulePath(root, path));
}

void MemoryRegistry::FailWrites(RegHandle root, const std::string& path) {
  failing_.push_back(RulePath(root, path));
}

void MemoryRegistry::ReadOnlyFor(RegHandle root, const std::string& path) {
  read_only_.push_back(RulePath(root, path));
}

}  // namespace corvane

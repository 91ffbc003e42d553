#include "platform/memory/memory_filesystem.h"

#include "core/text.h"

namespace corvane {
namespace {

std::string Key(const std::string& name) { return text::UpperCase(name); }

bool Glob(const std::string& n, std::size_t i, const std::string& p, std::size_t j) {
  while (j < p.size()) {
    if (p[j] == '*') {
      for (std::size_t k = i; k <= n.size(); k += (k < n.size() ? text::CharLength(n, k) : 1))
        if (Glob(n, k, p, j + 1)) return true;
      return false;
    }
    if (i >= n.size()) return false;
    std::size_t cn = text::CharLength(n, i), cp = text::CharLength(p, j);
    if (!(p[j] == '?' && cp == 1) && n.compare(i, cn, p, j, cp) != 0) return false;
    i += cn;
    j += cp;
  }
  return i == n.size();
}

}  // namespace

bool MatchesPattern(const std::string& name, const std::string& pattern) {
  if (pattern == "*.*" || pattern == "*") return true;
  return Glob(text::UpperCase(name), 0, text::UpperCase(pattern), 0);
}

MemoryFileSystem::MemoryFileSystem() { AddFolder("C:\\"); }

std::vector<std::string> MemoryFileSystem::Split(const std::string& path) const {
  std::string full = path;
  bool absolute = full.size() >= 2 && full[1] == ':';
  if (!absolute) {
    if (current_.empty()) return {};
    full = text::IncludeTrailingBackslash(current_) + full;
  }
  std::vector<std::string> parts;
  std::string part;
  auto flush = [&] {
    if (part.empty() || part == ".") {
    } else if (part == "..") {
      if (parts.size() > 1) parts.pop_back();
    } else {
      parts.push_back(part);
    }
    part.clear();
  };
  for (std::size_t i = 0; i < full.size(); i += text::CharLength(full, i)) {
    std::size_t n = text::CharLength(full, i);
    if (n == 1 && (full[i] == '\\' || full[i] == '/')) flush();
    else part.append(full, i, n);
  }
  flush();
  if (parts.empty() || parts[0].size() != 2 || parts[0][1] != ':') return {};
  parts[0] = Key(parts[0]);
  return parts;
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path) {
  auto parts = Split(path);
  if (parts.empty()) return nullptr;
  Node* n = &root_;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (!n->IsFolder() || (i > 0 && !n->enterable)) return nullptr;
    auto it = n->children.find(Key(parts[i]));
    if (it == n->children.end()) return nullptr;
    n = it->second.get();
  }
  return n;
}

MemoryFileSystem::Node* MemoryFileSystem::Parent(const std::string& path, std::string* leaf) {
  auto parts = Split(path);
  if (parts.size() < 2) return nullptr;
  *leaf = parts.back();
  Node* n = &root_;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    auto it = n->children.find(Key(parts[i]));
    if (it == n->children.end() || !it->second->IsFolder() || !it->second->enterable)
      return nullptr;
    n = it->second.get();
  }
  return n;
}

MemoryFileSystem::Node* MemoryFileSystem::MakeFolders(const std::vector<std::string>& parts,
                                                      std::size_t count) {
  Node* n = &root_;
  for (std::size_t i = 0; i < count; ++i) {
    auto& slot = n->children[Key(parts[i])];
    if (!slot || !slot->IsFolder()) {
      slot = std::make_unique<Node>();
      slot->name = parts[i];
    }
    n = slot.get();
  }
  return n;
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& data,
                               std::uint32_t attributes) {
  auto parts = Split(path);
  if (parts.size() < 2) return;
  Node* folder = MakeFolders(parts, parts.size() - 1);
  auto node = std::make_unique<Node>();
  node->name = parts.back();
  node->attributes = attributes & ~attr::kDirectory;
  node->data = data;
  folder->children[Key(parts.back())] = std::move(node);
}

void MemoryFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
  auto parts = Split(path);
  if (parts.empty()) return;
  MakeFolders(parts, parts.size())->attributes = attributes | attr::kDirectory;
}

void MemoryFileSystem::MarkUnenterable(const std::string& path) {
  if (Node* n = Find(path)) n->enterable = false;
}

std::vector<FileEntry> MemoryFileSystem::List(const std::string& folder,
                                              const std::string& pattern) {
  std::vector<FileEntry> out;
  Node* n = Find(folder);
  if (!n || !n->IsFolder() || !n->enterable) return out;
  bool drive_root = Split(folder).size() == 1;
  if (!drive_root) {
    for (const char* dot : {".", ".."})
      if (MatchesPattern(dot, pattern)) out.push_back({dot, attr::kDirectory});
  }
  for (const auto& [key, child] : n->children)
    if (MatchesPattern(child->name, pattern)) out.push_back({child->name, child->attributes});
  return out;
}

bool MemoryFileSystem::Copy(const std::string& from, const std::string& to) {
  Node* src = Find(from);
  if (!src || src->IsFolder()) return false;
  std::string leaf;
  Node* dir = Parent(to, &leaf);
  if (!dir) return false;
  auto& slot = dir->children[Key(leaf)];
  if (slot) {
    if (slot.get() == src) return false;
    if (slot->IsFolder() || (slot->attributes & (attr::kReadOnly | attr::kHidden))) return false;
  } else {
    slot = std::make_unique<Node>();
    slot->name = leaf;
  }
  slot->data = src->data;
  slot->attributes = src->attributes | attr::kArchive;
  return true;
}

bool MemoryFileSystem::CopyNew(const std::string& from, const std::string& to) {
  std::string leaf;
  Node* dir = Parent(to, &leaf);
  if (!dir || dir->children.count(Key(leaf))) return false;
  return Copy(from, to);
}

bool MemoryFileSystem::Delete(const std::string& path) {
  std::string leaf;
  Node* dir = Parent(path, &leaf);
  if (!dir) return false;
  auto it = dir->children.find(Key(leaf));
  if (it == dir->children.end() || it->second->IsFolder() ||
      (it->second->attributes & attr::kReadOnly))
    return false;
  dir->children.erase(it);
  return true;
}

bool MemoryFileSystem::RemoveFolder(const std::string& path) {
  std::string leaf;
  Node* dir = Parent(path, &leaf);
  if (!dir) return false;
  auto it = dir->children.find(Key(leaf));
  if (it == dir->children.end() || !it->second->IsFolder() || !it->second->children.empty() ||
      (it->second->attributes & attr::kReadOnly))
    return false;
  if (Split(current_) == Split(path)) return false;  // in use as the current directory
  dir->children.erase(it);
  return true;
}

bool MemoryFileSystem::CreateFolder(const std::string& path) {
  std::string leaf;
  Node* dir = Parent(path, &leaf);
  if (!dir) return false;
  auto& slot = dir->children[Key(leaf)];
  if (slot) return false;
  slot = std::make_unique<Node>();
  slot->name = leaf;
  return true;
}

std::optional<std::uint32_t> MemoryFileSystem::Attributes(const std::string& path) {
  Node* n = Find(path);
  if (!n) return std::nullopt;
  return n->attributes;
}

bool MemoryFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  Node* n = Find(path);
  if (!n || Split(path).size() < 2) return false;
  if (n->IsFolder()) n->attributes = (attributes & ~attr::kNormal) | attr::kDirectory;
  else n->attributes = (attributes & ~attr::kDirectory) ? (attributes & ~attr::kDirectory) : attr::kNormal;
  return true;
}

bool MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
  std::string from_leaf, to_leaf;
  Node* from_dir = Parent(from, &from_leaf);
  Node* to_dir = Parent(to, &to_leaf);
  if (!from_dir || !to_dir) return false;
  auto it = from_dir->children.find(Key(from_leaf));
  if (it == from_dir->children.end()) return false;
  // A folder cannot move below itself.
  auto fp = Split(from), tp = Split(to);
  if (tp.size() > fp.size() && std::equal(fp.begin(), fp.end(), tp.begin(),
                                          [](const std::string& a, const std::string& b) {
                                            return text::SameText(a, b);
                                          }))
    return false;
  bool same_entry = from_dir == to_dir && Key(from_leaf) == Key(to_leaf);
  if (!same_entry && to_dir->children.count(Key(to_leaf))) return false;
  std::unique_ptr<Node> node = std::move(it->second);
  from_dir->children.erase(it);
  node->name = to_leaf;
  to_dir->children[Key(to_leaf)] = std::move(node);
  return true;
}

std::string MemoryFileSystem::CurrentDirectory() { return current_; }

bool MemoryFileSystem::ChangeDirectory(const std::string& path) {
  if (path.empty()) {  // back to "not known", as a scope that began there leaves it
    current_.clear();
    return true;
  }
  Node* n = Find(path);
  if (!n || !n->IsFolder() || !n->enterable) return false;
  auto parts = Split(path);
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) joined += (i ? "\\" : "") + parts[i];
  current_ = parts.size() == 1 ? joined + "\\" : joined;
  return true;
}

std::optional<std::string> MemoryFileSystem::ReadFile(const std::string& path) {
  Node* n = Find(path);
  if (!n || n->IsFolder()) return std::nullopt;
  return n->data;
}

bool MemoryFileSystem::WriteFile(const std::string& path, const std::string& data) {
  std::string leaf;
  Node* dir = Parent(path, &leaf);
  if (!dir) return false;
  auto& slot = dir->children[Key(leaf)];
  if (slot) {
    // Replacing a file asks for matching attributes, as CreateFile does.
    if (slot->IsFolder() ||
        (slot->attributes & (attr::kReadOnly | attr::kHidden | attr::kSystem)))
      return false;
  } else {
    slot = std::make_unique<Node>();
    slot->name = leaf;
  }
  slot->attributes = attr::kArchive;
  slot->data = data;
  return true;
}

}  // namespace corvane

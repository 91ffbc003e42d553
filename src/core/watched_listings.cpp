#include "core/watched_listings.h"

#include "core/text.h"

namespace corvane {
namespace {

std::string Key(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return text::UpperCase(path);
}

}  // namespace

void WatchedListings::SetFolders(const std::vector<std::string>& folders) {
  for (auto& [key, f] : folders_)
    if (f.watched) changes_.Forget(f.path);
  folders_.clear();
  for (const std::string& path : folders) folders_[Key(path)] = Folder{path, false, std::nullopt};
}

WatchedListings::Folder* WatchedListings::Find(const std::string& folder) {
  auto it = folders_.find(Key(folder));
  return it == folders_.end() ? nullptr : &it->second;
}

std::vector<FileEntry> WatchedListings::List(const std::string& folder,
                                             const std::string& pattern) {
  // Only a scope's listings are kept: outside one a watch would only cost
  // every change in the folder a notification (the start-up merge makes
  // thousands).
  Folder* f = pattern == "*.*" && scopes_ > 0 ? Find(folder) : nullptr;
  if (!f) return inner_.List(folder, pattern);
  if (!f->watched) f->watched = changes_.Watch(f->path);
  // Asked before listing, so a change during the listing shows next time.
  bool changed = !f->watched || changes_.ChangedSince(f->path);
  if (scopes_ > 0 && !changed && f->listing) return *f->listing;
  std::vector<FileEntry> entries = inner_.List(folder, pattern);
  if (f->watched) {
    f->listing = entries;
  } else {
    f->listing.reset();
  }
  return entries;
}

bool WatchedListings::Wrote(bool result) {
  for (auto& [key, f] : folders_) f.listing.reset();
  return result;
}

bool WatchedListings::Copy(const std::string& from, const std::string& to) {
  return Wrote(inner_.Copy(from, to));
}
bool WatchedListings::CopyNew(const std::string& from, const std::string& to) {
  return Wrote(inner_.CopyNew(from, to));
}
MoveOutcome WatchedListings::MoveByCopy(const std::string& from, const std::string& to) {
  MoveOutcome outcome = inner_.MoveByCopy(from, to);
  Wrote(true);
  return outcome;
}
bool WatchedListings::Delete(const std::string& path) { return Wrote(inner_.Delete(path)); }
bool WatchedListings::RemoveFolder(const std::string& path) {
  return Wrote(inner_.RemoveFolder(path));
}
bool WatchedListings::CreateFolder(const std::string& path) {
  return Wrote(inner_.CreateFolder(path));
}
bool WatchedListings::SetAttributes(const std::string& path, std::uint32_t attributes) {
  return Wrote(inner_.SetAttributes(path, attributes));
}
bool WatchedListings::Rename(const std::string& from, const std::string& to) {
  return Wrote(inner_.Rename(from, to));
}
bool WatchedListings::WriteFile(const std::string& path, const std::string& data) {
  return Wrote(inner_.WriteFile(path, data));
}

}  // namespace corvane

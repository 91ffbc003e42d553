#include "journal/journal.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "core/text.h"

namespace corvane::journal {
namespace {

constexpr char kOtherChanges[] = "其他更改";
constexpr char kSwapSuffix[] = ".new";

}  // namespace

std::string TimeText(const LocalTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return buf;
}

Journal::Journal(FileSystem& fs, const std::string& program_folder, Clock clock)
    : fs_(fs),
      file_(text::IncludeTrailingBackslash(program_folder) + kJournalFile),
      folder_(text::IncludeTrailingBackslash(program_folder) + kJournalFolder),
      clock_(std::move(clock)) {
  ResumeNumbers();
}

void Journal::ResumeNumbers() {
  // A fold cut off between writing the new journal and swapping it in.
  if (!fs_.FileExists(file_) && fs_.FileExists(file_ + kSwapSuffix))
    fs_.Rename(file_ + kSwapSuffix, file_);
  JournalOutline outline = ReadOutline();
  next_group_ = std::max(next_group_, outline.last_group + 1);
  next_seq_ = std::max(next_seq_, outline.last_seq + 1);
  // Saved contents outlive a journal that was deleted by hand: never reuse
  // one of their numbers.
  for (const FileEntry& f : fs_.List(folder_, "*.bin"))
    if (IsBlobName(f.name))
      next_seq_ = std::max<std::uint64_t>(next_seq_, std::stoull(f.name.substr(0, f.name.size() - 4)) + 1);
}

void Journal::BeginGroup(const std::string& what, std::optional<std::uint64_t> undoes) {
  if (depth_++ > 0) return;
  group_ = GroupHeader{next_group_, std::string(), what, undoes};
  header_written_ = false;
  changes_.clear();
}

void Journal::EndGroup() {
  if (depth_ == 0 || --depth_ > 0) return;
  WriteCompletions();
  appender_.reset();
  header_written_ = false;
  changes_.clear();
}

void Journal::Describe(const std::string& what) {
  if (depth_ == 0 || group_.what == what) return;
  group_.what = what;
  if (header_written_) Append(Entry{Entry::Kind::kGroup, group_, {}, {}, 0, {}});
}

bool Journal::Begin(Record& r, const std::string* old) {
  if (depth_ == 0 && !header_written_) {
    group_ = GroupHeader{next_group_, {}, kOtherChanges, {}};
    changes_.clear();
  }
  if (!header_written_) {
    group_.time = clock_ ? clock_() : std::string();
    if (!fs_.ForceFolders(folder_) && !fs_.FolderExists(folder_)) return false;
    if (!Append(Entry{Entry::Kind::kGroup, group_, {}, {}, 0, {}})) return false;
    header_written_ = true;
    next_group_ = group_.id + 1;
  }
  r.seq = next_seq_++;
  r.group = group_.id;
  if (old) {
    if (!fs_.ForceFolders(folder_)) return false;
    std::string blob = BlobName(r.seq);
    std::string path = folder_ + "\\" + blob;
    // Read back: a short write must stop the change, not be found at undo.
    if (!fs_.WriteFile(path, *old) || fs_.ReadFile(path) != *old) return false;
    r.blob = blob;
    r.old_absent = false;
  }
  Entry e;
  e.kind = Entry::Kind::kDo;
  e.record = r;
  if (!Append(e)) return false;
  if (depth_ > 0) changes_.push_back(r);  // kept for an action's description only
  return true;
}

void Journal::Complete(const Completion& c) {
  if (!c.ok)  // what did not happen does not describe the action
    changes_.erase(std::remove_if(changes_.begin(), changes_.end(),
                                  [&](const Record& r) { return r.seq == c.seq; }),
                   changes_.end());
  Entry e;
  e.kind = Entry::Kind::kDone;
  e.completion = c;
  // A change made waits to be written with the next record: should it be
  // lost, the next start finds the change made. A failure is written at
  // once, as nothing else could tell it from a copy cut off.
  unwritten_ += FormatLine(e);
  if (!c.ok || depth_ == 0) WriteCompletions();
}

void Journal::WriteCompletions() {
  if (!unwritten_.empty()) Write(std::string());
}

bool Journal::Write(const std::string& line) {
  // Kept open through a group: a merge appends thousands of records.
  if (!appender_) appender_ = fs_.OpenAppender(file_);
  std::string bytes = unwritten_ + line;
  bool ok = appender_ && appender_->Append(bytes);
  if (!ok || depth_ == 0) appender_.reset();
  if (ok) unwritten_.clear();
  if (size_ && ok) *size_ += bytes.size();
  if (!ok) size_.reset();  // part of it may be there
  return ok;
}

void Journal::MarkUndone(std::uint64_t group) {
  Entry e;
  e.kind = Entry::Kind::kUndone;
  e.undone_group = group;
  Append(e);
}

bool Journal::Append(const Entry& e) { return Write(FormatLine(e)); }

std::optional<std::string> Journal::ReadText() {
  WriteCompletions();
  if (!fs_.FileExists(file_)) {
    size_ = 0;
    return std::nullopt;
  }
  std::optional<std::string> text = fs_.ReadFile(file_);
  size_ = text ? std::optional<std::size_t>(text->size()) : std::nullopt;
  return text;
}

ParsedJournal Journal::Read() {
  std::optional<std::string> text = ReadText();
  return text ? ParseJournal(*text) : ParsedJournal{};
}

JournalOutline Journal::ReadOutline() {
  std::optional<std::string> text = ReadText();
  return text ? OutlineJournal(*text) : JournalOutline{};
}

std::optional<std::string> Journal::ReadBlob(const std::string& name) {
  if (!IsBlobName(name)) return std::nullopt;
  return fs_.ReadFile(folder_ + "\\" + name);
}

std::size_t Journal::FoldIfAbove(std::size_t limit) {
  // Every start asks; the size this journal last read and wrote answers.
  if (size_ && *size_ <= limit) return 0;
  std::optional<std::string> text = ReadText();
  appender_.reset();  // the file is replaced
  if (!text || text->size() <= limit) return 0;
  ParsedJournal parsed = ParseJournal(*text);

  // Groups in the order they began, with the bytes their lines take.
  std::vector<std::uint64_t> order;
  std::map<std::uint64_t, std::size_t> bytes;
  std::map<std::uint64_t, std::uint64_t> group_of_seq;
  Baseline baseline;
  for (const Entry& e : parsed.entries) {
    std::uint64_t g = 0;
    switch (e.kind) {
      case Entry::Kind::kGroup: g = e.group.id; break;
      case Entry::Kind::kDo:
        g = e.record.group;
        group_of_seq[e.record.seq] = g;
        break;
      case Entry::Kind::kDone: {
        auto it = group_of_seq.find(e.completion.seq);
        g = it == group_of_seq.end() ? 0 : it->second;
        break;
      }
      case Entry::Kind::kUndone: g = e.undone_group; break;
      case Entry::Kind::kBaseline: baseline.groups += e.baseline.groups; continue;
    }
    if (!bytes.count(g)) order.push_back(g);
    bytes[g] += FormatLine(e).size();
  }
  std::size_t total = 0;
  for (const auto& [g, n] : bytes) total += n;
  std::set<std::uint64_t> folded;
  for (std::uint64_t g : order) {
    if (total <= limit / 2 || g == group_.id) break;
    folded.insert(g);
    total -= bytes[g];
  }
  if (folded.empty()) return 0;

  std::string out;
  std::vector<std::string> blobs;
  for (const Entry& e : parsed.entries) {
    if (e.kind == Entry::Kind::kGroup && folded.count(e.group.id) && !e.group.time.empty())
      baseline.until = e.group.time;
  }
  baseline.groups += folded.size();
  Entry head;
  head.kind = Entry::Kind::kBaseline;
  head.baseline = baseline;
  out += FormatLine(head);
  for (const Entry& e : parsed.entries) {
    std::uint64_t g = 0;
    if (e.kind == Entry::Kind::kBaseline) continue;
    if (e.kind == Entry::Kind::kGroup) g = e.group.id;
    if (e.kind == Entry::Kind::kDo) g = e.record.group;
    if (e.kind == Entry::Kind::kUndone) g = e.undone_group;
    if (e.kind == Entry::Kind::kDone) {
      auto it = group_of_seq.find(e.completion.seq);
      g = it == group_of_seq.end() ? 0 : it->second;
    }
    if (folded.count(g)) {
      if (e.kind == Entry::Kind::kDo && e.record.blob) blobs.push_back(*e.record.blob);
      continue;
    }
    out += FormatLine(e);
  }
  // The new journal is whole on the disk before the old one goes; a start
  // that finds only the new one takes it.
  std::string swap = file_ + kSwapSuffix;
  if (!fs_.WriteFile(swap, out) || fs_.ReadFile(swap) != out) return 0;
  size_.reset();
  if (!fs_.Delete(file_) || !fs_.Rename(swap, file_)) return 0;
  size_ = out.size();
  for (const std::string& b : blobs) fs_.Delete(folder_ + "\\" + b);
  return folded.size();
}

}  // namespace corvane::journal

// The change journal: what every change to other people's files and
// settings was, and how to take it back. Before a change its record is
// appended and flushed (with any old bytes saved first); after it, its
// completion, which goes to the disk with the next record or at the end of
// the group. A user action opens a group; nothing is written for a group
// that changes nothing.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/filesystem.h"
#include "core/system.h"
#include "journal/journal_format.h"

namespace corvane::journal {

inline constexpr char kJournalFile[] = "Halvorn.jnl";
// Old contents of files written over or deleted, one file per change.
inline constexpr char kJournalFolder[] = "Halvorn.jnl.d";
// Past this size the oldest groups are folded into the baseline.
inline constexpr std::size_t kJournalLimit = 1024 * 1024;

// "2026-12-08 23:40:05"
std::string TimeText(const LocalTime& t);

class Journal {
 public:
  using Clock = std::function<std::string()>;
  // fs is the plain file system: the journal's own files are not journalled.
  Journal(FileSystem& fs, const std::string& program_folder, Clock clock);
  ~Journal() { WriteCompletions(); }
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  const std::string& FilePath() const { return file_; }
  const std::string& FolderPath() const { return folder_; }

  // Groups nest: only the outermost one counts. undoes names the group an
  // undo takes back.
  void BeginGroup(const std::string& what, std::optional<std::uint64_t> undoes = {});
  void EndGroup();
  // A better description once the action knows what it did; written only
  // when the group has changed something.
  void Describe(const std::string& what);
  // The group the current changes go to, 0 outside any (and before its first change).
  std::uint64_t CurrentGroup() const { return header_written_ ? group_.id : 0; }
  // The changes of the current group made so far (or under way), for its
  // description.
  const std::vector<Record>& GroupChanges() const { return changes_; }

  // Write-ahead: stamps r with its number and group, saves old (when given)
  // as its blob and appends the record. False when any of that failed: the
  // change must not be made then.
  bool Begin(Record& r, const std::string* old = nullptr);
  void Complete(const Completion& c);
  void MarkUndone(std::uint64_t group);

  ParsedJournal Read();
  // The numbers in use and the changes never completed, cheaper than Read.
  JournalOutline ReadOutline();
  std::optional<std::string> ReadBlob(const std::string& name);

  // Folds the oldest groups into the baseline until the journal is below
  // half the limit, when it is above it; their saved contents go too.
  // Returns the number of groups folded.
  std::size_t FoldIfAbove(std::size_t limit = kJournalLimit);

 private:
  std::optional<std::string> ReadText();
  bool Append(const Entry& e);
  // Appends line after the completions waiting, all flushed to the disk.
  bool Write(const std::string& line);
  void WriteCompletions();
  void ResumeNumbers();

  FileSystem& fs_;
  std::string file_, folder_;
  Clock clock_;
  int depth_ = 0;
  GroupHeader group_;
  bool header_written_ = false;
  std::vector<Record> changes_;
  std::string unwritten_;  // completions not yet on the disk
  std::unique_ptr<FileAppender> appender_;
  std::uint64_t next_seq_ = 1, next_group_ = 1;
  std::optional<std::size_t> size_;  // of the file, as last read and written here
};

// Write-ahead around one change: the record first, then the change, then
// what the change was seen to do (never what the call claimed). False, with
// nothing changed, when the record cannot be written.
template <typename Change, typename Observe>
bool Journalled(Journal& journal, Record r, const std::string* old, Change change,
                Observe observe) {
  if (!journal.Begin(r, old)) return false;
  bool ok = change();
  Completion c;
  c.seq = r.seq;
  observe(c);
  journal.Complete(c);
  return ok;
}

// A user action's group for a scope; a null journal makes it a no-op.
class GroupScope {
 public:
  GroupScope(Journal* journal, const std::string& what,
             std::optional<std::uint64_t> undoes = {})
      : journal_(journal) {
    if (journal_) journal_->BeginGroup(what, undoes);
  }
  ~GroupScope() {
    if (journal_) journal_->EndGroup();
  }
  GroupScope(const GroupScope&) = delete;
  GroupScope& operator=(const GroupScope&) = delete;
  void Describe(const std::string& what) {
    if (journal_) journal_->Describe(what);
  }
  const std::vector<Record>* Changes() const { return journal_ ? &journal_->GroupChanges() : nullptr; }

 private:
  Journal* journal_;
};

}  // namespace corvane::journal

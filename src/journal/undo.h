// Taking changes back. A group's records are replayed backwards and each is
// reverted only where that loses nothing: a file goes back only to a free
// place (else beside it under a free name), a value goes back only while it
// still holds what Corvane wrote (else it is left and listed). Every step
// first asks whether it is already reverted, so an undo cut off half-way can
// simply run again.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/filesystem.h"
#include "core/registry.h"
#include "core/profile.h"
#include "journal/journal.h"

namespace corvane::journal {

// What the journal says happened, group by group, oldest first.
struct GroupInfo {
  std::uint64_t id = 0;
  std::string time, what;
  std::optional<std::uint64_t> undoes;  // set on an undo's own group
  bool undone = false;
  std::vector<Record> changes;  // completed ones, in the order made
  std::vector<Completion> completions;  // the same order
};

struct History {
  std::vector<GroupInfo> groups;
  std::vector<Record> pending;  // begun and never completed
  std::size_t damaged = 0;
  std::uint64_t folded = 0;  // groups folded into the baseline
};
History ReadHistory(const ParsedJournal& parsed);

// The groups a user may take back, newest first: not undone, not an undo.
std::vector<const GroupInfo*> UndoableGroups(const History& h);
std::vector<const GroupInfo*> UndoableGroups(History&&) = delete;  // would point into a temporary

struct UndoReport {
  int reverted = 0;
  // "where it was → where it is kept now", for contents that could not go
  // back to their place.
  std::vector<std::string> kept_beside;
  // Changed since by someone else, or not empty: left as found.
  std::vector<std::string> left;
  // Steps that failed; the group stays undoable.
  std::vector<std::string> failed;
  void Append(const UndoReport& r);
};

class Undo {
 public:
  // fs and registry are the journalled ones: an undo is itself journalled.
  // profile, the journalled store, takes back INI values; without one they fail.
  Undo(FileSystem& fs, RegistryBackend& registry, Journal& journal, ProfileStore* profile = nullptr)
      : fs_(fs), registry_(registry), journal_(journal), profile_(profile) {}

  UndoReport Group(std::uint64_t id);
  // The newest group not yet undone; nothing when there is none.
  std::optional<UndoReport> Newest();
  // Every group, newest first.
  UndoReport All();

 private:
  UndoReport Revert(const GroupInfo& g);
  void RevertOne(const Record& r, const Completion& c, UndoReport& report);
  void RevertContent(const Record& r, std::optional<std::uint64_t> hash, UndoReport& report);
  // Old bytes back to path when it is free, else beside it.
  void PutBack(const std::string& path, const std::string& bytes, std::uint32_t attributes,
               UndoReport& report);
  void KeepBeside(const std::string& path, const std::string& bytes, UndoReport& report);
  void RevertMove(const Record& r, UndoReport& report);
  bool ClearAttributes(const std::string& path);
  void RevertValue(const Record& r, UndoReport& report);
  void RevertKey(const Record& r, UndoReport& report);
  void RevertIni(const Record& r, UndoReport& report);
  std::optional<std::string> Blob(const Record& r, UndoReport& report);

  FileSystem& fs_;
  RegistryBackend& registry_;
  Journal& journal_;
  ProfileStore* profile_;
};

struct RecoveryReport {
  int completed = 0;    // found done and marked so
  int rolled_back = 0;  // found not done (half-written targets put back)
};

// Settles every record begun and never completed, before anything else
// runs: a change found made is marked done; one found unmade is marked
// failed, with a half-written target given its old bytes back. fs and
// registry (and profile) are the plain ones.
RecoveryReport Recover(FileSystem& fs, RegistryBackend& registry, Journal& journal,
                       ProfileStore* profile = nullptr);

}  // namespace corvane::journal

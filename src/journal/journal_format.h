// The change journal's file: GBK text, one complete line per entry, kept
// beside classify.ini. Fields are separated by tabs; a field's tab, line
// breaks and '%' are written as %09, %0A, %0D and %25 (none of them can be a
// GBK trail byte, so the escape never splits a character). Registry data is
// hex.
//
//   group	id=4	time=2026-12-08 23:40:05	what=拖放 便笺 → 办公应用
//   group	id=5	time=...	what=撤销 拖放 ...	undoes=4
//   do	seq=17	group=4	op=copy	path=C:\a.lnk	to=C:\b\a.lnk	size=120	hash=...
//   done	seq=17	size=120	hash=...
//   failed	seq=18
//   undone	group=4
//   baseline	groups=12	until=2026-11-30 10:00:00
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/registry.h"

namespace corvane::journal {

// Bounds on what a line may hold: a journal is read back by the program, and
// a damaged or planted one must not make it allocate without end.
inline constexpr std::size_t kMaxLine = 320 * 1024;
inline constexpr std::size_t kMaxText = 2048;          // paths, names, descriptions
inline constexpr std::size_t kMaxValueData = 64 * 1024;  // one registry value's bytes
inline constexpr std::size_t kMaxKeyValues = 256;        // values saved with a deleted key
inline constexpr std::size_t kMaxFields = 16;

enum class Op {
  kCopy,          // path copied to `to`; `blob` holds what `to` held before
  kDelete,        // file path deleted; `blob` holds its bytes, `attributes` its attributes
  kRename,        // path renamed (moved) to `to`
  kMoveByCopy,    // file path copied to the free name `to`, checked, then deleted;
                  // size/hash are its bytes, which are always in one place or both
  kMakeFolder,    // folder path created
  kRemoveFolder,  // empty folder path removed, with its `attributes`
  kAttributes,    // attributes of path changed from `attributes` to `new_attributes`
  kWrite,         // file path written with size/hash; `blob` holds the old bytes
  kLink,          // shortcut path saved; `blob` holds the old bytes
  kSetValue,      // key\name set to `new_value`; `old_value` or absent
  kDeleteValue,   // key\name deleted; `old_value`
  kCreateKey,     // key created where there was none
  kDeleteKey,     // key deleted (no subkeys) with its `values`
  kIniValue,      // file path's `name` ("[section]key") set to `new_value`, or
                  // deleted when it has none; `old_value` or absent
};

const char* OpName(Op op);

struct NamedValue {
  std::string name;
  RegValue value;
};

// The before-image of one change: what undo needs.
struct Record {
  std::uint64_t seq = 0;
  std::uint64_t group = 0;
  Op op = Op::kCopy;
  std::string path;  // a file path, or a key as "HKCU\Software\..."
  std::string to;    // second path of a copy or rename
  std::string name;  // a registry value's name
  // The bytes the change leaves at the target (copy, write, link).
  std::optional<std::uint64_t> size, hash;
  std::optional<std::string> blob;  // saved old bytes, a file in the journal's folder
  bool old_absent = false;          // the target did not exist before (write, link)
  std::uint32_t attributes = 0, new_attributes = 0;
  std::optional<RegValue> old_value, new_value;
  std::vector<NamedValue> values;
};

struct Completion {
  std::uint64_t seq = 0;
  bool ok = false;
  // What the target holds afterwards, when only then known (shortcuts).
  std::optional<std::uint64_t> size, hash;
  // The attributes a change left, as the system reports them.
  std::optional<std::uint32_t> attributes;
};

struct GroupHeader {
  std::uint64_t id = 0;
  std::string time;
  std::string what;
  std::optional<std::uint64_t> undoes;
};

struct Baseline {
  std::uint64_t groups = 0;
  std::string until;
};

// One line: one of these.
struct Entry {
  enum class Kind { kGroup, kDo, kDone, kUndone, kBaseline } kind = Kind::kDo;
  GroupHeader group;
  Record record;
  Completion completion;
  std::uint64_t undone_group = 0;
  Baseline baseline;
};

std::string FormatLine(const Entry& e);  // with its "\r\n"
// Nothing when the line is damaged: unknown kind, a field missing, out of
// bounds or malformed.
std::optional<Entry> ParseLine(std::string_view line);

struct ParsedJournal {
  std::vector<Entry> entries;
  std::size_t damaged = 0;  // lines skipped
};
ParsedJournal ParseJournal(std::string_view text);

// What a start needs of the journal, found without keeping its entries:
// the numbers in use and the changes begun and never completed.
struct JournalOutline {
  std::uint64_t last_seq = 0, last_group = 0;
  std::vector<Record> pending;  // by seq
};
JournalOutline OutlineJournal(std::string_view text);

// "[section]key", the name an INI value is recorded under; nothing back
// when a name is not one.
std::string IniValueName(const std::string& section, const std::string& key);
std::optional<std::pair<std::string, std::string>> SplitIniValueName(std::string_view name);

// A 64-bit FNV-1a of the bytes: tells what Corvane left from what a user put
// there since; not a defence against anyone.
std::uint64_t ContentHash(std::string_view bytes);

// The name a saved old content gets in the journal's folder: digits and
// ".bin", nothing else, so a journal line cannot point outside the folder.
std::string BlobName(std::uint64_t seq);
bool IsBlobName(std::string_view name);
// "X:\..." without "." or ".." components.
bool IsSafeAbsolutePath(std::string_view path);

}  // namespace corvane::journal

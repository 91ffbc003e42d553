// Input is a change journal as found beside classify.ini. Every line read
// must write back as the same line and read again the same; damaged lines
// are only counted. Recovery and a full restore driven by the journal must
// finish on a disk and registry in memory.
#include <cstdint>
#include <string>

#include "journal/journal.h"
#include "journal/journalled_filesystem.h"
#include "journal/journalled_registry.h"
#include "journal/undo.h"
#include "platform/memory/memory_filesystem.h"
#include "platform/memory/memory_registry.h"

using namespace corvane;
using namespace corvane::journal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  ParsedJournal parsed = ParseJournal(text);
  for (const Entry& e : parsed.entries) {
    std::string line = FormatLine(e);
    auto again = ParseLine(line);
    if (!again || FormatLine(*again) != line) __builtin_trap();
  }
  History history = ReadHistory(parsed);
  UndoableGroups(history);

  MemoryFileSystem disk;
  disk.AddFolder("C:\\Corvane");
  disk.AddFile("C:\\Corvane\\Halvorn.jnl", text);
  MemoryRegistry registry;
  Journal journal(disk, "C:\\Corvane", {});
  Recover(disk, registry, journal);
  JournalledFileSystem files(disk, journal);
  JournalledRegistry keys(registry, journal);
  Undo(files, keys, journal).All();
  return 0;
}

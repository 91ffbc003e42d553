// The detection tick against the enumerations it cannot do without, and the
// merge of many loose entries, also beside a plain copy-and-delete of the same
// files timed in the same iteration.
#include <benchmark/benchmark.h>

#include <chrono>

#include "categories/folder_routines.h"
#include "platform/memory/file_profile_store.h"
#include "platform/memory/memory_filesystem.h"

namespace corvane::categories {
namespace {

const StartMenuPaths kPaths = StartMenuPathsFor("C:\\", "Administrator");
constexpr char kStore[] = "C:\\Corvane\\classify.ini";

// The four folders with a thousand entries each (one in ten a folder), and
// a store that knows them all.
struct FullStartMenu {
  FullStartMenu() {
    for (const std::string* folder : {&kPaths.common_start_menu, &kPaths.common_programs,
                                      &kPaths.user_start_menu, &kPaths.user_programs}) {
      for (int i = 0; i < 1000; ++i) {
        std::string name = *folder + "\\程序" + std::to_string(i);
        if (i % 10 == 0) fs.AddFolder(name);
        else fs.AddFile(name + ".lnk", std::string(600, 'L'));
      }
    }
    fs.AddFolder("C:\\Corvane");
    store.WriteString(kStore, "programs", "LabelNum", "6");
    for (int k = 1; k <= 6; ++k)
      store.WriteString(kStore, "programs", "Label" + std::to_string(k), "分类" + std::to_string(k));
    CategoryStore s(store, kStore);
    FolderRoutines(fs, kPaths).RecordEntryCounts(s);
  }
  MemoryFileSystem fs;
  FileProfileStore store{fs};
};

// The four listings through the file-system service, each entry looked at.
void BM_FourEnumerations(benchmark::State& state) {
  FullStartMenu m;
  FileSystem& fs = m.fs;
  for (auto _ : state) {
    std::size_t n = 0;
    for (const std::string* folder : {&kPaths.common_start_menu, &kPaths.common_programs,
                                      &kPaths.user_start_menu, &kPaths.user_programs})
      for (const FileEntry& e : fs.List(*folder, "*.*")) n += e.name.size();
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_FourEnumerations)->Unit(benchmark::kMicrosecond);

// What TimerDetect does every five seconds: the store opened, four counts
// read, four folders counted.
void BM_DetectionTick(benchmark::State& state) {
  FullStartMenu m;
  for (auto _ : state) {
    CategoryStore store(m.store, kStore);
    benchmark::DoNotOptimize(FolderRoutines(m.fs, kPaths).NewEntriesSince(store));
  }
}
BENCHMARK(BM_DetectionTick)->Unit(benchmark::kMicrosecond);

// A thousand loose entries in the user's Programs folder (one in ten a
// folder holding a shortcut) moved into the common Programs folder.
void BM_Merge1000(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    MemoryFileSystem fs;
    fs.AddFolder(kPaths.common_programs);
    for (int i = 0; i < 1000; ++i) {
      std::string name = kPaths.user_programs + "\\软件" + std::to_string(i);
      if (i % 10 == 0) fs.AddFile(name + "\\启动.lnk", std::string(600, 'L'));
      else fs.AddFile(name + ".lnk", std::string(600, 'L'));
    }
    state.ResumeTiming();
    MoveReport r = FolderRoutines(fs, kPaths).MergeIntoCommonPrograms();
    if (r.moved != 1000) state.SkipWithError("not everything moved");
  }
}
BENCHMARK(BM_Merge1000)->Unit(benchmark::kMillisecond);

// Every call through the service, and the names asked about that were not
// there: under Wine each of those walks the whole folder.
class CountingFileSystem : public MemoryFileSystem {
 public:
  std::optional<std::uint32_t> Attributes(const std::string& path) override {
    ++calls;
    auto a = MemoryFileSystem::Attributes(path);
    if (!a) ++misses;
    return a;
  }
  bool Copy(const std::string& from, const std::string& to) override {
    ++calls;
    return MemoryFileSystem::Copy(from, to);
  }
  bool CopyNew(const std::string& from, const std::string& to) override {
    ++calls;
    return MemoryFileSystem::CopyNew(from, to);
  }
  bool Delete(const std::string& path) override {
    ++calls;
    return MemoryFileSystem::Delete(path);
  }
  std::optional<std::string> ReadFile(const std::string& path) override {
    ++calls;
    return MemoryFileSystem::ReadFile(path);
  }
  std::vector<FileEntry> List(const std::string& folder, const std::string& pattern) override {
    ++calls;
    return MemoryFileSystem::List(folder, pattern);
  }
  long calls = 0, misses = 0;
};

void LooseShortcuts(MemoryFileSystem& fs, int n) {
  fs.AddFolder(kPaths.common_programs);
  for (int i = 0; i < n; ++i)
    fs.AddFile(kPaths.user_programs + "\\程序" + std::to_string(i) + ".lnk", std::string(1200, 'L'));
}

double Ms(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// Two thousand loose shortcuts: the merge, and the plain move it is held
// against (each file copied and deleted), in the same iteration. The
// counters give the ratio and the calls per file of each.
void BM_Merge2000AgainstPlainMove(benchmark::State& state) {
  constexpr int kFiles = 2000;
  double merge_ms = 0, plain_ms = 0;
  long merge_calls = 0, merge_misses = 0, plain_calls = 0;
  for (auto _ : state) {
    CountingFileSystem plain, merged;
    LooseShortcuts(plain, kFiles);
    LooseShortcuts(merged, kFiles);
    auto t = std::chrono::steady_clock::now();
    for (const FileEntry& e : plain.List(kPaths.user_programs, "*.*")) {
      if (e.IsDotEntry()) continue;
      std::string from = kPaths.user_programs + "\\" + e.name;
      plain.Copy(from, kPaths.common_programs + "\\" + e.name);
      plain.Delete(from);
    }
    plain_ms += Ms(t);
    t = std::chrono::steady_clock::now();
    MoveReport r = FolderRoutines(merged, kPaths).MergeIntoCommonPrograms();
    merge_ms += Ms(t);
    if (r.moved != kFiles) state.SkipWithError("not everything moved");
    merge_calls += merged.calls;
    merge_misses += merged.misses;
    plain_calls += plain.calls;
  }
  double n = static_cast<double>(state.iterations());
  state.counters["merge_ms"] = merge_ms / n;
  state.counters["plain_ms"] = plain_ms / n;
  state.counters["x_plain"] = merge_ms / plain_ms;
  state.counters["calls_per_file"] = static_cast<double>(merge_calls) / n / kFiles;
  state.counters["plain_calls_per_file"] = static_cast<double>(plain_calls) / n / kFiles;
  state.counters["missing_lookups"] = static_cast<double>(merge_misses) / n;
}
BENCHMARK(BM_Merge2000AgainstPlainMove)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace corvane::categories

// The detection tick against the enumerations it cannot do without, and the
// merge of many loose entries.
#include <benchmark/benchmark.h>

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

}  // namespace
}  // namespace corvane::categories

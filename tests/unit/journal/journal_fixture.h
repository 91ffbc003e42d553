// A machine in memory for the journal's tests: a Start menu, Explorer's
// values, the program's journal on drive D, and faults that strike the nth
// change made through it.
#pragma once
#include <gtest/gtest.h>

#include <map>

#include "categories/folder_routines.h"
#include "journal/journal.h"
#include "journal/journalled_filesystem.h"
#include "journal/journalled_profile.h"
#include "journal/journalled_registry.h"
#include "journal/undo.h"
#include "journal/user_actions.h"
#include "categories/category_store.h"
#include "platform/memory/file_profile_store.h"
#include "platform/memory/memory_filesystem.h"
#include "platform/memory/memory_registry.h"
#include "core/registry_accessor.h"
#include "start_menu_fixture.h"

namespace corvane::journal::testing {

using corvane::testing::kPaths;


struct Crash {};

// Fails (or, as a crash, stops the program before or after) the nth change
// made through the file systems and registries that share it.
struct FaultPlan {
  int fail_at = -1, calls = 0;
  bool fired = false, crash = false, after = false;
  template <typename Change, typename Failed>
  auto Run(Change change, Failed failed) {
    if (calls++ != fail_at) return change();
    fired = true;
    if (!crash) return failed();
    if (after) change();
    throw Crash{};
  }
};

class FaultyFiles : public FileSystem {
 public:
  FaultyFiles(FileSystem& in, FaultPlan& plan) : in_(in), plan_(plan) {}
  std::vector<FileEntry> List(const std::string& f, const std::string& p) override { return in_.List(f, p); }
  bool Copy(const std::string& a, const std::string& b) override { return plan_.Run([&] { return in_.Copy(a, b); }, [] { return false; }); }
  bool Delete(const std::string& p) override { return plan_.Run([&] { return in_.Delete(p); }, [] { return false; }); }
  bool RemoveFolder(const std::string& p) override { return plan_.Run([&] { return in_.RemoveFolder(p); }, [] { return false; }); }
  bool CreateFolder(const std::string& p) override { return plan_.Run([&] { return in_.CreateFolder(p); }, [] { return false; }); }
  std::optional<std::uint32_t> Attributes(const std::string& p) override { return in_.Attributes(p); }
  bool SetAttributes(const std::string& p, std::uint32_t a) override { return plan_.Run([&] { return in_.SetAttributes(p, a); }, [] { return false; }); }
  bool Rename(const std::string& a, const std::string& b) override { return plan_.Run([&] { return in_.Rename(a, b); }, [] { return false; }); }
  std::string CurrentDirectory() override { return in_.CurrentDirectory(); }
  bool ChangeDirectory(const std::string& p) override { return in_.ChangeDirectory(p); }
  std::optional<std::string> ReadFile(const std::string& p) override { return in_.ReadFile(p); }
  bool WriteFile(const std::string& p, const std::string& d) override {
    // A failed write leaves half of it, as a full disk does.
    return plan_.Run([&] { return in_.WriteFile(p, d); }, [&] { return in_.WriteFile(p, d.substr(0, d.size() / 2)) && false; });
  }

 private:
  FileSystem& in_;
  FaultPlan& plan_;
};

class FaultyRegistry : public RegistryBackend {
 public:
  FaultyRegistry(RegistryBackend& in, FaultPlan& plan) : in_(in), plan_(plan) {}
  long OpenKey(RegHandle p, const std::string& s, std::uint32_t a, RegHandle* o) override { return in_.OpenKey(p, s, a, o); }
  long CreateKey(RegHandle p, const std::string& s, std::uint32_t a, RegHandle* o) override { return plan_.Run([&] { return in_.CreateKey(p, s, a, o); }, [] { return reg::kAccessDenied; }); }
  long CloseKey(RegHandle k) override { return in_.CloseKey(k); }
  long QueryValue(RegHandle k, const std::string& n, RegValue* o) override { return in_.QueryValue(k, n, o); }
  long SetValue(RegHandle k, const std::string& n, std::uint32_t t, const std::string& d) override { return plan_.Run([&] { return in_.SetValue(k, n, t, d); }, [] { return reg::kAccessDenied; }); }
  long DeleteValue(RegHandle k, const std::string& n) override { return plan_.Run([&] { return in_.DeleteValue(k, n); }, [] { return reg::kAccessDenied; }); }
  long DeleteKey(RegHandle p, const std::string& s) override { return plan_.Run([&] { return in_.DeleteKey(p, s); }, [] { return reg::kAccessDenied; }); }
  long EnumSubKeys(RegHandle k, std::vector<std::string>* n) override { return in_.EnumSubKeys(k, n); }
  long EnumValues(RegHandle k, std::vector<std::string>* n) override { return in_.EnumValues(k, n); }

 private:
  RegistryBackend& in_;
  FaultPlan& plan_;
};

inline const char kProgram[] = "D:\\Corvane";
inline const char kAdvanced[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
inline const char kPin[] = "CLSID\\{a2a9545d-a0c2-42b4-9708-a0b2badd77c8}\\Pin";

// Every file and folder of drive C with its attributes and bytes, and the
// three registry roots: what "as before" means.
struct Snapshot {
  std::map<std::string, std::pair<std::uint32_t, std::string>> files;
  std::vector<std::string> registry;
  bool operator==(const Snapshot& o) const { return files == o.files && registry == o.registry; }
};

// What differs, one line each; empty when nothing does.
inline std::string Differences(const Snapshot& was, const Snapshot& is) {
  std::string out;
  std::map<std::string, std::string> a, b;
  for (const auto& [p, f] : was.files) a[p] = std::to_string(f.first) + " " + f.second;
  for (const auto& [p, f] : is.files) b[p] = std::to_string(f.first) + " " + f.second;
  for (const std::string& l : was.registry) a[l] = "";
  for (const std::string& l : is.registry) b[l] = "";
  for (const auto& [k, v] : a)
    if (!b.count(k) || b[k] != v) out += "- " + k + " " + v + "\n";
  for (const auto& [k, v] : b)
    if (!a.count(k) || a[k] != v) out += "+ " + k + " " + v + "\n";
  return out;
}

inline void Walk(MemoryFileSystem& fs, const std::string& folder, Snapshot& s) {
  for (const FileEntry& e : fs.List(folder, "*.*")) {
    if (e.IsDotEntry()) continue;
    std::string path = folder + "\\" + e.name;
    s.files[path] = {e.attributes, e.IsFolder() ? std::string() : fs.ReadFile(path).value_or("?")};
    if (e.IsFolder()) Walk(fs, path, s);
  }
}

// A machine with a Start menu and Explorer's values, and the program's
// journal on drive D.
struct World {
  MemoryFileSystem disk;
  MemoryRegistry registry;
  FaultPlan plan;
  FaultyFiles faulty_files{disk, plan};
  FaultyRegistry faulty_registry{registry, plan};
  Journal journal{disk, kProgram, [] { return std::string("2026-12-08 23:40:05"); }};
  JournalledFileSystem files{faulty_files, journal};
  JournalledRegistry keys{faulty_registry, journal};

  World() {
    disk.AddFolder(kProgram);
    corvane::testing::LayOutStartMenu(disk);
    registry.PutDword(reg::kCurrentUser, kAdvanced, "Start_ShowMyMusic", 1);
    registry.PutString(reg::kClassesRoot, kPin, "", "pin");
    registry.PutString(reg::kClassesRoot, std::string(kPin) + "\\Sub", "x", "deep");
  }
  Snapshot Take() {
    Snapshot s;
    Walk(disk, "C:", s);
    for (RegHandle root : {reg::kClassesRoot, reg::kCurrentUser, reg::kLocalMachine})
      for (const std::string& line : registry.Dump(root)) s.registry.push_back(line);
    return s;
  }
  // A start-up merge, a category's icon, an apply and a first run.
  void MakeChanges() {
    {
      GroupScope g(&journal, "启动时整理");
      categories::FolderRoutines routines{files, kPaths};
      auto moved = routines.MergeIntoCommonPrograms();
      g.Describe("启动时整理 " + std::to_string(moved.moved) + " 项");
    }
    {
      GroupScope g(&journal, "图标 办公应用");
      categories::FolderRoutines routines{files, kPaths};
      routines.WriteCategoryIconFile(kPaths.common_programs + "\\办公应用", "D:\\Corvane\\Icon\\a.ico");
    }
    {
      GroupScope g(&journal, "应用 「我的项目」设置");
      RegistryAccessor a(keys);
      ASSERT_TRUE(a.OpenKey(std::string("\\") + kAdvanced, true));
      a.WriteInteger("Start_ShowMyMusic", 0);
      a.WriteInteger("Start_ShowMyPics", 0);
      a.SetRoot(reg::kClassesRoot);
      EXPECT_TRUE(a.DeleteKey(std::string("\\") + kPin));
    }
    {
      GroupScope g(&journal, "首次运行");
      RegistryAccessor a(keys, reg::kLocalMachine);
      ASSERT_TRUE(a.OpenKey("\\Software\\Halvorn\\Setup", true));
      a.WriteString("Version", "1.2");
      files.ForceFolders(kPaths.common_programs + "\\Corvane");
      files.WriteFile(kPaths.common_programs + "\\Corvane\\Halvorn.lnk", "link");
    }
  }
};

}  // namespace corvane::journal::testing

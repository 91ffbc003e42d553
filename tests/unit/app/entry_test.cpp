#include "app/entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_system.h"

namespace corvane {
namespace {

class RecordingHost : public ProgramHost {
 public:
  explicit RecordingHost(MemorySystem& system) : system_(system) {}
  void InitializeFramework() override { steps.push_back("framework"); }
  void PrepareNotices() override { steps.push_back("notices"); }
  void SetTitle(const std::string& title) override { steps.push_back("title:" + title); }
  void CreateMainWindow() override { steps.push_back("main window"); }
  void RunMessageLoop() override {
    steps.push_back("loop");
    atom_during_loop = system_.FindAtom(kInstanceAtom) != 0;
  }
  void ShutdownFramework() override { steps.push_back("shutdown"); }
  std::vector<std::string> steps;
  bool atom_during_loop = false;

 private:
  MemorySystem& system_;
};

TEST(ProgramEntry, AFirstStartRunsTheLoopAndRemovesTheMarkerAfterIt) {
  MemorySystem system;
  MemoryUserInteraction user;
  RecordingHost host(system);
  EXPECT_EQ(RunProgram(system, user, host), 0);
  EXPECT_EQ(host.steps, (std::vector<std::string>{"framework", "title:Corvane 1.2", "main window",
                                                  "loop", "shutdown"}));
  EXPECT_TRUE(host.atom_during_loop);
  EXPECT_EQ(system.FindAtom("Halvorn"), 0);
  EXPECT_TRUE(user.boxes.empty());
}

TEST(ProgramEntry, ARunningInstanceMakesTheStartShowTheReminderAndNothingElse) {
  MemorySystem system;
  MemoryUserInteraction user;
  RecordingHost host(system);
  system.AddAtom("halvorn");  // the marker's name compares without case
  EXPECT_EQ(RunProgram(system, user, host), 0);
  EXPECT_EQ(host.steps, std::vector<std::string>{"notices"});
  ASSERT_EQ(user.boxes.size(), 1u);
  EXPECT_EQ(user.boxes[0].text, "Corvane已经运行,要操作请先在桌面右下角退出！");
  EXPECT_EQ(user.boxes[0].caption, "提醒...");
  EXPECT_EQ(user.boxes[0].style, 0x30u);
  // The running instance keeps its marker.
  EXPECT_NE(system.FindAtom("Halvorn"), 0);
}

}  // namespace
}  // namespace corvane

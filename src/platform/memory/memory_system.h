// Scripted system facts and recorded actions, for tests.
#pragma once
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "core/system.h"

namespace corvane {

class MemorySystem : public SystemServices {
 public:
  std::string WindowsDirectory() override { return windows_directory; }
  std::string UserName() override { return user_name; }
  std::string ExecutableFolder() override { return executable_folder; }
  std::uint32_t TickCount() override { return tick_count; }
  LocalTime Now() override { return now; }
  void Beep(unsigned type) override { beeps.push_back(type); }
  char DecimalSeparator() override { return decimal_separator; }
  // As a Chinese system writes it: "2026-12-8 9:30:00".
  std::string DateTimeText(const LocalTime& t) override;
  void TrimWorkingSet() override { ++trims; }
  std::uint16_t FindAtom(const std::string& name) override;
  std::uint16_t AddAtom(const std::string& name) override;
  void DeleteAtom(std::uint16_t atom) override;
  bool ClaimAtom(const std::string& name) override;

  std::string windows_directory = "C:\\WINDOWS";
  std::string user_name = "Administrator";
  std::string executable_folder = "C:\\Corvane\\";
  std::uint32_t tick_count = 600000;
  LocalTime now{2026, 12, 8, 2, 9, 30, 0, 0};
  std::vector<unsigned> beeps;
  char decimal_separator = '.';
  int trims = 0;

 private:
  struct Atom {
    std::string name;
    int references = 0;
  };
  std::map<std::uint16_t, Atom> atoms_;
  std::uint16_t next_atom_ = 0xC000;
};

class MemoryUserInteraction : public UserInteraction {
 public:
  struct Box {
    std::string text, caption;
    unsigned style;
  };
  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style) override;
  // Answers for the next boxes, in order; IDOK once they run out.
  std::deque<int> answers;
  std::vector<Box> boxes;
};

}  // namespace corvane

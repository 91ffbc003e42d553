// System facts and actions, and the user's side of message boxes.
#pragma once
#include <cstdint>
#include <string>

namespace corvane {

struct LocalTime {
  int year = 0, month = 0, day = 0;
  int day_of_week = 0;  // 0 is Sunday
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class SystemServices {
 public:
  virtual ~SystemServices() = default;
  virtual std::string WindowsDirectory() = 0;
  virtual std::string UserName() = 0;
  // The folder of the running executable, with a trailing separator.
  virtual std::string ExecutableFolder() = 0;
  virtual std::uint32_t TickCount() = 0;
  virtual LocalTime Now() = 0;
  virtual void Beep(unsigned type) = 0;
  // The user's decimal separator for numbers.
  virtual char DecimalSeparator() = 0;
  // A time as text in the user's short date and long time formats, with a
  // blank between.
  virtual std::string DateTimeText(const LocalTime& t) = 0;
  // Gives back as much of the process's working set as the system takes.
  virtual void TrimWorkingSet() = 0;

  // Global atoms of the window station; 0 is no atom.
  virtual std::uint16_t FindAtom(const std::string& name) = 0;
  virtual std::uint16_t AddAtom(const std::string& name) = 0;
  virtual void DeleteAtom(std::uint16_t atom) = 0;
  // Find and add as one step: true when this call added the atom, false when
  // it was there already.
  virtual bool ClaimAtom(const std::string& name) = 0;
};

namespace mb {
inline constexpr unsigned kOk = 0x00;
inline constexpr unsigned kOkCancel = 0x01;
inline constexpr unsigned kIconError = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
}  // namespace mb

class UserInteraction {
 public:
  virtual ~UserInteraction() = default;
  // Modal; the pressed button (mb::kIdOk, ...).
  virtual int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style) = 0;
};

}  // namespace corvane

#include <windows.h>

#include "core/text.h"
#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_services.h"

namespace corvane {

std::string Win32System::WindowsDirectory() {
  char buf[256];
  UINT n = GetWindowsDirectoryA(buf, 255);
  return (n == 0 || n >= 255) ? std::string() : std::string(buf, n);
}

std::string Win32System::UserName() {
  char buf[256];
  DWORD size = 255;
  if (!GetUserNameA(buf, &size)) return std::string();
  return std::string(buf);
}

std::string Win32System::ExecutableFolder() {
  char buf[MAX_PATH + 1];
  DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string();
  return text::ExtractFilePath(std::string(buf, n));
}

std::uint32_t Win32System::TickCount() { return GetTickCount(); }

LocalTime Win32System::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return LocalTime{st.wYear, st.wMonth, st.wDay, st.wDayOfWeek,
                   st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

void Win32System::Beep(unsigned type) { MessageBeep(type); }

char Win32System::DecimalSeparator() {
  char text[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) < 2) return '.';
  return text[0];
}

std::string Win32System::DateTimeText(const LocalTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wDayOfWeek = static_cast<WORD>(t.day_of_week);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  char date[80] = {}, time[80] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, sizeof time);
  return std::string(date) + " " + time;
}

void Win32System::TrimWorkingSet() {
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

std::uint16_t Win32System::FindAtom(const std::string& name) {
  return GlobalFindAtomA(name.c_str());
}

std::uint16_t Win32System::AddAtom(const std::string& name) {
  return GlobalAddAtomA(name.c_str());
}

void Win32System::DeleteAtom(std::uint16_t atom) { GlobalDeleteAtom(atom); }

bool Win32System::ClaimAtom(const std::string& name) {
  // The atom table has no test-and-set, so starts of the program take turns
  // through a named mutex of the session around the find and the add.
  std::string lock_name = "Local\\" + name + ".Start";
  KernelHandle lock(CreateMutexA(nullptr, FALSE, lock_name.c_str()));
  DWORD wait = lock ? WaitForSingleObject(lock.get(), 10000) : WAIT_FAILED;
  bool held = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
  bool claimed = false;
  if (!GlobalFindAtomA(name.c_str())) claimed = GlobalAddAtomA(name.c_str()) != 0;
  if (held) ReleaseMutex(lock.get());
  return claimed;
}

int Win32UserInteraction::ShowMessageBox(const std::string& text, const std::string& caption,
                                     unsigned style) {
  HWND owner = owner_ ? static_cast<HWND>(owner_()) : nullptr;
  // Closing the box activates its owner, the hidden application window, and
  // the system then picks any window of ours: a modal dialog open under the
  // box would fall behind the main window it keeps disabled.
  HWND active = GetActiveWindow();
  int answer = MessageBoxA(owner, text.c_str(), caption.c_str(), style);
  if (active && IsWindow(active) && IsWindowVisible(active)) SetActiveWindow(active);
  return answer;
}

namespace {
bool SystemLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != 0; }
}  // namespace

void UseSystemLeadByteRule() { text::SetLeadByteRule(&SystemLeadByte); }

}  // namespace corvane

// What the program is called where the system sees it, and the one message
// that more than one part shows.
#pragma once

namespace corvane {

// Every stored path names this file, whatever the running one is called.
inline constexpr char kExecutableName[] = "Halvorn.exe";
// The autostart value, under HKEY_LOCAL_MACHINE.
inline constexpr char kRunKey[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValue[] = "Halvorn";
inline constexpr char kSoftwareError[] = "不好意思，软件出现错误！";

}  // namespace corvane

// Start-up phase timings for the profile under bench/wine: written only when
// the environment variable CORVANE_PHASES names a file, read once at start.
// Without it nothing is wrapped and nothing is timed.
#pragma once
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace corvane::app::win32 {

class PhaseLog {
 public:
  static std::unique_ptr<PhaseLog> FromEnvironment() {
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("CORVANE_PHASES", path, sizeof path);
    if (n == 0 || n >= sizeof path) return nullptr;
    std::FILE* f = std::fopen(path, "a");
    return f ? std::unique_ptr<PhaseLog>(new PhaseLog(f)) : nullptr;
  }
  ~PhaseLog() { std::fclose(file_); }
  PhaseLog(const PhaseLog&) = delete;
  PhaseLog& operator=(const PhaseLog&) = delete;

  double Now() const {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart - origin_.QuadPart) * 1000.0 /
           static_cast<double>(freq_.QuadPart);
  }
  // One line: name, ms since the process was created at its end, duration,
  // and the working set in KB then (0 where the system cannot say).
  void Record(const char* name, double began) {
    double end = Now();
    std::fprintf(file_, "%s %.3f %.3f %lu\n", name, before_main_ + end, end - began,
                 WorkingSetKb());
    std::fflush(file_);
  }
  template <class F>
  void Time(const char* name, F&& f) {
    double began = Now();
    f();
    Record(name, began);
  }
  // The same step, timed when it runs.
  template <class... A>
  std::function<void(A...)> Wrap(const char* name, std::function<void(A...)> step) {
    if (!step) return step;
    return [this, name, step = std::move(step)](A... a) {
      double began = Now();
      step(a...);
      Record(name, began);
    };
  }

 private:
  explicit PhaseLog(std::FILE* f) : file_(f) {
    QueryPerformanceFrequency(&freq_);
    QueryPerformanceCounter(&origin_);
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    before_main_ = static_cast<double>(Ticks(now) - Ticks(created)) / 10000.0;
    std::fprintf(file_, "process-to-main %.3f %.3f %lu\n", before_main_, before_main_,
                 WorkingSetKb());
  }
  // Looked up, not imported: XP's kernel32 has no such call.
  static unsigned long WorkingSetKb() {
    using Query = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    static const auto query = reinterpret_cast<Query>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof c;
    if (!query || !query(GetCurrentProcess(), &c, sizeof c)) return 0;
    return static_cast<unsigned long>(c.WorkingSetSize / 1024);
  }
  static long long Ticks(FILETIME t) {
    return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                  t.dwLowDateTime);
  }
  std::FILE* file_;
  LARGE_INTEGER freq_{}, origin_{};
  double before_main_ = 0;
};

}  // namespace corvane::app::win32

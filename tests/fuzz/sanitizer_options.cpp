// Defaults every fuzz target runs with, however it is started; the
// environment can still override them.
//  - Undefined behaviour ends the run like a crash, so no finding is only
//    printed and passed over.
//  - Freed memory waits in a small quarantine, so -rss_limit_mb measures what
//    the code under test holds rather than what the allocator keeps back.
extern "C" const char* __ubsan_default_options() {
  return "halt_on_error=1:print_stacktrace=1";
}

extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=16:thread_local_quarantine_size_kb=256";
}

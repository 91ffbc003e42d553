// Owners for kernel handles.
#pragma once
#include <windows.h>

namespace corvane {

template <class Traits>
class UniqueHandle {
 public:
  using Value = typename Traits::Value;
  UniqueHandle() = default;
  explicit UniqueHandle(Value v) : v_(v) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& o) noexcept : v_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  Value get() const { return v_; }
  explicit operator bool() const { return Traits::Valid(v_); }
  Value release() {
    Value v = v_;
    v_ = Traits::Invalid();
    return v;
  }
  void reset(Value v = Traits::Invalid()) {
    if (Traits::Valid(v_)) Traits::Close(v_);
    v_ = v;
  }

 private:
  Value v_ = Traits::Invalid();
};

struct FileHandleTraits {
  using Value = HANDLE;
  static Value Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(Value v) { return v != INVALID_HANDLE_VALUE && v != nullptr; }
  static void Close(Value v) { CloseHandle(v); }
};
struct KernelHandleTraits : FileHandleTraits {
  static Value Invalid() { return nullptr; }
};
struct FindHandleTraits : FileHandleTraits {
  static void Close(Value v) { FindClose(v); }
};

// A change notification of FindFirstChangeNotificationA.
struct ChangeHandleTraits : FileHandleTraits {
  static void Close(Value v) { FindCloseChangeNotification(v); }
};

using FileHandle = UniqueHandle<FileHandleTraits>;
using ChangeHandle = UniqueHandle<ChangeHandleTraits>;
using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;

}  // namespace corvane

// A file system that fails one chosen call the way real disks and systems
// do: refusing, claiming success for nothing, writing something else, or
// doing the work and reporting failure.
#pragma once
#include <map>
#include <string>

#include "platform/memory/memory_filesystem.h"

namespace corvane::testing {

class FaultyFileSystem : public FileSystem {
 public:
  enum class Op { kCopy, kDelete, kRemoveFolder, kCreateFolder, kList, kRename };
  enum class Mode {
    kRefuse,      // nothing done, failure reported
    kLie,         // nothing done, success reported
    kGarble,      // a copy with other bytes, success reported (copies only)
    kDoThenFail,  // done, failure reported
  };

  explicit FaultyFileSystem(MemoryFileSystem& fs) : fs_(fs) {}

  // The nth call (from 0) of op fails in the given way.
  void FailAt(Op op, int nth, Mode mode) {
    fail_op_ = op;
    fail_at_ = nth;
    mode_ = mode;
    armed_ = true;
  }
  int Calls(Op op) const {
    auto it = calls_.find(op);
    return it == calls_.end() ? 0 : it->second;
  }
  bool Fired() const { return fired_; }

  std::vector<FileEntry> List(const std::string& folder, const std::string& pattern) override {
    switch (Hit(Op::kList)) {
      case Mode::kRefuse:
      case Mode::kLie:
      case Mode::kDoThenFail:
        return {};
      default:
        return fs_.List(folder, pattern);
    }
  }
  bool Copy(const std::string& from, const std::string& to) override {
    switch (Hit(Op::kCopy)) {
      case Mode::kRefuse:
        return false;
      case Mode::kLie:
        return true;
      case Mode::kGarble: {
        std::string data = fs_.ReadFile(from).value_or("");
        return fs_.WriteFile(to, data.substr(0, data.size() / 2) + "\x01garbled");
      }
      case Mode::kDoThenFail:
        fs_.Copy(from, to);
        return false;
      default:
        return fs_.Copy(from, to);
    }
  }
  bool Delete(const std::string& path) override {
    return Apply(Op::kDelete, [&] { return fs_.Delete(path); });
  }
  bool RemoveFolder(const std::string& path) override {
    return Apply(Op::kRemoveFolder, [&] { return fs_.RemoveFolder(path); });
  }
  bool CreateFolder(const std::string& path) override {
    return Apply(Op::kCreateFolder, [&] { return fs_.CreateFolder(path); });
  }
  std::optional<std::uint32_t> Attributes(const std::string& path) override {
    return fs_.Attributes(path);
  }
  bool SetAttributes(const std::string& path, std::uint32_t a) override {
    return fs_.SetAttributes(path, a);
  }
  bool Rename(const std::string& from, const std::string& to) override {
    return Apply(Op::kRename, [&] { return fs_.Rename(from, to); });
  }
  std::string CurrentDirectory() override { return fs_.CurrentDirectory(); }
  bool ChangeDirectory(const std::string& path) override { return fs_.ChangeDirectory(path); }
  std::optional<std::string> ReadFile(const std::string& path) override {
    return fs_.ReadFile(path);
  }
  bool WriteFile(const std::string& path, const std::string& data) override {
    return fs_.WriteFile(path, data);
  }

 private:
  static constexpr Mode kNone = static_cast<Mode>(-1);
  Mode Hit(Op op) {
    int n = calls_[op]++;
    if (!armed_ || op != fail_op_ || n != fail_at_) return kNone;
    fired_ = true;
    return mode_;
  }
  template <class F>
  bool Apply(Op op, F work) {
    switch (Hit(op)) {
      case Mode::kRefuse:
        return false;
      case Mode::kLie:
      case Mode::kGarble:
        return true;
      case Mode::kDoThenFail:
        work();
        return false;
      default:
        return work();
    }
  }

  MemoryFileSystem& fs_;
  std::map<Op, int> calls_;
  bool armed_ = false;
  Op fail_op_ = Op::kCopy;
  int fail_at_ = -1;
  Mode mode_ = Mode::kRefuse;
  bool fired_ = false;
};

}  // namespace corvane::testing

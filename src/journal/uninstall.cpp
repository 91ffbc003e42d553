#include "journal/uninstall.h"


namespace corvane::journal {
namespace {

constexpr char kUninstallGroup[] = "卸载";
// Shown at most this many paths per list: the rest is counted.
constexpr std::size_t kListed = 8;

void AppendList(std::string& out, const char* title, const std::vector<std::string>& items) {
  if (items.empty()) return;
  out += "\r\n\r\n";
  out += title;
  for (std::size_t i = 0; i < items.size() && i < kListed; ++i) out += "\r\n" + items[i];
  if (items.size() > kListed) out += "\r\n……（共 " + std::to_string(items.size()) + " 项）";
}

}  // namespace

UninstallReport Uninstall(UninstallServices s) {
  UninstallReport r;
  r.restore = Undo(s.files, s.registry, s.journal, s.profile).All();
  GroupScope group(&s.journal, kUninstallGroup);
  if (s.remove_own) s.remove_own(r);
  return r;
}

namespace {

void AppendOutcome(std::string& out, const UndoReport& r) {
  AppendList(out, "以下文件已改动过，原来的内容另存在旁边：", r.kept_beside);
  AppendList(out, "以下项目已被改动过，保持现状：", r.left);
  AppendList(out, "以下项目未能还原，可以稍后再试：", r.failed);
}

}  // namespace

std::string UndoMessage(const UndoReport& r) {
  std::string out = "更改已撤销。";
  AppendOutcome(out, r);
  return out;
}

std::string UninstallMessage(const UninstallReport& r, const std::string& program_folder) {
  std::string out = "Corvane 已还原它所做的全部更改，并删除了自己的注册表项和快捷方式。";
  AppendOutcome(out, r.restore);
  AppendList(out, "以下项目未能删除：", r.stayed);
  out += "\r\n\r\n现在可以删除程序文件夹：\r\n" + program_folder;
  return out;
}

}  // namespace corvane::journal

#include "platform/memory/memory_system.h"

#include <cstdio>

#include "core/text.h"

namespace corvane {

std::string MemorySystem::DateTimeText(const LocalTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%d-%d-%d %d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

std::uint16_t MemorySystem::FindAtom(const std::string& name) {
  for (const auto& [id, atom] : atoms_)
    if (text::SameText(atom.name, name)) return id;
  return 0;
}

std::uint16_t MemorySystem::AddAtom(const std::string& name) {
  if (std::uint16_t id = FindAtom(name)) {
    ++atoms_[id].references;
    return id;
  }
  std::uint16_t id = next_atom_++;
  atoms_[id] = Atom{name, 1};
  return id;
}

void MemorySystem::DeleteAtom(std::uint16_t atom) {
  auto it = atoms_.find(atom);
  if (it != atoms_.end() && --it->second.references <= 0) atoms_.erase(it);
}

bool MemorySystem::ClaimAtom(const std::string& name) {
  if (FindAtom(name)) return false;
  AddAtom(name);
  return true;
}

int MemoryUserInteraction::ShowMessageBox(const std::string& text, const std::string& caption,
                                      unsigned style) {
  boxes.push_back({text, caption, style});
  if (answers.empty()) return mb::kIdOk;
  int a = answers.front();
  answers.pop_front();
  return a;
}

}  // namespace corvane

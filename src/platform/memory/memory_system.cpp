#include "platform/memory/memory_system.h"

#include "core/text.h"

namespace corvane {

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

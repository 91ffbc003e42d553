// MDI for skinned forms: FormMdi, the part of a form that knows its role in
// an MDI arrangement, and MdiClientSkin, the client window of a skinned MDI
// parent, subclassed so that the skin hears of children being created,
// destroyed, cascaded and tiled, keeps the client free of the system's
// scroll bars, and attaches each new child once the host has finished
// making it.
#pragma once
#include <windows.h>

#include <memory>

#include "skin/win32/skin_registry.h"

namespace corvane::skin::win32 {

class TWinSkinForm;
class MdiClientSkin;

// What the window is in an MDI arrangement.
enum class MdiRole { kNone, kParent, kChild };

// A skinned form's part in an MDI arrangement: its role, the client window
// it subclasses as a parent, and the manager's MDI-maximised flag as the
// form sees it.
class FormMdi {
 public:
  explicit FormMdi(TWinSkinForm& form);
  ~FormMdi();
  FormMdi(const FormMdi&) = delete;
  FormMdi& operator=(const FormMdi&) = delete;

  // At attach: a child by its extended style, a parent by its client window,
  // which is subclassed then.
  void Attach(HWND window, bool mdi_child);
  // The client gets its own procedure back.
  void Release();
  MdiRole Role() const { return role_; }
  bool Child() const { return role_ == MdiRole::kChild; }
  bool Parent() const { return role_ == MdiRole::kParent; }
  bool ClientSubclassed() const { return client_skin_ != nullptr; }

  // The manager's flag: some skinned child is maximised.
  bool MaximisedNow() const;
  void SetMaximised(bool on) const;
  // A parent's active child is maximised.
  bool ActiveChildMaximised() const;
  // A parent's buttons for its maximised child: the command goes to the
  // active child, and the flag follows what the child became.
  void CommandActiveChild(UINT command) const;
  // After a parent's frame paint: a maximised child's caption is the
  // parent's bar now.
  void NoteMaximisedChild() const;

 private:
  TWinSkinForm& form_;
  MdiRole role_ = MdiRole::kNone;
  HWND client_ = nullptr;
  std::unique_ptr<MdiClientSkin> client_skin_;
};

class MdiClientSkin : public SkinnedWindow {
 public:
  MdiClientSkin(TWinSkinForm& parent, HWND client);
  ~MdiClientSkin() override;
  MdiClientSkin(const MdiClientSkin&) = delete;
  MdiClientSkin& operator=(const MdiClientSkin&) = delete;

  bool Installed() const { return Subclassed(); }
  HWND Client() const { return client_; }
  // The active child, and whether it is maximised.
  HWND ActiveChild(bool* maximised = nullptr) const;

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  LRESULT Own(UINT msg, WPARAM wp, LPARAM lp);
  bool FrameSkinned() const;

  TWinSkinForm& parent_;
  HWND client_;
  HWND created_ = nullptr;  // made by WM_MDICREATE, not yet attached
  bool menu_update_at_attach_;
};

}  // namespace corvane::skin::win32

// The client window of a skinned MDI parent: subclassed so that the skin
// hears of children being created, destroyed, cascaded and tiled, keeps the
// client free of the system's scroll bars, and attaches each new child once
// the host has finished making it.
#pragma once
#include <windows.h>

#include <memory>

#include "skin/win32/skin_registry.h"

namespace corvane::skin::win32 {

class TWinSkinForm;

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

// The system's tree view and list view behind TreeView and ListView: their
// styles, their items rebuilt from the control's state, and the
// notifications that report what the user did.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <map>

#include "ui/win32/gdi.h"

namespace corvane::ui {
class ImageList;
class TreeView;
class TreeNode;
class ListView;
}  // namespace corvane::ui

namespace corvane::ui::win32 {

class Win32Backend;

DWORD TreeViewStyle(const TreeView& view);
DWORD ListViewStyle(const ListView& view);

// A 16 x 16 image list made from the program's ImageList; rebuilt when that
// changes.
class ImageListCache {
 public:
  explicit ImageListCache(Win32Backend& backend) : backend_(backend) {}
  // The list for images (null for none) and whether it was made anew.
  HIMAGELIST For(const ImageList* images, bool* renewed);

 private:
  Win32Backend& backend_;
  const ImageList* source_ = nullptr;
  unsigned revision_ = 0;
  ImageListHandle list_;
};

class TreeViewWindow {
 public:
  TreeViewWindow(Win32Backend& backend, TreeView& view, HWND hwnd)
      : view_(view), hwnd_(hwnd), images_(backend) {}
  void SyncState();
  void SyncItems();
  void SyncSelection();
  void StartEdit();
  // A notification the window sent its parent; syncing: the program is
  // changing the window, so nothing is reported back.
  LRESULT Notified(const NMHDR& header, bool syncing);

 private:
  HTREEITEM Insert(TreeNode* node, HTREEITEM parent);
  TreeNode* NodeOf(LPARAM param) const;

  TreeView& view_;
  HWND hwnd_;
  ImageListCache images_;
  std::map<const TreeNode*, HTREEITEM> items_;
};

class ListViewWindow {
 public:
  ListViewWindow(ListView& view, HWND hwnd) : view_(view), hwnd_(hwnd) {}
  void SyncState();
  void SyncItems();
  void SyncSelection();
  LRESULT Notified(const NMHDR& header, bool syncing);
  // After the system's list has had a press of the left button: a drag the
  // program armed starts once the pointer passes the drag threshold.
  void Pressed(LPARAM at);

 private:
  void TrackDrag();
  ListView& view_;
  HWND hwnd_;
};

}  // namespace corvane::ui::win32

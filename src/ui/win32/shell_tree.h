#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "ui/win32/handles.h"
#include "ui/win32/shell_namespace.h"

namespace tarnwell {

// A tree of the shell namespace over a SysTreeView32, rooted at the desktop: folders only,
// hidden ones included, in the shell's order and with its icons. A folder's children are
// read from the shell when it is first expanded, so that opening a big folder costs only
// what is shown. Compressed folders are drawn in blue and encrypted ones in green, as
// Explorer draws them. Right-click shows the shell's context menu for a folder; a folder
// can be dragged out to any drop target.
class ShellFolderTree {
 public:
  // `place` holds the control's left and top in `parent` and, in right and bottom, its
  // width and height (as Win32Window::PlaceOf gives them), already scaled.
  ShellFolderTree(ShellNamespace& shell, HWND parent, int control_id, const RECT& place,
                  HFONT font);
  // Destroys the window and frees every item and interface.
  ~ShellFolderTree();
  ShellFolderTree(const ShellFolderTree&) = delete;
  ShellFolderTree& operator=(const ShellFolderTree&) = delete;

  HWND Handle() const { return tree_.get(); }

  // The parent window passes on every WM_NOTIFY from this tree. Returns the result to give
  // back, or nothing when the parent should go on with its own handling (a double-click is
  // the parent's: it asks SelectedPath).
  std::optional<LRESULT> OnNotify(const NMHDR& header);

  // The selected folder's file-system path, or empty text when nothing is selected or the
  // folder has none (the desktop, My Computer, the network, the recycle bin).
  std::string SelectedPath() const;

  // Expands the tree down to the folder with this file-system path and selects it; false
  // when it is not there.
  bool SelectPath(const std::string& path);

 private:
  struct Node;
  struct Icons {
    int normal;
    int open;
  };

  static LRESULT CALLBACK TreeProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  void AddDesktop();
  HTREEITEM Insert(HTREEITEM parent, std::unique_ptr<Node> node, const std::string& name,
                   int children);
  // Reads a folder's children from the shell and puts them under its item.
  HRESULT ListChildren(HTREEITEM item, Node& node);
  HTREEITEM FindChild(HTREEITEM item, const Node& node, const ITEMIDLIST* id) const;
  Node* NodeOf(LPARAM data) const;
  Node* NodeOf(HTREEITEM item) const;
  ULONG AttributesOf(Node& node) const;
  Icons IconsOf(Node& node);
  void SetChildren(HTREEITEM item, int children) const;

  LRESULT OnExpanding(const NMTREEVIEWA& change);
  void OnGetDispInfo(TVITEMA& item);
  LRESULT OnCustomDraw(NMTVCUSTOMDRAW& draw);
  void OnBeginDrag(const NMTREEVIEWA& drag);
  // Shows the context menu of the folder under a point of the screen, or of the selected
  // one when the menu was asked for from the keyboard.
  void OnContextMenu(std::optional<POINT> at);
  void ShowContextMenu(HTREEITEM item, POINT at);
  void ReportUnreadable(const Node& node, HRESULT error) const;

  ShellNamespace& shell_;
  std::unordered_map<const Node*, std::unique_ptr<Node>> nodes_;  // each item's lParam
  ShellContextMenu* open_menu_ = nullptr;                         // while one is shown
  std::optional<Icons> plain_icons_;  // those of every plain directory, asked for once
  WNDPROC tree_proc_ = nullptr;       // the tree's own window procedure, which TreeProc wraps
  UniqueWindow tree_;                 // last: destroyed first, while the nodes are still here
};

}  // namespace tarnwell

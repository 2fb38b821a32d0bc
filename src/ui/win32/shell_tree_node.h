#pragma once

// What the two files of the shell folder tree share: the node each item stands for.
#include <optional>

#include "ui/win32/shell_tree.h"

namespace tarnwell {

struct ShellFolderTree::Node {
  ComPtr<IShellFolder> parent;  // the folder that lists it; empty for the desktop
  Pidl absolute;                // from the desktop
  ComPtr<IShellFolder> folder;  // its own, bound when it is first expanded
  std::optional<ULONG> attributes;
  bool listed = false;  // its children are in the tree

  const ITEMIDLIST* Id() const { return ShellNamespace::LastItem(absolute.get()); }
};

}  // namespace tarnwell

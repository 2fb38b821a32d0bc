// The shell folder tree's notifications, context menu and window procedure.
#include <windowsx.h>

#include <cstring>

#include "ui/win32/shell_tree.h"
#include "ui/win32/shell_tree_node.h"

namespace tarnwell {
namespace {

constexpr COLORREF kCompressedColour = RGB(0, 0, 255);
constexpr COLORREF kEncryptedColour = RGB(0, 128, 0);

}  // namespace

// --- notifications ---------------------------------------------------------------------------
// The tree speaks ANSI or Unicode as its parent asks; the fields read here are laid out
// alike in both.

std::optional<LRESULT> ShellFolderTree::OnNotify(const NMHDR& header) {
  // Some notifications are answered by writing into them: the structure is the sender's.
  auto& message = const_cast<NMHDR&>(header);
  switch (header.code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW:
      return OnExpanding(reinterpret_cast<const NMTREEVIEWA&>(header));
    case TVN_GETDISPINFOA:
    case TVN_GETDISPINFOW:
      OnGetDispInfo(reinterpret_cast<NMTVDISPINFOA&>(message).item);
      return 0;
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
      nodes_.erase(reinterpret_cast<const Node*>(
          reinterpret_cast<const NMTREEVIEWA&>(header).itemOld.lParam));
      return 0;
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW:
      OnBeginDrag(reinterpret_cast<const NMTREEVIEWA&>(header));
      return 0;
    case NM_CUSTOMDRAW:
      return OnCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW&>(message));
    case NM_RCLICK: {
      const DWORD position = GetMessagePos();
      OnContextMenu(POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)});
      return 1;
    }
    default:
      return std::nullopt;
  }
}

// A folder's children are read when it is first opened. One that cannot be read stays
// closed and can be tried again; one without subfolders loses its button.
LRESULT ShellFolderTree::OnExpanding(const NMTREEVIEWA& change) {
  Node* node = NodeOf(change.itemNew.lParam);
  if ((change.action & TVE_EXPAND) == 0 || node == nullptr || node->listed) {
    return FALSE;
  }
  if (const HRESULT listed = ListChildren(change.itemNew.hItem, *node); FAILED(listed)) {
    ReportUnreadable(*node, listed);
    return TRUE;
  }
  const HTREEITEM first = reinterpret_cast<HTREEITEM>(SendMessageA(
      tree_.get(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(change.itemNew.hItem)));
  return first == nullptr ? TRUE : FALSE;
}

// Buttons and icons are asked for only when an item is drawn, which keeps a big folder
// quick to open; the tree keeps the answers.
void ShellFolderTree::OnGetDispInfo(TVITEMA& item) {
  Node* node = NodeOf(item.lParam);
  if (node == nullptr) {
    return;
  }
  if ((item.mask & TVIF_CHILDREN) != 0) {
    item.cChildren = (AttributesOf(*node) & SFGAO_HASSUBFOLDER) != 0 ? 1 : 0;
  }
  if ((item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)) != 0) {
    const Icons icons = IconsOf(*node);
    item.iImage = icons.normal;
    item.iSelectedImage = icons.open;
  }
  item.mask |= TVIF_DI_SETITEM;
}

// Asking the shell for an icon can take tens of milliseconds (it does under Wine), and a
// tall tree shows dozens of folders at once. Plain directories all have the standard
// folder icons, so the shell is asked only for the first of them.
ShellFolderTree::Icons ShellFolderTree::IconsOf(Node& node) {
  constexpr ULONG kKind = SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_STREAM | SFGAO_LINK;
  const bool plain = node.parent &&
                     (AttributesOf(node) & kKind) == (SFGAO_FILESYSTEM | SFGAO_FOLDER) &&
                     shell_.IsPlainDirectory(*node.parent.Get(), node.Id());
  if (plain && plain_icons_) {
    return *plain_icons_;
  }
  const Icons icons{shell_.IconIndex(node.absolute.get(), false),
                    shell_.IconIndex(node.absolute.get(), true)};
  if (plain) {
    plain_icons_ = icons;
  }
  return icons;
}

LRESULT ShellFolderTree::OnCustomDraw(NMTVCUSTOMDRAW& draw) {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
    return CDRF_NOTIFYITEMDRAW;
  }
  if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && (draw.nmcd.uItemState & CDIS_SELECTED) == 0) {
    if (Node* node = NodeOf(static_cast<LPARAM>(draw.nmcd.lItemlParam))) {
      const ULONG attributes = AttributesOf(*node);
      if ((attributes & SFGAO_COMPRESSED) != 0) {
        draw.clrText = kCompressedColour;
      } else if ((attributes & SFGAO_ENCRYPTED) != 0) {
        draw.clrText = kEncryptedColour;
      }
    }
  }
  return CDRF_DODEFAULT;
}

// A folder can be dragged out to anything that takes the shell's items.
void ShellFolderTree::OnBeginDrag(const NMTREEVIEWA& drag) {
  if (Node* node = NodeOf(drag.itemNew.lParam); node != nullptr && node->parent) {
    shell_.DragOut(*node->parent.Get(), node->Id(), tree_.get());
  }
}

// --- context menu ----------------------------------------------------------------------------

void ShellFolderTree::OnContextMenu(std::optional<POINT> at) {
  if (at) {
    TVHITTESTINFO hit{};
    hit.pt = *at;
    ScreenToClient(tree_.get(), &hit.pt);
    SendMessageA(tree_.get(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.hItem != nullptr && (hit.flags & TVHT_ONITEM) != 0) {
      ShowContextMenu(hit.hItem, *at);
    }
    return;
  }
  // From the keyboard: the selected folder's menu, below its name.
  auto selected =
      reinterpret_cast<HTREEITEM>(SendMessageA(tree_.get(), TVM_GETNEXTITEM, TVGN_CARET, 0));
  // The message takes the item in the rectangle it fills.
  RECT place{};
  std::memcpy(&place, &selected, sizeof(selected));
  if (selected != nullptr &&
      SendMessageA(tree_.get(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&place))) {
    POINT corner{place.left, place.bottom};
    ClientToScreen(tree_.get(), &corner);
    ShowContextMenu(selected, corner);
  }
}

void ShellFolderTree::ShowContextMenu(HTREEITEM item, POINT at) {
  SendMessageA(tree_.get(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  Node* node = NodeOf(item);
  if (node == nullptr || !node->parent) {
    return;
  }
  ShellContextMenu menu(*node->parent.Get(), node->Id(), tree_.get());
  open_menu_ = &menu;
  menu.Show(at);
  open_menu_ = nullptr;
}

LRESULT CALLBACK ShellFolderTree::TreeProc(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
  auto* self = reinterpret_cast<ShellFolderTree*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  const WNDPROC tree_proc = self->tree_proc_;
  switch (message) {
    case WM_INITMENUPOPUP:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_MENUCHAR:
      if (self->open_menu_ != nullptr) {
        if (auto result = self->open_menu_->OnMenuMessage(message, wparam, lparam)) {
          return *result;
        }
      }
      break;
    case WM_CONTEXTMENU:
      // (-1, -1) when asked for from the keyboard.
      self->OnContextMenu(
          lparam == -1 ? std::nullopt
                       : std::optional<POINT>(POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}));
      return 0;
    case WM_NCDESTROY:
      // Destroyed with its parent: nothing is left to destroy later.
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(tree_proc));
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      static_cast<void>(self->tree_.release());
      break;
    default:
      break;
  }
  return CallWindowProcW(tree_proc, window, message, wparam, lparam);
}

}  // namespace tarnwell

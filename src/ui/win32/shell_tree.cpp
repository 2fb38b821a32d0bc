#include "ui/win32/shell_tree.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "ui/win32/shell_tree_node.h"

namespace tarnwell {
namespace {

constexpr int kIndent = 19;  // pixels at 96 DPI
constexpr SHCONTF kListed = SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN;
// What the tree needs to know of a folder to draw it, asked once, when it is first drawn.
constexpr ULONG kDrawnAttributes = SFGAO_HASSUBFOLDER | SFGAO_COMPRESSED | SFGAO_ENCRYPTED |
                                   SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_STREAM | SFGAO_LINK;
// The tree's drawing is held back while many items go in, and given back on every path.
class RedrawPause {
 public:
  explicit RedrawPause(HWND window) : window_(window) {
    SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawPause() { SendMessageA(window_, WM_SETREDRAW, TRUE, 0); }
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  HWND window_;
};

std::string SystemText(HRESULT error) {
  // Errors of Windows itself come wrapped in an HRESULT; the message table knows them bare.
  const DWORD code =
      HRESULT_FACILITY(error) == FACILITY_WIN32 ? HRESULT_CODE(error) : static_cast<DWORD>(error);
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, text, sizeof(text), nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
    message.pop_back();
  }
  if (message.empty()) {
    char number[32] = {};
    wsprintfA(number, "Error 0x%08lX.", static_cast<unsigned long>(error));
    message = number;
  }
  return message;
}

}  // namespace

ShellFolderTree::ShellFolderTree(ShellNamespace& shell, HWND parent, int control_id,
                                 const RECT& place, HFONT font)
    : shell_(shell) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&classes);
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                      TVS_LINESATROOT | TVS_SHOWSELALWAYS;
  tree_.reset(CreateWindowExA(
      WS_EX_CLIENTEDGE, WC_TREEVIEWA, "", style, place.left, place.top, place.right, place.bottom,
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr));
  if (!tree_) {
    return;
  }
  // The tree's own procedure is wrapped the plain way, with this object in the window's
  // user data: comctl32's SetWindowSubclass looks the chain up on every message, which
  // under Wine made putting 10,000 folders in take seconds.
  SetWindowLongPtrW(tree_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  tree_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(tree_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TreeProc)));
  if (font != nullptr) {
    SendMessageA(tree_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  int dpi = 96;
  {
    ScreenDc screen = GetScreenDc();
    dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  SendMessageA(tree_.get(), TVM_SETINDENT, MulDiv(kIndent, dpi, 96), 0);
  if (shell_.Start()) {
    SendMessageA(tree_.get(), TVM_SETIMAGELIST, TVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(shell_.SmallIcons()));
    AddDesktop();
  }
}

ShellFolderTree::~ShellFolderTree() {
  // The window reports the deletion of its items while the nodes still exist.
  tree_.reset();
}

// The desktop, shown expanded. Its children are listed here rather than through the
// parent's forwarding, which cannot reach a tree still being made.
void ShellFolderTree::AddDesktop() {
  auto desktop = std::make_unique<Node>();
  desktop->folder = shell_.Desktop();
  desktop->absolute = shell_.DesktopList();
  if (!desktop->folder || !desktop->absolute) {
    return;
  }
  std::string name = shell_.DisplayName(*desktop->folder.Get(), desktop->Id(), SHGDN_INFOLDER);
  Node& node = *desktop;
  HTREEITEM root = Insert(TVI_ROOT, std::move(desktop), name.empty() ? "Desktop" : name, 1);
  if (root == nullptr) {
    return;
  }
  if (const HRESULT listed = ListChildren(root, node); FAILED(listed)) {
    ReportUnreadable(node, listed);
    return;
  }
  SendMessageA(tree_.get(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
}

// The node is owned here before its item exists, so that the tree never holds an lParam
// that is not a node; the item's deletion frees it.
HTREEITEM ShellFolderTree::Insert(HTREEITEM parent, std::unique_ptr<Node> node,
                                  const std::string& name, int children) {
  const Node* key = node.get();
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  insert.item.pszText = const_cast<char*>(name.c_str());
  insert.item.iImage = I_IMAGECALLBACK;
  insert.item.iSelectedImage = I_IMAGECALLBACK;
  insert.item.cChildren = children;
  insert.item.lParam = reinterpret_cast<LPARAM>(key);
  nodes_.emplace(key, std::move(node));
  auto item = reinterpret_cast<HTREEITEM>(
      SendMessageA(tree_.get(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (item == nullptr) {
    nodes_.erase(key);
  }
  return item;
}

HRESULT ShellFolderTree::ListChildren(HTREEITEM item, Node& node) {
  if (!node.folder) {
    const HRESULT bound =
        node.parent->BindToObject(node.Id(), nullptr, IID_IShellFolder, node.folder.PutVoid());
    if (FAILED(bound)) {
      node.folder.Reset();
      return bound;
    }
  }
  // No window for the shell's own messages: the tree reports its errors itself.
  ComPtr<IEnumIDList> list;
  const HRESULT opened = node.folder->EnumObjects(nullptr, kListed, list.Put());
  if (FAILED(opened)) {
    return opened;
  }
  std::vector<Pidl> children;
  // S_FALSE without a list means there is nothing to list.
  while (list) {
    ITEMIDLIST* raw = nullptr;
    ULONG fetched = 0;
    const HRESULT next = list->Next(1, &raw, &fetched);
    Pidl child = shell_.Adopt(raw);
    if (FAILED(next)) {
      return next;
    }
    if (next != S_OK) {
      break;
    }
    if (child) {
      children.push_back(std::move(child));
    }
  }
  // Stable: a folder whose comparison is not consistent cannot send the sort out of bounds.
  IShellFolder& folder = *node.folder.Get();
  std::stable_sort(children.begin(), children.end(), [&folder](const Pidl& a, const Pidl& b) {
    const HRESULT order = folder.CompareIDs(0, a.get(), b.get());
    return SUCCEEDED(order) && static_cast<short>(HRESULT_CODE(order)) < 0;
  });
  {
    RedrawPause pause(tree_.get());
    for (const Pidl& child : children) {
      auto added = std::make_unique<Node>();
      added->parent = node.folder;
      added->absolute = shell_.Combine(node.absolute.get(), child.get());
      if (added->absolute) {
        Insert(item, std::move(added), shell_.DisplayName(folder, child.get(), SHGDN_INFOLDER),
               I_CHILDRENCALLBACK);
      }
    }
  }
  node.listed = true;
  SetChildren(item, children.empty() ? 0 : 1);
  return S_OK;
}

void ShellFolderTree::SetChildren(HTREEITEM item, int children) const {
  TVITEMA change{};
  change.mask = TVIF_HANDLE | TVIF_CHILDREN;
  change.hItem = item;
  change.cChildren = children;
  SendMessageA(tree_.get(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change));
}

ShellFolderTree::Node* ShellFolderTree::NodeOf(LPARAM data) const {
  auto found = nodes_.find(reinterpret_cast<const Node*>(data));
  return found == nodes_.end() ? nullptr : found->second.get();
}

ShellFolderTree::Node* ShellFolderTree::NodeOf(HTREEITEM item) const {
  if (item == nullptr) {
    return nullptr;
  }
  TVITEMA data{};
  data.mask = TVIF_HANDLE | TVIF_PARAM;
  data.hItem = item;
  if (!SendMessageA(tree_.get(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) {
    return nullptr;
  }
  return NodeOf(data.lParam);
}

ULONG ShellFolderTree::AttributesOf(Node& node) const {
  if (!node.attributes) {
    ULONG attributes = kDrawnAttributes;
    const ITEMIDLIST* id = node.Id();
    if (!node.parent) {
      attributes = SFGAO_HASSUBFOLDER;
    } else if (FAILED(node.parent->GetAttributesOf(1, &id, &attributes))) {
      attributes = 0;
    }
    node.attributes = attributes & kDrawnAttributes;
  }
  return *node.attributes;
}

// --- paths -----------------------------------------------------------------------------------

std::string ShellFolderTree::SelectedPath() const {
  auto selected =
      reinterpret_cast<HTREEITEM>(SendMessageA(tree_.get(), TVM_GETNEXTITEM, TVGN_CARET, 0));
  const Node* node = NodeOf(selected);
  // The desktop stands for the whole namespace here, not for the folder of its files.
  if (node == nullptr || !node->parent) {
    return {};
  }
  return shell_.PathOf(node->absolute.get());
}

bool ShellFolderTree::SelectPath(const std::string& path) {
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree_.get(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
  Node* node = NodeOf(item);
  Pidl target = node != nullptr ? shell_.Parse(path) : Pidl();
  if (!target) {
    return false;
  }
  // Down the target's ids, one level of the tree each.
  for (const ITEMIDLIST* id = target.get(); id->mkid.cb != 0; id = ShellNamespace::NextItem(id)) {
    if (!node->listed && FAILED(ListChildren(item, *node))) {
      return false;
    }
    SendMessageA(tree_.get(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    item = FindChild(item, *node, id);
    node = NodeOf(item);
    if (node == nullptr) {
      return false;
    }
  }
  SendMessageA(tree_.get(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  SendMessageA(tree_.get(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  return true;
}

// The child of `item` whose id is the first one of `id`, compared by the folder itself.
HTREEITEM ShellFolderTree::FindChild(HTREEITEM item, const Node& node, const ITEMIDLIST* id) const {
  std::vector<BYTE> single(id->mkid.cb + sizeof(USHORT), 0);
  std::memcpy(single.data(), id, id->mkid.cb);
  const auto* wanted = reinterpret_cast<const ITEMIDLIST*>(single.data());
  for (auto child = reinterpret_cast<HTREEITEM>(
           SendMessageA(tree_.get(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
       child != nullptr;
       child = reinterpret_cast<HTREEITEM>(SendMessageA(tree_.get(), TVM_GETNEXTITEM, TVGN_NEXT,
                                                        reinterpret_cast<LPARAM>(child)))) {
    const Node* candidate = NodeOf(child);
    if (candidate != nullptr && node.folder->CompareIDs(0, candidate->Id(), wanted) == S_OK) {
      return child;
    }
  }
  return nullptr;
}

void ShellFolderTree::ReportUnreadable(const Node& node, HRESULT error) const {
  std::string name = shell_.PathOf(node.absolute.get());
  if (name.empty() || !node.parent) {
    name = node.parent ? shell_.DisplayName(*node.parent.Get(), node.Id(), SHGDN_NORMAL)
                       : std::string("Desktop");
  }
  HWND owner = GetAncestor(tree_.get(), GA_ROOT);
  const std::string text =
      "The folders in \"" + name + "\" cannot be shown.\n\n" + SystemText(error);
  MessageBoxA(owner, text.c_str(), TextOf(owner).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace tarnwell

#include "ui/win32/shell_namespace.h"

namespace tarnwell {
namespace {

// The shell's context-menu commands are numbered from here.
constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;

struct MenuDestroy {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroy>;

// Where a dragged item goes: it is dropped when the left button is let go; Escape or the
// right button cancels. It lives on the stack for the length of DoDragDrop, which gives back
// every reference it takes.
class DropSource final : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
      *object = static_cast<IDropSource*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape || (keys & MK_RBUTTON) != 0) {
      return DRAGDROP_S_CANCEL;
    }
    return (keys & MK_LBUTTON) == 0 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  ULONG references_ = 1;
};

std::string Narrow(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) {
    return {};
  }
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
  narrow.resize(static_cast<std::size_t>(size - 1));
  return narrow;
}

std::wstring Widen(const std::string& text) {
  const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (size <= 1) {
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
  wide.resize(static_cast<std::size_t>(size - 1));
  return wide;
}

}  // namespace

ShellNamespace::~ShellNamespace() {
  if (ole_initialised_) {
    functions_->ole_uninitialize();
  }
}

bool ShellNamespace::Start() {
  if (tried_) {
    return functions_.has_value();
  }
  tried_ = true;
  Functions found{
      shell32_.Get<decltype(&SHGetDesktopFolder)>("SHGetDesktopFolder"),
      shell32_.Get<decltype(&SHGetPathFromIDListA)>("SHGetPathFromIDListA"),
      shell32_.Get<decltype(&SHGetFileInfoA)>("SHGetFileInfoA"),
      shell32_.Get<decltype(&SHGetDataFromIDListA)>("SHGetDataFromIDListA"),
      shell32_.Get<decltype(&ILCombine)>("ILCombine"),
      shell32_.Get<decltype(&ILClone)>("ILClone"),
      ole32_.Get<decltype(&CoTaskMemFree)>("CoTaskMemFree"),
      ole32_.Get<decltype(&DoDragDrop)>("DoDragDrop"),
      ole32_.Get<decltype(&OleUninitialize)>("OleUninitialize"),
  };
  auto ole_initialize = ole32_.Get<decltype(&OleInitialize)>("OleInitialize");
  if (found.get_desktop_folder == nullptr || found.path_from_list == nullptr ||
      found.file_info == nullptr || found.data_from_list == nullptr || found.combine == nullptr ||
      found.clone == nullptr || found.free == nullptr || found.drag_drop == nullptr ||
      found.ole_uninitialize == nullptr || ole_initialize == nullptr) {
    return false;
  }
  functions_ = found;
  // A thread that already chose the multithreaded apartment keeps it: the tree still works,
  // only dragging needs OLE proper.
  ole_initialised_ = SUCCEEDED(ole_initialize(nullptr));
  return true;
}

ComPtr<IShellFolder> ShellNamespace::Desktop() const {
  ComPtr<IShellFolder> desktop;
  functions_->get_desktop_folder(desktop.Put());
  return desktop;
}

Pidl ShellNamespace::DesktopList() const {
  const SHITEMID empty{};
  return Adopt(functions_->clone(reinterpret_cast<const ITEMIDLIST*>(&empty)));
}

Pidl ShellNamespace::Combine(const ITEMIDLIST* parent, const ITEMIDLIST* child) const {
  return Adopt(functions_->combine(parent, child));
}

Pidl ShellNamespace::Parse(const std::string& path) const {
  std::wstring wide = Widen(path);
  ComPtr<IShellFolder> desktop = Desktop();
  if (wide.empty() || !desktop) {
    return Adopt(nullptr);
  }
  ITEMIDLIST* parsed = nullptr;
  const HRESULT result =
      desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &parsed, nullptr);
  Pidl owned = Adopt(parsed);
  return SUCCEEDED(result) ? std::move(owned) : Adopt(nullptr);
}

std::string ShellNamespace::PathOf(const ITEMIDLIST* absolute) const {
  char path[MAX_PATH] = {};
  return functions_->path_from_list(absolute, path) ? std::string(path) : std::string();
}

std::string ShellNamespace::DisplayName(IShellFolder& folder, const ITEMIDLIST* child,
                                        SHGDNF flags) const {
  STRRET name{};
  if (FAILED(folder.GetDisplayNameOf(child, flags, &name))) {
    return {};
  }
  switch (name.uType) {
    case STRRET_WSTR: {
      std::unique_ptr<wchar_t, TaskMemFree> text(name.pOleStr, TaskMemFree{functions_->free});
      return text ? Narrow(text.get()) : std::string();
    }
    case STRRET_OFFSET:
      return reinterpret_cast<const char*>(child) + name.uOffset;
    case STRRET_CSTR:
      return name.cStr;
    default:
      return {};
  }
}

HIMAGELIST ShellNamespace::SmallIcons() const {
  Pidl desktop = DesktopList();
  SHFILEINFOA info{};
  return reinterpret_cast<HIMAGELIST>(
      functions_->file_info(reinterpret_cast<const char*>(desktop.get()), 0, &info, sizeof(info),
                            SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

int ShellNamespace::IconIndex(const ITEMIDLIST* absolute, bool open) const {
  SHFILEINFOA info{};
  const UINT flags =
      SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0u);
  return functions_->file_info(reinterpret_cast<const char*>(absolute), 0, &info, sizeof(info),
                               flags) != 0
             ? info.iIcon
             : 0;
}

bool ShellNamespace::IsPlainDirectory(IShellFolder& folder, const ITEMIDLIST* child) const {
  // The folder's own record of the child, read from its id: no disk access.
  WIN32_FIND_DATAA found{};
  if (FAILED(functions_->data_from_list(&folder, child, SHGDFIL_FINDDATA, &found, sizeof(found)))) {
    return false;
  }
  constexpr DWORD kCustomised =
      FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT;
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (found.dwFileAttributes & kCustomised) == 0;
}

void ShellNamespace::DragOut(IShellFolder& folder, const ITEMIDLIST* child, HWND window) const {
  // The shell's copy, move and link abilities have the values of the matching drop effects.
  constexpr ULONG kAbilities = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK;
  ULONG abilities = kAbilities;
  if (FAILED(folder.GetAttributesOf(1, &child, &abilities)) || (abilities & kAbilities) == 0) {
    return;
  }
  ComPtr<IDataObject> data;
  if (FAILED(folder.GetUIObjectOf(window, 1, &child, IID_IDataObject, nullptr, data.PutVoid()))) {
    return;
  }
  DropSource source;
  DWORD effect = DROPEFFECT_NONE;
  functions_->drag_drop(data.Get(), &source, abilities & kAbilities, &effect);
}

const ITEMIDLIST* ShellNamespace::NextItem(const ITEMIDLIST* pidl) {
  return reinterpret_cast<const ITEMIDLIST*>(reinterpret_cast<const BYTE*>(pidl) + pidl->mkid.cb);
}

const ITEMIDLIST* ShellNamespace::LastItem(const ITEMIDLIST* pidl) {
  const ITEMIDLIST* last = pidl;
  for (const ITEMIDLIST* item = pidl; item->mkid.cb != 0; item = NextItem(item)) {
    last = item;
  }
  return last;
}

// --- ShellContextMenu ------------------------------------------------------------------------

ShellContextMenu::ShellContextMenu(IShellFolder& folder, const ITEMIDLIST* child, HWND owner)
    : owner_(owner) {
  if (FAILED(folder.GetUIObjectOf(owner, 1, &child, IID_IContextMenu, nullptr, menu_.PutVoid()))) {
    menu_.Reset();
  }
}

void ShellContextMenu::Show(POINT at) {
  UniqueMenu popup(CreatePopupMenu());
  if (!menu_ || !popup ||
      FAILED(menu_->QueryContextMenu(popup.get(), 0, kFirstCommand, kLastCommand, CMF_EXPLORE))) {
    return;
  }
  menu2_ = menu_.As<IContextMenu2>(IID_IContextMenu2);
  menu3_ = menu_.As<IContextMenu3>(IID_IContextMenu3);
  const auto command = static_cast<UINT>(
      TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner_, nullptr));
  menu2_.Reset();
  menu3_.Reset();
  if (command >= kFirstCommand) {
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof(invoke);
    invoke.hwnd = owner_;
    invoke.lpVerb = MAKEINTRESOURCEA(command - kFirstCommand);
    invoke.nShow = SW_SHOWNORMAL;
    menu_->InvokeCommand(&invoke);
  }
}

std::optional<LRESULT> ShellContextMenu::OnMenuMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (menu3_ && SUCCEEDED(menu3_->HandleMenuMsg2(message, wparam, lparam, &result))) {
    return result;
  }
  if (menu2_ && message != WM_MENUCHAR &&
      SUCCEEDED(menu2_->HandleMenuMsg(message, wparam, lparam))) {
    return message == WM_INITMENUPOPUP ? 0 : TRUE;
  }
  return std::nullopt;
}

}  // namespace tarnwell

#pragma once

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/win32/library.h"

namespace tarnwell {

// One reference to a COM interface, released when it goes. Copies add a reference.
template <class Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
    if (pointer_ != nullptr) {
      pointer_->AddRef();
    }
  }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  Interface* Get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  void Reset() {
    if (Interface* old = std::exchange(pointer_, nullptr)) {
      old->Release();
    }
  }
  // The out-parameter of a call that hands over a new reference.
  Interface** Put() {
    Reset();
    return &pointer_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  // The same object through another of its interfaces; empty when it has none.
  template <class Other>
  ComPtr<Other> As(REFIID iid) const {
    ComPtr<Other> other;
    if (pointer_ != nullptr) {
      pointer_->QueryInterface(iid, other.PutVoid());
    }
    return other;
  }

 private:
  Interface* pointer_ = nullptr;
};

// Frees memory the shell allocated (item id lists, names) with OLE's task allocator, whose
// address is found at run time.
struct TaskMemFree {
  decltype(&CoTaskMemFree) free = nullptr;
  void operator()(void* memory) const { free(memory); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, TaskMemFree>;

// The shell namespace and OLE, loaded on first use: shell32 and ole32 bring many more DLLs
// with them, which the program's start should not pay for. Made once in the program entry
// and kept until it ends, on the user-interface thread; OLE is initialised there (single-
// threaded apartment, as drag and drop needs) when the first tree is made, and uninitialised
// when this object goes.
class ShellNamespace {
 public:
  ShellNamespace() = default;
  ~ShellNamespace();
  ShellNamespace(const ShellNamespace&) = delete;
  ShellNamespace& operator=(const ShellNamespace&) = delete;

  // Loads the DLLs and initialises OLE the first time; false when the shell is missing.
  // Everything below needs it to have succeeded.
  bool Start();

  ComPtr<IShellFolder> Desktop() const;
  // The desktop's own id list: the empty one.
  Pidl DesktopList() const;
  // Owns a list (or any memory) the shell handed over.
  Pidl Adopt(ITEMIDLIST* pidl) const { return Pidl(pidl, TaskMemFree{functions_->free}); }
  Pidl Combine(const ITEMIDLIST* parent, const ITEMIDLIST* child) const;
  // The item of a file-system path, from the desktop; empty when the shell does not know it.
  Pidl Parse(const std::string& path) const;

  // The file-system path of an item, or empty text when it has none.
  std::string PathOf(const ITEMIDLIST* absolute) const;
  // A child's name as its folder gives it.
  std::string DisplayName(IShellFolder& folder, const ITEMIDLIST* child, SHGDNF flags) const;
  // The system image list of small icons, and an item's place in it.
  HIMAGELIST SmallIcons() const;
  int IconIndex(const ITEMIDLIST* absolute, bool open) const;
  // Whether a child is a directory that is neither read-only nor system (the marks of a
  // folder that its desktop.ini customises) nor a junction: one with the standard icons.
  bool IsPlainDirectory(IShellFolder& folder, const ITEMIDLIST* child) const;
  // Lets the user drag a child out to any drop target, until the mouse button is let go.
  void DragOut(IShellFolder& folder, const ITEMIDLIST* child, HWND window) const;

  // The last item of a list: the child's own id in its parent folder.
  static const ITEMIDLIST* LastItem(const ITEMIDLIST* pidl);
  static const ITEMIDLIST* NextItem(const ITEMIDLIST* pidl);

 private:
  struct Functions {
    decltype(&SHGetDesktopFolder) get_desktop_folder;
    decltype(&SHGetPathFromIDListA) path_from_list;
    decltype(&SHGetFileInfoA) file_info;
    decltype(&SHGetDataFromIDListA) data_from_list;
    decltype(&ILCombine) combine;
    decltype(&ILClone) clone;
    decltype(&CoTaskMemFree) free;
    decltype(&DoDragDrop) drag_drop;
    decltype(&OleUninitialize) ole_uninitialize;
  };

  Library shell32_{"shell32.dll"};
  Library ole32_{"ole32.dll"};
  std::optional<Functions> functions_;
  bool tried_ = false;
  bool ole_initialised_ = false;
};

// The shell's context menu of one item. While it is shown, the window that owns it passes
// it the messages of the items that the shell draws itself (Send To, Open With).
class ShellContextMenu {
 public:
  ShellContextMenu(IShellFolder& folder, const ITEMIDLIST* child, HWND owner);
  ShellContextMenu(const ShellContextMenu&) = delete;
  ShellContextMenu& operator=(const ShellContextMenu&) = delete;

  // Shows the menu at a point of the screen until it closes, and has the shell carry out
  // the command chosen.
  void Show(POINT at);
  // The result of a menu message the shell handled, or nothing.
  std::optional<LRESULT> OnMenuMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  HWND owner_;
  ComPtr<IContextMenu> menu_;
  ComPtr<IContextMenu2> menu2_;
  ComPtr<IContextMenu3> menu3_;
};

}  // namespace tarnwell

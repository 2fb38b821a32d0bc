// The shell folder tree in a plain window under Wine and Xvfb, against Wine's real shell:
// the desktop's folders, a folder tree the test makes, paths in and out, and a folder the
// shell cannot open.
#include "ui/win32/shell_tree.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "wine/remote_window.h"

namespace tarnwell {
namespace {

constexpr int kTreeId = 100;
constexpr char kHostClass[] = "TarnwellTreeHost";

// A top-level window holding one tree, passing its notifications on as a dialog would.
class TreeHost {
 public:
  explicit TreeHost(ShellNamespace& shell) {
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof(window_class);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!GetClassInfoExA(instance, kHostClass, &window_class)) {
      window_class.lpfnWndProc = Proc;
      window_class.hInstance = instance;
      window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      window_class.lpszClassName = kHostClass;
      RegisterClassExA(&window_class);
    }
    window_.reset(CreateWindowExA(0, kHostClass, "Tree host", WS_OVERLAPPEDWINDOW, 10, 10, 420, 560,
                                  nullptr, nullptr, instance, this));
    tree_ = std::make_unique<ShellFolderTree>(shell, window_.get(), kTreeId, RECT{8, 8, 390, 500},
                                              nullptr);
    ShowWindow(window_.get(), SW_SHOW);
    UpdateWindow(window_.get());
  }
  ~TreeHost() { tree_.reset(); }

  HWND Window() const { return window_.get(); }
  HWND Handle() const { return tree_->Handle(); }
  ShellFolderTree& Tree() { return *tree_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrA(
          window, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<TreeHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NOTIFY && self != nullptr && self->tree_ != nullptr) {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->hwndFrom == self->tree_->Handle()) {
        if (auto result = self->tree_->OnNotify(*header)) {
          return *result;
        }
      }
    }
    return DefWindowProcA(window, message, wparam, lparam);
  }

  UniqueWindow window_;
  std::unique_ptr<ShellFolderTree> tree_;
};

// --- reading the tree as a user sees it ------------------------------------------------------

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM item = nullptr) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::string TextOf(HWND tree, HTREEITEM item) {
  char text[MAX_PATH] = {};
  TVITEMA data{};
  data.mask = TVIF_HANDLE | TVIF_TEXT;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = sizeof(text);
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return text;
}

std::vector<std::string> ChildrenOf(HWND tree, HTREEITEM item) {
  std::vector<std::string> names;
  for (HTREEITEM child = Next(tree, TVGN_CHILD, item); child != nullptr;
       child = Next(tree, TVGN_NEXT, child)) {
    names.push_back(TextOf(tree, child));
  }
  return names;
}

HTREEITEM ChildNamed(HWND tree, HTREEITEM item, const std::string& name) {
  for (HTREEITEM child = Next(tree, TVGN_CHILD, item); child != nullptr;
       child = Next(tree, TVGN_NEXT, child)) {
    if (TextOf(tree, child) == name) {
      return child;
    }
  }
  return nullptr;
}

// Whether the item shows a "+": the tree asks the shell when it needs to know.
bool HasButton(HWND tree, HTREEITEM item) {
  TVITEMA data{};
  data.mask = TVIF_HANDLE | TVIF_CHILDREN;
  data.hItem = item;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return data.cChildren != 0;
}

bool IsExpanded(HWND tree, HTREEITEM item) {
  return (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
          TVIS_EXPANDED) != 0;
}

void Expand(HWND tree, HTREEITEM item) {
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

void Select(HWND tree, HTREEITEM item) {
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

// --- a modal window of this process, answered from another thread -----------------------------

// While the test's thread is held in a message box or a menu, waits on a thread of its own
// for a window of that class and lets `answer` read it and close it.
class ModalAnswer {
 public:
  ModalAnswer(const char* window_class, std::function<void(HWND)> answer)
      : thread_([this, window_class, answer] {
          HWND found = nullptr;
          for (int tries = 0; tries < 200 && found == nullptr; ++tries) {
            Sleep(50);
            found = ShownWindow(GetCurrentProcessId(), window_class);
          }
          if (found != nullptr) {
            answer(found);
            answered_ = true;
          }
        }) {}
  ~ModalAnswer() {
    if (thread_.joinable()) {
      thread_.join();
    }
  }
  // Whether the window came and was answered.
  bool Answered() {
    thread_.join();
    return answered_;
  }

 private:
  bool answered_ = false;
  std::thread thread_;
};

std::vector<std::string> MenuItems(HWND menu_window) {
  auto menu = reinterpret_cast<HMENU>(SendMessageA(menu_window, MN_GETHMENU, 0, 0));
  std::vector<std::string> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[128] = {};
    if (GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION) > 0) {
      items.push_back(text);
    }
  }
  return items;
}

// The files on the clipboard, as Explorer's Copy leaves them.
std::vector<std::string> CopiedFiles() {
  std::vector<std::string> files;
  if (!OpenClipboard(nullptr)) {
    return files;
  }
  if (HGLOBAL data = GetClipboardData(CF_HDROP)) {
    const auto* drop = static_cast<const DROPFILES*>(GlobalLock(data));
    const char* list = reinterpret_cast<const char*>(drop) + drop->pFiles;
    while (drop->fWide ? *reinterpret_cast<const wchar_t*>(list) != 0 : *list != 0) {
      char file[MAX_PATH] = {};
      if (drop->fWide) {
        const auto* wide = reinterpret_cast<const wchar_t*>(list);
        WideCharToMultiByte(CP_ACP, 0, wide, -1, file, sizeof(file), nullptr, nullptr);
        list += (wcslen(wide) + 1) * sizeof(wchar_t);
      } else {
        lstrcpynA(file, list, sizeof(file));
        list += strlen(list) + 1;
      }
      files.push_back(file);
    }
    GlobalUnlock(data);
  }
  CloseClipboard();
  return files;
}

// --- folders made for a test, removed afterwards ---------------------------------------------

class ScratchFolders {
 public:
  ScratchFolders() {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof(temp), temp);
    root_ = std::string(temp) + "tarnwell-tree-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount());
    CreateDirectoryA(root_.c_str(), nullptr);
    made_.push_back(root_);
  }
  ~ScratchFolders() {
    for (auto it = files_.rbegin(); it != files_.rend(); ++it) {
      DeleteFileA(it->c_str());
    }
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
      SetFileAttributesA(it->c_str(), FILE_ATTRIBUTE_NORMAL);
      RemoveDirectoryA(it->c_str());
    }
  }
  const std::string& Root() const { return root_; }
  std::string Make(const std::string& relative) {
    made_.push_back(root_ + "\\" + relative);
    EXPECT_TRUE(CreateDirectoryA(made_.back().c_str(), nullptr)) << made_.back();
    return made_.back();
  }
  void Write(const std::string& relative, const std::string& content) {
    files_.push_back(root_ + "\\" + relative);
    HANDLE file = CreateFileA(files_.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
  }

 private:
  std::string root_;
  std::vector<std::string> made_;
  std::vector<std::string> files_;
};

// A folder whose desktop.ini names a handler that is not installed: the shell cannot open
// it, as it cannot open a drive that is not ready. The shell reads desktop.ini only in a
// read-only or system folder.
std::string MakeUnopenable(ScratchFolders& scratch, const std::string& name) {
  const std::string folder = scratch.Make(name);
  scratch.Make(name + "\\inside");
  scratch.Write(name + "\\desktop.ini",
                "[.ShellClassInfo]\r\nCLSID={6F1E2A3B-0000-4C5D-9E8F-0123456789AB}\r\n");
  SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_READONLY);
  return folder;
}

class ShellTree : public ::testing::Test {
 protected:
  ShellNamespace shell_;
  TreeHost host_{shell_};
  HWND tree_ = host_.Handle();
  HTREEITEM root_ = Next(tree_, TVGN_ROOT);
};

TEST_F(ShellTree, ShowsTheDesktopOpenWithTheShellsFoldersBelowIt) {
  ASSERT_NE(tree_, nullptr);
  EXPECT_EQ(TextOf(tree_, root_), "Desktop");
  EXPECT_TRUE(IsExpanded(tree_, root_));
  const std::vector<std::string> desktop = ChildrenOf(tree_, root_);
  for (const char* name : {"/", "Documents", "My Computer", "Trash"}) {
    EXPECT_NE(std::find(desktop.begin(), desktop.end(), name), desktop.end()) << name;
  }
  // Trash holds no folders, the shell says: no button.
  EXPECT_FALSE(HasButton(tree_, ChildNamed(tree_, root_, "Trash")));

  HTREEITEM computer = ChildNamed(tree_, root_, "My Computer");
  ASSERT_TRUE(HasButton(tree_, computer));
  Expand(tree_, computer);
  EXPECT_TRUE(IsExpanded(tree_, computer));
  const std::vector<std::string> drives = ChildrenOf(tree_, computer);
  for (const char* name : {" (C:)", " (Z:)", "Control Panel"}) {
    EXPECT_NE(std::find(drives.begin(), drives.end(), name), drives.end()) << name;
  }
}

TEST_F(ShellTree, ExpandingAFolderShowsEverySubfolderInTheShellsOrder) {
  ScratchFolders scratch;
  // Made out of order, in mixed case and with marks that the shell's order passes over
  // but a plain comparison of characters does not.
  for (const char* name : {"beta", "Alpha", "_first", "a-z", ".hidden", "Charlie"}) {
    scratch.Make(name);
  }
  scratch.Write("file.txt", "not a folder");
  ASSERT_TRUE(host_.Tree().SelectPath(scratch.Root()));
  HTREEITEM folder = Next(tree_, TVGN_CARET);
  EXPECT_EQ(host_.Tree().SelectedPath(), scratch.Root());
  EXPECT_FALSE(IsExpanded(tree_, folder));

  Expand(tree_, folder);
  EXPECT_TRUE(IsExpanded(tree_, folder));
  // Wine marks names beginning with a dot hidden.
  EXPECT_EQ(ChildrenOf(tree_, folder),
            (std::vector<std::string>{".hidden", "_first", "Alpha", "a-z", "beta", "Charlie"}));

  // Closed and opened again from the keyboard, it shows the same folders once.
  const std::vector<std::string> first_time = ChildrenOf(tree_, folder);
  SendMessageA(tree_, WM_KEYDOWN, VK_LEFT, 0);
  ASSERT_FALSE(IsExpanded(tree_, folder));
  SendMessageA(tree_, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_TRUE(IsExpanded(tree_, folder));
  EXPECT_EQ(ChildrenOf(tree_, folder), first_time);
}

TEST_F(ShellTree, AFolderWithoutSubfoldersLosesItsButtonWhenOpened) {
  ScratchFolders scratch;
  scratch.Make("empty");
  scratch.Write("empty\\file.txt", "not a folder");
  ASSERT_TRUE(host_.Tree().SelectPath(scratch.Root() + "\\empty"));
  HTREEITEM empty = Next(tree_, TVGN_CARET);
  // Wine says every folder has subfolders, without looking.
  EXPECT_TRUE(HasButton(tree_, empty));

  Expand(tree_, empty);
  EXPECT_FALSE(HasButton(tree_, empty));
  EXPECT_FALSE(IsExpanded(tree_, empty));
  EXPECT_EQ(Next(tree_, TVGN_CHILD, empty), nullptr);
}

TEST_F(ShellTree, SelectedPathIsTheFileSystemPathOrEmptyForVirtualFolders) {
  ScratchFolders scratch;
  scratch.Make("outer");
  const std::string deepest = scratch.Make("outer\\inner");
  ASSERT_TRUE(host_.Tree().SelectPath(deepest));
  EXPECT_EQ(host_.Tree().SelectedPath(), deepest);
  EXPECT_EQ(TextOf(tree_, Next(tree_, TVGN_CARET)), "inner");
  ASSERT_TRUE(host_.Tree().SelectPath("C:\\"));
  EXPECT_EQ(TextOf(tree_, Next(tree_, TVGN_CARET)), " (C:)");
  EXPECT_EQ(host_.Tree().SelectedPath(), "C:\\");

  EXPECT_FALSE(host_.Tree().SelectPath(scratch.Root() + "\\missing"));
  EXPECT_EQ(host_.Tree().SelectedPath(), "C:\\");

  for (const char* name : {"My Computer", "Trash"}) {
    Select(tree_, ChildNamed(tree_, root_, name));
    EXPECT_EQ(host_.Tree().SelectedPath(), "") << name;
  }
  Select(tree_, root_);
  EXPECT_EQ(host_.Tree().SelectedPath(), "");
}

TEST_F(ShellTree, AFolderThatCannotBeOpenedSaysSoAndStaysClosed) {
  ScratchFolders scratch;
  const std::string broken = MakeUnopenable(scratch, "broken");
  scratch.Make("fine");
  scratch.Make("fine\\below");
  ASSERT_TRUE(host_.Tree().SelectPath(scratch.Root()));
  HTREEITEM folder = Next(tree_, TVGN_CARET);
  Expand(tree_, folder);
  HTREEITEM unopenable = ChildNamed(tree_, folder, "broken");
  ASSERT_NE(unopenable, nullptr);

  for (int attempt = 1; attempt <= 2; ++attempt) {
    std::string text;
    HWND owner = nullptr;
    ModalAnswer box("#32770", [&](HWND window) {
      char said[1024] = {};
      GetDlgItemTextA(window, 0xFFFF, said, sizeof(said));
      text = said;
      owner = GetWindow(window, GW_OWNER);
      PostMessageA(window, WM_COMMAND, IDOK, 0);
    });
    Expand(tree_, unopenable);
    ASSERT_TRUE(box.Answered()) << "attempt " << attempt;
    EXPECT_EQ(text, "The folders in \"" + broken + "\" cannot be shown.\n\nAccess denied.");
    EXPECT_EQ(owner, host_.Window());
    EXPECT_FALSE(IsExpanded(tree_, unopenable));
    EXPECT_TRUE(HasButton(tree_, unopenable));
  }

  // The rest of the tree goes on working.
  HTREEITEM fine = ChildNamed(tree_, folder, "fine");
  Expand(tree_, fine);
  EXPECT_EQ(ChildrenOf(tree_, fine), std::vector<std::string>{"below"});
  ASSERT_TRUE(host_.Tree().SelectPath(scratch.Root() + "\\fine\\below"));
  EXPECT_EQ(host_.Tree().SelectedPath(), scratch.Root() + "\\fine\\below");
}

TEST_F(ShellTree, RightClickSelectsTheFolderAndShowsTheShellsMenuForIt) {
  ScratchFolders scratch;
  scratch.Make("first");
  const std::string second = scratch.Make("second");
  ASSERT_TRUE(host_.Tree().SelectPath(scratch.Root() + "\\first"));
  HTREEITEM target = Next(tree_, TVGN_NEXT, Next(tree_, TVGN_CARET));
  ASSERT_EQ(TextOf(tree_, target), "second");

  RECT place{};
  std::memcpy(&place, &target, sizeof(target));
  SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&place));
  POINT middle{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
  const LPARAM at = MAKELPARAM(middle.x, middle.y);
  ClientToScreen(tree_, &middle);
  SetCursorPos(middle.x, middle.y);
  std::vector<std::string> items;
  {
    ModalAnswer menu("#32768", [&items](HWND window) {
      items = MenuItems(window);
      PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    // The tree waits for the button to come up before it reports the click.
    PostMessageA(tree_, WM_RBUTTONUP, 0, at);
    SendMessageA(tree_, WM_RBUTTONDOWN, MK_RBUTTON, at);
    ASSERT_TRUE(menu.Answered());
  }
  EXPECT_EQ(items, (std::vector<std::string>{"E&xplore", "&Open", "C&ut", "&Copy", "Create &Link",
                                             "&Delete", "&Properties"}));
  EXPECT_EQ(Next(tree_, TVGN_CARET), target);
  EXPECT_EQ(host_.Tree().SelectedPath(), second);

  // From the keyboard, the selected folder's menu; the shell carries out what is chosen.
  OpenClipboard(nullptr);
  EmptyClipboard();
  CloseClipboard();
  {
    ModalAnswer menu("#32768", [](HWND window) { PostMessageA(window, WM_CHAR, 'c', 0); });
    SendMessageA(tree_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree_), -1);
    ASSERT_TRUE(menu.Answered());
  }
  EXPECT_EQ(CopiedFiles(), std::vector<std::string>{second});
}

}  // namespace
}  // namespace tarnwell

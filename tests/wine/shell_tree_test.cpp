// The folder picker's shell tree under Wine and Xvfb, against Wine's shell: its folders in
// the shell's order, their paths, a folder the shell cannot open, and the shell's menu.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "support/scripted_dialogs.h"
#include "ui/folder_picker_layout.h"
#include "ui/win32/shell_namespace.h"
#include "wine/layout_check.h"

namespace tarnwell {
namespace {

using Names = std::vector<std::string>;
using tform4::JamShellTree1;

class ShellTree : public testing::Test {
 protected:
  ShellTree() {
    picker_.Connect(&sink_, &dialogs_);
    picker_.ShowCentred();
  }

  TVITEMA Item(HTREEITEM item, UINT mask, char* text = nullptr) {
    TVITEMA data{};
    data.mask = mask;
    data.hItem = item;
    data.stateMask = TVIS_EXPANDED;
    data.pszText = text;
    data.cchTextMax = MAX_PATH;
    TreeView_GetItem(tree_, &data);
    return data;
  }
  std::string Text(HTREEITEM item) {
    char text[MAX_PATH] = {};
    Item(item, TVIF_TEXT, text);
    return text;
  }
  // The children of an item, opened first, and the one named `name` among them.
  HTREEITEM Child(HTREEITEM item, const std::string& name, Names* names = nullptr) {
    TreeView_Expand(tree_, item, TVE_EXPAND);
    HTREEITEM found = nullptr;
    for (HTREEITEM child = TreeView_GetChild(tree_, item); child;
         child = TreeView_GetNextSibling(tree_, child)) {
      found = Text(child) == name ? child : found;
      if (names != nullptr) {
        names->push_back(Text(child));
      }
    }
    return found;
  }
  // A folder of C:, made first when `make`: the tree reads a folder once, when first opened.
  HTREEITEM Folder(const std::string& path, bool make = false) {
    HTREEITEM item = make ? nullptr : Child(Child(TreeView_GetRoot(tree_), "My Computer"), " (C:)");
    for (std::size_t at = 0, end = 0; at < path.size(); at = end + 1) {
      end = std::min(path.find('\\', at), path.size());
      if (make) {
        CreateDirectoryA(("C:\\" + path.substr(0, end)).c_str(), nullptr);
      } else {
        item = Child(item, path.substr(at, end - at));
      }
    }
    return item;
  }
  // Whether it shows a "+", and whether it is open.
  std::pair<bool, bool> Look(HTREEITEM item) {
    const TVITEMA data = Item(item, TVIF_CHILDREN | TVIF_STATE);
    return {data.cChildren != 0, (data.state & TVIS_EXPANDED) != 0};
  }

  ShellNamespace shell_;
  Win32Window picker_{FolderPickerLayout(),
                      {GetModuleHandleA(nullptr), nullptr, nullptr, false, false, &shell_}};
  HWND tree_ = picker_.Control(JamShellTree1);
  RecordingSink sink_;
  ScriptedDialogs dialogs_;
};

// The desktop, open, holds the shell's folders; a folder lists its subfolders in the shell's
// order when opened, once however often; one without any loses its "+". The tree's text is
// the selected folder's path, empty for one without; a double-click is the window's.
TEST_F(ShellTree, ShowsTheShellsFoldersAndTheirPaths) {
  HTREEITEM desktop = TreeView_GetRoot(tree_);
  EXPECT_EQ("Desktop", Text(desktop));
  EXPECT_EQ(std::pair(true, true), Look(desktop));
  EXPECT_EQ(std::pair(false, false), Look(Child(desktop, "Trash")));
  for (const char* name : {"beta", "Alpha", "_first", "a-z", ".hidden", "Charlie", "none"}) {
    Folder("Tree\\" + std::string(name), true);
  }
  HTREEITEM folder = Folder("Tree");
  for (int time = 0; time < 2; ++time) {
    Names names;
    TreeView_Expand(tree_, folder, TVE_COLLAPSE);
    SendMessageA(tree_, WM_KEYDOWN, VK_RIGHT, 0);  // opened from the keyboard
    Child(folder, "", &names);
    EXPECT_EQ((Names{".hidden", "_first", "Alpha", "a-z", "beta", "Charlie", "none"}), names);
  }
  HTREEITEM none = Child(folder, "none");
  TreeView_Expand(tree_, none, TVE_EXPAND);
  EXPECT_EQ(std::pair(false, false), Look(none));
  for (const auto& [item, path] : {std::pair{none, "C:\\Tree\\none"},
                                   {desktop, ""},
                                   {Child(desktop, "My Computer"), ""},
                                   {Folder(""), "C:\\"}}) {
    TreeView_SelectItem(tree_, item);
    EXPECT_EQ(path, picker_.Text(JamShellTree1));
  }
  RECT place{};
  TreeView_GetItemRect(tree_, TreeView_GetSelection(tree_), &place, TRUE);
  SendMessageA(tree_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(place.left + 2, place.top + 2));
  ASSERT_FALSE(sink_.events.empty());
  EXPECT_EQ(std::pair(ControlId{JamShellTree1}, Event::DoubleClick), sink_.events.back());
}

// A folder whose desktop.ini names a handler that is not there cannot be opened, as a drive
// that is not ready: each try says so over the window, and the folder stays closed.
TEST_F(ShellTree, AFolderThatCannotBeOpenedSaysSoAndStaysClosed) {
  Folder("Broken\\inside", true);
  HANDLE ini =
      CreateFileA("C:\\Broken\\desktop.ini", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  const char text[] = "[.ShellClassInfo]\r\nCLSID={6F1E2A3B-0000-4C5D-9E8F-0123456789AB}\r\n";
  DWORD written = 0;
  WriteFile(ini, text, sizeof(text) - 1, &written, nullptr);
  CloseHandle(ini);
  SetFileAttributesA("C:\\Broken", FILE_ATTRIBUTE_READONLY);  // else desktop.ini is not read
  HTREEITEM broken = Folder("Broken");
  for (int attempt = 1; attempt <= 2; ++attempt) {
    std::string said;
    HWND owner = nullptr;
    std::thread user = WhenShown("#32770", nullptr, [&](HWND box) {
      said = WindowText(GetDlgItem(box, 0xFFFF));
      owner = GetWindow(box, GW_OWNER);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    TreeView_Expand(tree_, broken, TVE_EXPAND);
    user.join();
    EXPECT_EQ("The folders in \"C:\\Broken\" cannot be shown.\n\nAccess denied.", said);
    EXPECT_EQ(picker_.Handle(), owner);
    EXPECT_EQ(std::pair(true, false), Look(broken));
  }
}

// A right click selects the folder and shows the shell's menu for it; from the keyboard, the
// selected folder's, and the shell carries out the item chosen.
TEST_F(ShellTree, RightClickShowsTheShellsMenuForTheFolder) {
  Folder("Menu\\first", true);
  Folder("Menu\\second", true);
  HTREEITEM second = Folder("Menu\\second");
  TreeView_EnsureVisible(tree_, second);
  RECT place{};
  TreeView_GetItemRect(tree_, second, &place, TRUE);
  POINT middle{place.left + 2, place.top + 2};
  const LPARAM at = MAKELPARAM(middle.x, middle.y);
  ClientToScreen(tree_, &middle);
  SetCursorPos(middle.x, middle.y);  // where the tree looks for the folder clicked
  Names items;
  std::thread user = WhenShown("#32768", nullptr, [&](HWND menu_window) {
    auto menu = reinterpret_cast<HMENU>(SendMessageA(menu_window, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char text[128] = {};
      if (GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION) > 0) {
        items.push_back(text);
      }
    }
    PostMessageA(menu_window, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  PostMessageA(tree_, WM_RBUTTONUP, 0, at);  // the tree waits for it before it reports
  SendMessageA(tree_, WM_RBUTTONDOWN, MK_RBUTTON, at);
  user.join();
  EXPECT_EQ((Names{"E&xplore", "&Open", "C&ut", "&Copy", "Create &Link", "&Delete", "&Properties"}),
            items);
  EXPECT_EQ("C:\\Menu\\second", picker_.Text(JamShellTree1));

  user = WhenShown("#32768", nullptr, [](HWND menu) { PostMessageA(menu, WM_CHAR, 'c', 0); });
  SendMessageA(tree_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree_), -1);
  user.join();
  char copied[MAX_PATH] = {};
  OpenClipboard(nullptr);
  DragQueryFileA(static_cast<HDROP>(GetClipboardData(CF_HDROP)), 0, copied, sizeof(copied));
  CloseClipboard();
  EXPECT_STREQ("C:\\Menu\\second", copied);
}

}  // namespace
}  // namespace tarnwell

// The folder picker and the custom save locations windows as the Win32 binding builds them,
// under Wine and Xvfb: each against its table, the real shell tree walked down to a folder
// made here and double-clicked, and the two places windows working together.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <gmock/gmock.h>
#include <string>
#include <vector>

#include "support/main_window_harness.h"
#include "ui/folder_picker_layout.h"
#include "ui/main_layout.h"
#include "ui/places_layout.h"
#include "ui/win32/shell_tree.h"
#include "windows/folder_picker.h"
#include "windows/places_window.h"
#include "wine/layout_check.h"

namespace tarnwell {
namespace {

using testing::Contains;
using testing::ElementsAre;

std::string ItemText(HWND tree, HTREEITEM item) {
  char text[MAX_PATH] = {};
  TVITEMA data{};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = sizeof(text);
  TreeView_GetItem(tree, &data);
  return text;
}

std::vector<std::string> Children(HWND tree, HTREEITEM parent) {
  TreeView_Expand(tree, parent, TVE_EXPAND);
  std::vector<std::string> names;
  for (HTREEITEM child = TreeView_GetChild(tree, parent); child != nullptr;
       child = TreeView_GetNextSibling(tree, child)) {
    names.push_back(ItemText(tree, child));
  }
  return names;
}

HTREEITEM Child(HWND tree, HTREEITEM parent, const std::string& name) {
  TreeView_Expand(tree, parent, TVE_EXPAND);
  for (HTREEITEM child = TreeView_GetChild(tree, parent); child != nullptr;
       child = TreeView_GetNextSibling(tree, child)) {
    if (ItemText(tree, child) == name) {
      return child;
    }
  }
  return nullptr;
}

// What a user's double-click does: the first click selects the item, the second makes the
// tree tell its parent.
void DoubleClick(HWND tree, HTREEITEM item) {
  TreeView_SelectItem(tree, item);
  TreeView_EnsureVisible(tree, item);
  RECT place{};
  std::memcpy(&place, &item, sizeof(item));  // the item goes in, its place comes out
  SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&place));
  const LPARAM at = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);
  SendMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(tree, WM_LBUTTONUP, 0, at);
}

class FoldersUi : public testing::Test {
 protected:
  Win32Window::Options Options(bool kept = false) {
    return {instance_, nullptr, nullptr, false, kept, &shell_};
  }

  HINSTANCE instance_ = GetModuleHandleA(nullptr);
  ShellNamespace shell_;
};

// The picker's tree is the shell's: the desktop with My Computer and its drives, down to a
// folder made here, whose double-click chooses its path.
TEST_F(FoldersUi, PickerWalksTheShellAndADoubleClickFillsTheTargetField) {
  CreateDirectoryA("C:\\Picker Test", nullptr);
  CreateDirectoryA("C:\\Picker Test\\Archive 2013", nullptr);
  CreateDirectoryA("C:\\Picker Test\\Hidden", nullptr);
  SetFileAttributesA("C:\\Picker Test\\Hidden", FILE_ATTRIBUTE_HIDDEN);

  std::optional<std::string> chosen;
  ScriptedDialogs dialogs;
  Win32Window picker(FolderPickerLayout(), Options());
  FolderPicker logic(picker, chosen);
  picker.Connect(&logic, &dialogs);
  picker.ShowCentred();
  HWND tree = picker.Control(tform4::JamShellTree1);
  ASSERT_NE(nullptr, tree);
  EXPECT_EQ(19, TreeView_GetIndent(tree));
  EXPECT_TRUE(GetWindowLongA(tree, GWL_STYLE) & TVS_SHOWSELALWAYS);

  HTREEITEM desktop = TreeView_GetRoot(tree);
  EXPECT_EQ("Desktop", ItemText(tree, desktop));
  EXPECT_THAT(Children(tree, desktop), Contains("My Computer"));
  HTREEITEM computer = Child(tree, desktop, "My Computer");
  EXPECT_THAT(Children(tree, computer), testing::IsSupersetOf({" (C:)", " (Z:)"}));

  // A node without a file-system path leaves the picker open and fills nothing.
  DoubleClick(tree, computer);
  EXPECT_NE(nullptr, picker.Handle());
  EXPECT_EQ(std::nullopt, chosen);

  HTREEITEM folder = Child(tree, Child(tree, computer, " (C:)"), "Picker Test");
  ASSERT_NE(nullptr, folder);
  EXPECT_THAT(Children(tree, folder), ElementsAre("Archive 2013", "Hidden"));
  DoubleClick(tree, Child(tree, folder, "Archive 2013"));
  EXPECT_EQ("C:\\Picker Test\\Archive 2013\\", chosen);
  EXPECT_EQ(nullptr, picker.Handle()) << "the picker closes after a choice";
}

// The entry window is kept hidden between uses and emptied when shown; the places window
// lists anew when it becomes active again, so a place added shows at once.
TEST_F(FoldersUi, EntryWindowBesideThePlacesWindowAddsAPlace) {
  const std::string places_key =
      "Software\\Microsoft\\Office\\14.0\\Common\\Open Find\\Places\\UserDefinedPlaces";
  MemoryRegistry registry;
  registry.Key(Root::CurrentUser, places_key + "\\Projects")
      .String("Name", "Projects")
      .String("Path", "D:\\Projects\\");
  MemoryFileSystem files;
  files.AddFolder("E:\\Archive");
  ScriptedDialogs dialogs;
  FixedElevation elevation;
  FakeProcesses processes(nullptr);
  FakeShell shell(nullptr);
  FixedClock clock;
  const Services services{registry, dialogs, elevation, files, processes, shell, clock};
  AppState state;
  state.OutlookVersion.MajorVersion = OfficeVersion::V14;

  Win32Window entry(LocationEntryLayout(), Options(true));
  MemoryForm main(MainWindowLayout());
  LocationEntryWindow entry_logic(entry, main, services, state);
  entry.Connect(&entry_logic, &dialogs);
  Win32Window places(PlacesWindowLayout(), Options());
  PlacesWindow places_logic(places, entry, services, state);
  places.Connect(&places_logic, &dialogs);
  places.ShowCentred();
  EXPECT_THAT(places.Items(form5::lbLocations), ElementsAre("Projects"));

  entry.SetText(form6::edLocName, "left from last time");
  SendMessageA(places.Control(form5::btnAdd), BM_CLICK, 0, 0);
  EXPECT_TRUE(IsWindowVisible(entry.Handle()));
  EXPECT_EQ("", entry.Text(form6::edLocName));
  SendMessageA(entry.Control(form6::edLocName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Archive"));
  SendMessageA(entry.Control(form6::edLocPath), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>("E:\\Archive\\"));
  SendMessageA(entry.Control(form6::btnAddToList), BM_CLICK, 0, 0);

  EXPECT_NE(nullptr, entry.Handle()) << "kept, not destroyed";
  EXPECT_FALSE(IsWindowVisible(entry.Handle()));
  EXPECT_EQ(places.Handle(), GetActiveWindow());
  EXPECT_THAT(places.Items(form5::lbLocations), ElementsAre("Archive", "Projects"));
  EXPECT_EQ("E:\\Archive\\",
            registry.Value(Root::CurrentUser, places_key + "\\Archive", "Path")->TextUpToNul());
}

}  // namespace
}  // namespace tarnwell

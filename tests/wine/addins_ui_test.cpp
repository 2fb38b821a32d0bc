// The add-in status window as the Win32 binding builds it, under Wine and Xvfb: against its
// table, its radio group, the add-ins of Wine's registry in both reads, and resizing.
#include <windows.h>

#include <gmock/gmock.h>
#include <string>
#include <vector>

#include "ui/addins_layout.h"
#include "windows/addins_window.h"
#include "wine/layout_check.h"
#include "wine/real_services.h"

namespace tarnwell {
namespace {

using testing::ElementsAre;
using namespace form7;

constexpr const char* kAddins = "Software\\Microsoft\\Office\\Outlook\\Addins";

RECT Grown(RECT place, int left, int top, int right, int bottom) {
  return RECT{place.left + left, place.top + top, place.right + right, place.bottom + bottom};
}

void ExpectPlace(const RECT& expected, HWND control) {
  const RECT actual = PlaceInParent(control);
  EXPECT_EQ(expected.left, actual.left);
  EXPECT_EQ(expected.top, actual.top);
  EXPECT_EQ(expected.right, actual.right);
  EXPECT_EQ(expected.bottom, actual.bottom);
}

class AddinsUi : public testing::Test {
 protected:
  void SetUp() override {
    HKEY office = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Office", 0, KEY_ALL_ACCESS,
                      &office) == ERROR_SUCCESS) {
      RegDeleteTreeA(office, "Outlook");
      RegCloseKey(office);
    }
    state_.Is64BitWindows = true;
    state_.OutlookVersion.MajorVersion = OfficeVersion::V14;
  }

  void Addin(const std::string& key, const char* friendly_name, std::uint32_t load_behavior,
             Root root = Root::CurrentUser, const std::string& addins = kAddins) {
    RegKey addin;
    ASSERT_EQ(kSuccess, addin.Create(real_.registry, root, addins + "\\" + key, Rights::Write,
                                     RegistryView::View64));
    ASSERT_EQ(kSuccess, addin.SetString("FriendlyName", friendly_name));
    ASSERT_EQ(kSuccess, addin.SetString("Description", std::string(friendly_name) + " add-in."));
    ASSERT_EQ(kSuccess, addin.SetDword("LoadBehavior", load_behavior));
  }

  // The user clicks list item `item`: the list tells its window.
  void ClickItem(int item) {
    HWND list = window_.Control(lbAddins);
    SendMessageA(list, LB_SETCURSEL, item, 0);
    SendMessageA(window_.Handle(), WM_COMMAND, MAKEWPARAM(lbAddins, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  }

  std::vector<int> Checked() {
    std::vector<int> checked;
    for (int index = 0; index < 7; ++index) {
      checked.push_back(static_cast<int>(SendMessageA(Radio(index), BM_GETCHECK, 0, 0)));
    }
    return checked;
  }

  HWND Radio(int index) {
    HWND radio = GetWindow(window_.Control(rgLoadBehavior), GW_HWNDNEXT);
    for (int i = 0; i < index; ++i) {
      radio = GetWindow(radio, GW_HWNDNEXT);
    }
    return radio;
  }

  RealServices real_;
  AppState state_;
  Win32Window window_{AddinsWindowLayout(), {GetModuleHandleA(nullptr), nullptr, nullptr}};
};

// Its radio group is a frame with one radio button per item, none checked, in the tab order
// where the table puts it.
TEST_F(AddinsUi, WindowMatchesItsTable) {
  ASSERT_NE(nullptr, window_.Handle());
  ExpectSizeableWindow(window_, 518, 547);
  EXPECT_THAT(window_.Items(rgLoadBehavior), ElementsAre("0", "1", "2", "3", "8", "9", "16"));
  EXPECT_EQ(-1, window_.Selected(rgLoadBehavior));
  const RECT group = PlaceInParent(window_.Control(rgLoadBehavior));
  for (int index = 0; index < 7; ++index) {
    HWND radio = Radio(index);
    EXPECT_EQ(BS_AUTORADIOBUTTON, GetWindowLongA(radio, GWL_STYLE) & BS_TYPEMASK);
    EXPECT_EQ(rgLoadBehavior, GetDlgCtrlID(radio));
    const RECT place = PlaceInParent(radio);
    EXPECT_TRUE(place.left > group.left && place.right < group.right && place.top > group.top &&
                place.bottom < group.bottom)
        << index;
  }
  std::vector<int> tab_stops;
  for (HWND child = GetWindow(window_.Handle(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) {
      tab_stops.push_back(GetDlgCtrlID(child));
    }
  }
  EXPECT_THAT(tab_stops,
              ElementsAre(lbAddins, memoAddinDesc, rgLoadBehavior, memoLoadDesc, btnClose));
}

// Both reads of Wine's registry, each item showing its own add-in; a radio click checks its
// button and writes nothing.
TEST_F(AddinsUi, ListsTheRegistrysAddinsAndShowsTheClickedOne) {
  Addin("A.Filer", "Mail Filer", 3);
  Addin("B.Archive", "Mail Filer", 16);
  Addin("C.Odd", "Odd", 5);
  for (Bitness bitness : {Bitness::Bits32, Bitness::Bits64}) {
    state_.OutlookVersion.OutlookBitness = bitness;
    SCOPED_TRACE(state_.OutlookVersion.DisplayText());
    Win32Window window(AddinsWindowLayout(), {GetModuleHandleA(nullptr), nullptr, nullptr});
    AddinsWindow logic(window, real_.services, state_);
    EXPECT_THAT(window.Items(lbAddins), ElementsAre("Mail Filer", "Mail Filer", "Odd"));
    EXPECT_EQ("Mail Filer add-in.", WindowText(window.Control(memoAddinDesc)));
    EXPECT_EQ("Add-in Loaded - Outlook will load the add-in at startup.",
              WindowText(window.Control(memoLoadDesc)));
    EXPECT_EQ(3, window.Selected(rgLoadBehavior));
  }

  state_.OutlookVersion.OutlookBitness = Bitness::Bits32;
  AddinsWindow logic(window_, real_.services, state_);
  window_.Connect(&logic, &real_.dialogs);
  ClickItem(1);
  EXPECT_EQ(
      "Add-in Loaded - The add-in will be loaded automatically the first time, then on-demand "
      "afterwards.",
      WindowText(window_.Control(memoLoadDesc)));
  EXPECT_THAT(Checked(), ElementsAre(0, 0, 0, 0, 0, 0, 1));
  ClickItem(2);
  EXPECT_EQ("Odd add-in.", WindowText(window_.Control(memoAddinDesc)));
  EXPECT_EQ("", WindowText(window_.Control(memoLoadDesc)));
  EXPECT_EQ(-1, window_.Selected(rgLoadBehavior));

  SendMessageA(Radio(4), BM_CLICK, 0, 0);
  EXPECT_EQ(4, window_.Selected(rgLoadBehavior));
  RegKey odd;
  RegValue value;
  ASSERT_EQ(kSuccess, odd.Open(real_.registry, Root::CurrentUser, std::string(kAddins) + "\\C.Odd",
                               Rights::Read, RegistryView::View64));
  ASSERT_EQ(kSuccess, odd.Query("LoadBehavior", 4, value));
  EXPECT_EQ(5u, value.Number());
}

// A 32-bit Click-to-Run Outlook reads its bubble's 32-bit branch, a key of the 64-bit view.
TEST_F(AddinsUi, ListsTheAddinsOfAllUsersFromTheClickToRunBubble) {
  Addin("B.Bubble", "Bubble", 16, Root::LocalMachine,
        "Software\\Microsoft\\Office\\ClickToRun\\REGISTRY\\MACHINE\\Software\\Wow6432Node\\"
        "Microsoft\\Office\\Outlook\\Addins");
  state_.OutlookVersion.MajorVersion = OfficeVersion::V16;
  state_.OutlookVersion.OutlookBitness = Bitness::Bits32;
  state_.OutlookVersion.Kind = InstallKind::ClickToRun;
  AddinsWindow logic(window_, real_.services, state_);
  EXPECT_THAT(window_.Items(lbAddins), ElementsAre("Bubble (all users)"));
  EXPECT_EQ("Bubble add-in.", WindowText(window_.Control(memoAddinDesc)));
}

// Grown, the list takes the height and the boxes the width, the rest keeps to the bottom and
// "&Close" to the bottom right; it cannot be made smaller than designed.
TEST_F(AddinsUi, ResizingKeepsControlsAtTheirEdgesAndNeverShrinksBelowTheDesign) {
  auto place = [this](ControlId id) { return PlaceInParent(window_.Control(id)); };
  const RECT list = place(lbAddins);
  const RECT description = place(memoAddinDesc);
  const RECT sentence = place(memoLoadDesc);
  const RECT group = place(rgLoadBehavior);
  const RECT label = place(lblLoadDesc);
  const RECT close = place(btnClose);
  const RECT first_item = PlaceInParent(Radio(0));

  SetWindowPos(window_.Handle(), nullptr, 0, 0, 518 + 100, 547 + 80,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ExpectPlace(Grown(list, 0, 0, 100, 80), window_.Control(lbAddins));
  ExpectPlace(Grown(description, 0, 80, 100, 80), window_.Control(memoAddinDesc));
  ExpectPlace(Grown(sentence, 0, 80, 100, 80), window_.Control(memoLoadDesc));
  ExpectPlace(Grown(group, 0, 80, 0, 80), window_.Control(rgLoadBehavior));
  ExpectPlace(Grown(label, 0, 80, 0, 80), window_.Control(lblLoadDesc));
  ExpectPlace(Grown(close, 100, 80, 100, 80), window_.Control(btnClose));
  ExpectPlace(Grown(first_item, 0, 80, 0, 80), Radio(0));

  MINMAXINFO limits{};
  SendMessageA(window_.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(518, limits.ptMinTrackSize.x);
  EXPECT_EQ(547, limits.ptMinTrackSize.y);
  SetWindowPos(window_.Handle(), nullptr, 0, 0, 300, 200,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT frame{};
  GetWindowRect(window_.Handle(), &frame);
  EXPECT_EQ(518, frame.right - frame.left);
  EXPECT_EQ(547, frame.bottom - frame.top);
  ExpectPlace(close, window_.Control(btnClose));
  ExpectPlace(list, window_.Control(lbAddins));
}

}  // namespace
}  // namespace tarnwell

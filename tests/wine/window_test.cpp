// The Win32 binding under Wine and Xvfb: every window against its layout rows, control kinds
// written and read, events from window messages, the message loop, message boxes, and the
// shell folder tree.
#include "ui/win32/window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <array>
#include <cctype>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <thread>

#include "support/layouts.h"
#include "support/scripted_dialogs.h"
#include "ui/win32/shell_namespace.h"
#include "ui/win32/win32_dialogs.h"
#include "wine/remote_window.h"

namespace tarnwell {
namespace {

using namespace tform1;
using namespace std::string_literals;
using W = Win32Window;
using Arg = const std::string;
using Events = std::vector<std::pair<ControlId, Event>>;
using Names = std::vector<std::string>;
const HINSTANCE kInstance = GetModuleHandleA(nullptr);

void ShowEveryPage(W& window) {
  for (const auto& row : window.Layout().controls) {
    window.ShowPage(row.id);
  }
}

// A control's place in its parent; a label sized by its caption is expected without a size.
void ExpectPlace(const LayoutRect& expected, HWND control) {
  RECT at{};
  GetWindowRect(control, &at);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&at), 2);
  const bool sized = expected.width != 0;
  EXPECT_EQ(
      std::tuple(expected.left, expected.top, expected.width, expected.height),
      std::tuple(at.left, at.top, sized ? at.right - at.left : 0, sized ? at.bottom - at.top : 0));
}

// The row's place on the window or page holding it (`holder`), the window grown by (dw, dh):
// a group box holds its controls beside itself and moves them along.
LayoutRect ExpectedPlace(const WindowLayout& layout, const ControlLayout& row, int dw, int dh,
                         ControlId& holder) {
  LayoutRect place = row.rect;
  const ControlLayout* outer = &row;
  for (const ControlLayout* box = layout.Find(row.parent);
       box != nullptr && box->kind == ControlKind::GroupBox; box = layout.Find(box->parent)) {
    place = {place.left + box->rect.left, place.top + box->rect.top, place.width, place.height};
    outer = box;
  }
  holder = outer->parent;
  if (holder != kNoControl || row.kind == ControlKind::Page) {
    return place;
  }
  const LayoutRect moved = AnchoredRect(outer->rect, outer->anchors, dw, dh);
  place.left += moved.left - outer->rect.left;
  place.top += moved.top - outer->rect.top;
  return outer == &row ? moved : place;
}

// The window's caption, client size and frame; each control's id, caption, state, place,
// font, colour and picture, a radio group's items beside its frame; each page's tab stops.
void ExpectWindowMatchesItsRows(const W& window, int dw, int dh) {
  const WindowLayout& layout = window.Layout();
  EXPECT_EQ(layout.caption, WindowText(window.Handle()));
  RECT client{};
  GetClientRect(window.Handle(), &client);
  EXPECT_EQ(std::tuple(layout.client_width + dw, layout.client_height + dh),
            std::tuple(client.right, client.bottom));
  EXPECT_EQ(WS_SYSMENU | (layout.border == WindowBorder::Sizeable ? WS_THICKFRAME : 0),
            GetWindowLongA(window.Handle(), GWL_STYLE) &
                (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  std::map<HWND, std::vector<ControlId>> tab_stops;
  for (const auto& row : layout.controls) {
    SCOPED_TRACE(std::string(row.name));
    HWND control = window.Control(row.id);
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(
        std::tuple(row.id, row.enabled, std::string(row.caption)),
        std::tuple(GetDlgCtrlID(control), IsWindowEnabled(control) != FALSE, WindowText(control)));
    if (row.kind == ControlKind::Edit || row.kind == ControlKind::Memo) {
      const bool as_static =
          !IsWindowEnabled(control) || (GetWindowLongA(control, GWL_STYLE) & ES_READONLY);
      HDC dc = GetDC(control);
      LOGBRUSH look{};
      GetObjectA(
          HBRUSH(SendMessageA(GetParent(control), as_static ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                              WPARAM(dc), LPARAM(control))),
          sizeof(look), &look);
      ReleaseDC(control, dc);
      EXPECT_EQ(
          row.colour == FieldColour::Silver ? RGB(0xC0, 0xC0, 0xC0) : GetSysColor(COLOR_WINDOW),
          look.lbColor);
      EXPECT_EQ(0, SendMessageA(control, EM_GETMODIFY, 0, 0));
    }
    ControlId holder = kNoControl;
    const LayoutRect place = ExpectedPlace(layout, row, dw, dh, holder);
    if (row.kind != ControlKind::Page) {
      ExpectPlace(place, control);
    }
    if (row.Focusable()) {
      tab_stops[holder == kNoControl ? window.Handle() : window.Control(holder)].push_back(row.id);
    }
    LOGFONTA font{};
    GetObjectA(HFONT(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
    if (row.kind != ControlKind::Page && row.kind != ControlKind::Picture) {
      EXPECT_EQ(std::tuple("MS Sans Serif"s, -11L, row.bold ? FW_BOLD : FW_NORMAL,
                           row.kind == ControlKind::Link),
                std::tuple(std::string(font.lfFaceName), font.lfHeight, font.lfWeight,
                           font.lfUnderline != 0));
    }
    const UINT get_image = row.kind == ControlKind::PictureButton ? BM_GETIMAGE : STM_GETIMAGE;
    EXPECT_EQ(!row.picture.empty(), SendMessageA(control, get_image, IMAGE_BITMAP, 0) != 0);
    const int count = static_cast<int>(row.items.size());
    for (int index = 0; index < count; ++index) {
      control = GetWindow(control, GW_HWNDNEXT);
      EXPECT_EQ(std::tuple(LONG(BS_AUTORADIOBUTTON), row.id, std::string(row.items[index])),
                std::tuple(GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK, GetDlgCtrlID(control),
                           WindowText(control)));
      ExpectPlace(RadioItemRect(place, index, count), control);
    }
  }
  for (const auto& [holder, expected] : tab_stops) {
    std::vector<ControlId> in_window;
    for (HWND child = GetWindow(holder, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) {
        in_window.push_back(GetDlgCtrlID(child));
      }
    }
    EXPECT_EQ(expected, in_window) << WindowText(holder);
  }
}

// Every window with every page shown; a sizeable one also grown, its controls kept at their
// anchored edges, and shrunk, which leaves it at its designed size.
class EachWindow : public testing::TestWithParam<const WindowLayout*> {};

TEST_P(EachWindow, EveryControlMatchesItsRow) {
  ResourcePictures pictures(kInstance);
  ShellNamespace shell;
  W window(*GetParam(), {kInstance, nullptr, &pictures, false, false, &shell});
  ShowEveryPage(window);
  ExpectWindowMatchesItsRows(window, 0, 0);
  RECT frame{};
  GetWindowRect(window.Handle(), &frame);
  for (const auto [dw, dh, width, height] :
       {std::array<LONG, 4>{100, 80, frame.right - frame.left + 100, frame.bottom - frame.top + 80},
        std::array<LONG, 4>{0, 0, 300, 200}}) {
    if (GetParam()->border == WindowBorder::Sizeable) {
      SetWindowPos(window.Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
      ExpectWindowMatchesItsRows(window, dw, dh);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, EachWindow, testing::ValuesIn(EveryLayout()), LayoutName());

struct RecordingSink final : EventSink {
  void OnEvent(ControlId id, Event event) override { events.emplace_back(id, event); }
  Events events;
};

// Waits on a thread of its own for a shown window of this class and hands it to `answer`.
template <typename Answer>
std::thread WhenShown(const char* window_class, Answer answer) {
  return std::thread([=] {
    for (int attempt = 0; attempt < 500; ++attempt) {
      if (HWND shown = FindWindowA(window_class, nullptr); shown && IsWindowVisible(shown)) {
        return answer(shown);
      }
      Sleep(10);
    }
  });
}

// What the Form reads, "text|enabled checked silver modified|items|selection events": the
// text of an edit, the lines of a memo, the items of a list; C a click, D a double-click.
std::string Readings(const W& window, ControlId id, const Events& events = {}) {
  const ControlLayout* row = window.Layout().Find(id);
  const auto kind = row ? row->kind : ControlKind::Button;
  std::ostringstream out;
  for (const auto& line :
       kind == ControlKind::Edit ? std::vector{window.Text(id)} : window.Lines(id)) {
    out << line << ",";
  }
  out << "|" << window.Enabled(id) << window.Checked(id)
      << (window.Colour(id) == FieldColour::Silver) << window.Modified(id) << "|";
  for (const auto& item : kind == ControlKind::ListBox ? window.Items(id) : Names{}) {
    out << item << ",";
  }
  const bool list = kind == ControlKind::ListBox || kind == ControlKind::RadioGroup;
  out << "|" << (list ? window.Selected(id) : -1) << " ";
  for (const auto& [from, event] : events) {
    out << (from == kNoControl ? "" : from != id ? "?" : event == Event::Click ? "C" : "D");
  }
  return out.str();
}

// Form calls, written "T<text>;E0;...", and what the user does: y types a character, b
// clicks a button and r the first radio item, w<code> notifies from the control, m chooses
// the system menu item, k<y> presses on the link at (3, 3) and releases it at (3, y).
const std::map<char, std::function<void(W&, ControlId, Arg&)>> kCalls = {
    {'T', [](W& w, ControlId id, Arg& a) { w.SetText(id, a); }},
    {'E', [](W& w, ControlId id, Arg& a) { w.SetEnabled(id, a == "1"); }},
    {'S', [](W& w, ControlId id, Arg&) { w.SetColour(id, FieldColour::Silver); }},
    {'K', [](W& w, ControlId id, Arg&) { w.SetChecked(id, true); }},
    {'A', [](W& w, ControlId id, Arg& a) { w.AddItem(id, a); }},
    {'D', [](W& w, ControlId id, Arg& a) { w.DeleteItem(id, stoi(a)); }},
    {'L', [](W& w, ControlId id, Arg& a) { w.Select(id, stoi(a)); }},
    {'N', [](W& w, ControlId id, Arg& a) { w.AddLine(id, a); }},
    {'y', [](W& w, ControlId id, Arg& a) { SendMessageA(w.Control(id), WM_CHAR, a[0], 0); }},
    {'b', [](W& w, ControlId id, Arg&) { SendMessageA(w.Control(id), BM_CLICK, 0, 0); }},
    {'r', [](W& w, ControlId id,
             Arg&) { SendMessageA(GetWindow(w.Control(id), GW_HWNDNEXT), BM_CLICK, 0, 0); }},
    {'w',
     [](W& w, ControlId id, Arg& a) {
       SendMessageA(w.Handle(), WM_COMMAND, MAKEWPARAM(id, stoi(a)), LPARAM(w.Control(id)));
     }},
    {'m', [](W& w, ControlId id, Arg&) { SendMessageA(w.Handle(), WM_SYSCOMMAND, id, 0); }},
    {'k',
     [](W& w, ControlId id, Arg& a) {
       SendMessageA(w.Control(id), WM_LBUTTONDOWN, 0, MAKELPARAM(3, 3));
       SendMessageA(w.Control(id), WM_LBUTTONUP, 0, MAKELPARAM(3, stoi(a)));
     }},
};

// Whether any of the calls was the user's.
bool Write(W& window, ControlId id, const std::string& calls) {
  bool by_user = false;
  for (std::size_t at = 0, end = 0; at < calls.size(); at = end + 1) {
    end = std::min(calls.find(';', at), calls.size());
    kCalls.at(calls[at])(window, id, calls.substr(at + 1, end - at - 1));
    by_user = by_user || std::islower(calls[at]);
  }
  return by_user;
}

const std::tuple<const WindowLayout& (*)(), ControlId, const char*, const char*> kCases[] = {
    {MainWindowLayout, edOSTPath, "TD:\\Offline\\;E0;S", "D:\\Offline\\,|0010||-1 "},
    {MainWindowLayout, edPSTPath, "TC:\\;yx", "xC:\\,|1001||-1 "},
    {MainWindowLayout, edPSTPath, "yx;TD:\\", "D:\\,|1000||-1 "},
    {MainWindowLayout, cbPOP3, "K;E0", "|0100||-1 "},
    // A list loses its selection with the selected item or past its end; later items move up.
    {MainWindowLayout, lbAllowed, "Aexe;Aurl;Abat;L2;D0;D7", "|1000|url,bat,|1 "},
    {MainWindowLayout, lbBlocked, "Aexe;Abat;L1;D1;Aade;L2", "|1000|exe,ade,|-1 "},
    {MainWindowLayout, mDescription, "NONLY;N;NCleans it.", "ONLY,,Cleans it.,|1000||-1 "},
    {AddinsWindowLayout, form7::rgLoadBehavior, "L4;E0", "|0000||4 "},
    {MainWindowLayout, 9999, "Tx;Ay;K", "|1000||-1 "},  // not in the layout: keeps nothing
    // Only an enabled control reports what the user does.
    {MainWindowLayout, btnExit, "b", "|1000||-1 C"},
    {MainWindowLayout, btnExit, "E0;b", "|0000||-1 "},
    {MainWindowLayout, lbAllowed, "w1;w2;w4", "|1000||-1 CD"},  // selection, double-click, focus
    {AddinsWindowLayout, form7::rgLoadBehavior, "r", "|1000||0 C"},
    {AboutWindowLayout, tform2::OHUrlLabel1, "k300", "|1000||-1 "},  // released elsewhere
    {AboutWindowLayout, tform2::OHUrlLabel1, "k4", "|1000||-1 C"},
    {MainWindowLayout, miExportSettings, "m", "|1000||-1 C"},
    {MainWindowLayout, miRestoreBackup, "E0;m", "|0000||-1 "},
};

// Each row on a window with every page shown; a row of Form calls also before the control's
// tab is first clicked, which makes it in the same state.
TEST(Controls, ReadWhatIsWrittenAndReportWhatTheUserDoes) {
  for (const auto& [layout, id, calls, readings] : kCases) {
    SCOPED_TRACE(testing::Message() << id << " " << calls);
    W shown(layout(), {kInstance}), later(layout(), {kInstance});
    RecordingSink sink;
    ScriptedDialogs dialogs;
    shown.Connect(&sink, &dialogs);
    ShowEveryPage(shown);
    if (!Write(shown, id, calls)) {
      Write(later, id, calls);
      EXPECT_EQ(readings, Readings(later, id));
      for (int tab = 0; tab < 5; ++tab) {  // a click on each tab
        SendMessageA(later.Control(MainTabControl), TCM_SETCURFOCUS, tab, 0);
      }
      EXPECT_EQ(id != 9999, later.Control(id) != nullptr);
      EXPECT_EQ(readings, Readings(later, id));
    }
    EXPECT_EQ(readings, Readings(shown, id, sink.events));
  }
}

TEST(Windows, ClosingTheProgramsWindowEndsTheMessageLoop) {
  W window(AboutWindowLayout(), {kInstance, nullptr, nullptr, true});
  PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(0, W::RunMessageLoop(window.Handle()));
  EXPECT_EQ(nullptr, window.Handle());
}

// Each kind of message box (none: the error box): its caption, the button Enter presses, and
// the answer to the button pressed.
TEST(Win32Dialogs, MessageBoxesShowTheirTextAndReturnTheAnswer) {
  const std::tuple<std::optional<MessageKind>, const char*, int, int, Answer> boxes[] = {
      {MessageKind::Confirmation, "Confirm", IDYES, IDNO, Answer::No},
      {MessageKind::ConfirmationDefaultNo, "Confirm", IDNO, IDYES, Answer::Yes},
      {std::nullopt, "Tarnwell", IDOK, IDOK, Answer::Ok},
  };
  Win32Dialogs dialogs(kInstance, nullptr);
  for (const auto& [kind, caption, enter, pressed, answer] : boxes) {
    std::tuple<std::string, std::string, int> shown;
    std::thread user = WhenShown("#32770", [&, pressed](HWND box) {
      shown = {WindowText(box), WindowText(GetDlgItem(box, 0xFFFF)), 0};
      for (int id : {IDOK, IDYES, IDNO}) {
        const LONG style = GetWindowLongA(GetDlgItem(box, id), GWL_STYLE);
        std::get<2>(shown) += (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? id : 0;
      }
      PostMessageA(box, WM_COMMAND, pressed, 0);
    });
    const Answer given =
        kind ? dialogs.Message(*kind, "Go on?") : (dialogs.ShowError("Go on?"), Answer::Ok);
    user.join();
    EXPECT_EQ(answer, given);
    EXPECT_EQ((std::tuple{caption, "Go on?", enter}), shown);
  }
}

// The folder picker's shell tree, against Wine's shell.
class ShellTree : public testing::Test {
 protected:
  ShellTree() { picker_.ShowCentred(); }
  // Its text, whether it shows a "+", and whether it is open.
  std::tuple<std::string, bool, bool> Look(HTREEITEM item) {
    char text[MAX_PATH] = {};
    TVITEMA data{
        TVIF_TEXT | TVIF_CHILDREN | TVIF_STATE, item, 0, TVIS_EXPANDED, text, MAX_PATH, 0, 0, 0, 0};
    TreeView_GetItem(tree_, &data);
    return {text, data.cChildren != 0, (data.state & TVIS_EXPANDED) != 0};
  }
  // The folder of C: at this path, or below the desktop, each one opened on the way.
  HTREEITEM Folder(const std::string& path, bool on_c = true) {
    HTREEITEM item = on_c ? Folder("My Computer\\ (C:)", false) : TreeView_GetRoot(tree_);
    for (std::size_t at = 0, end = 0; item && at < path.size(); at = end + 1) {
      end = std::min(path.find('\\', at), path.size());
      TreeView_Expand(tree_, item, TVE_EXPAND);
      item = TreeView_GetChild(tree_, item);
      while (item && std::get<0>(Look(item)) != path.substr(at, end - at)) {
        item = TreeView_GetNextSibling(tree_, item);
      }
    }
    return item;
  }

  ShellNamespace shell_;
  W picker_{FolderPickerLayout(), {kInstance, nullptr, nullptr, false, false, &shell_}};
  HWND tree_ = picker_.Control(tform4::JamShellTree1);
};

// The desktop, open, holds the shell's folders; a folder lists its subfolders in the shell's
// order when opened, once however often; one without any loses its "+". The tree's text is
// the selected folder's path, empty for one without.
TEST_F(ShellTree, ShowsTheShellsFoldersAndTheirPaths) {
  const Names order{".hidden", "_first", "Alpha", "a-z", "beta", "Charlie", "none"};
  for (const std::string& name : order) {
    SHCreateDirectoryExA(nullptr, ("C:\\Tree\\" + name).c_str(), nullptr);
  }
  HTREEITEM desktop = TreeView_GetRoot(tree_), folder = Folder("Tree");
  EXPECT_EQ(std::tuple("Desktop", true, true), Look(desktop));
  TreeView_SelectItem(tree_, folder);
  for (int time = 0; time < 2; ++time) {
    SendMessageA(tree_, WM_KEYDOWN, VK_RIGHT, 0);  // opens it
    Names names;
    for (HTREEITEM child = TreeView_GetChild(tree_, folder); child;
         child = TreeView_GetNextSibling(tree_, child)) {
      names.push_back(std::get<0>(Look(child)));
    }
    EXPECT_EQ(order, names);
    SendMessageA(tree_, WM_KEYDOWN, VK_LEFT, 0);  // closes it
  }
  HTREEITEM none = Folder("Tree\\none");
  TreeView_Expand(tree_, none, TVE_EXPAND);
  EXPECT_EQ(std::tuple("none", false, false), Look(none));
  for (const auto& [item, path] : {std::pair{none, "C:\\Tree\\none"},
                                   {desktop, ""},
                                   {Folder("My Computer", false), ""},
                                   {Folder(""), "C:\\"}}) {
    TreeView_SelectItem(tree_, item);
    EXPECT_EQ(path, picker_.Text(tform4::JamShellTree1));
  }
}

// A folder whose desktop.ini names a handler that is not there cannot be opened, as a drive
// that is not ready: each try says so over the window, and the folder stays closed.
TEST_F(ShellTree, AFolderThatCannotBeOpenedSaysSoAndStaysClosed) {
  SHCreateDirectoryExA(nullptr, "C:\\Broken\\inside", nullptr);
  WritePrivateProfileStringA(".ShellClassInfo", "CLSID", "{6F1E2A3B-0000-4C5D-9E8F-0123456789AB}",
                             "C:\\Broken\\desktop.ini");
  SetFileAttributesA("C:\\Broken", FILE_ATTRIBUTE_READONLY);  // else desktop.ini is not read
  HTREEITEM broken = Folder("Broken");
  for (int attempt = 1; attempt <= 2; ++attempt) {  // and again
    std::pair<std::string, HWND> said;
    std::thread user = WhenShown("#32770", [&](HWND box) {
      said = {WindowText(GetDlgItem(box, 0xFFFF)), GetWindow(box, GW_OWNER)};
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    TreeView_Expand(tree_, broken, TVE_EXPAND);
    user.join();
    EXPECT_EQ("The folders in \"C:\\Broken\" cannot be shown.\n\nAccess denied.", said.first);
    EXPECT_EQ(picker_.Handle(), said.second);
    EXPECT_EQ(std::tuple("Broken", true, false), Look(broken));
  }
}

// The shell's menu of the selected folder carries out the item chosen.
TEST_F(ShellTree, TheShellsMenuActsOnTheSelectedFolder) {
  SHCreateDirectoryExA(nullptr, "C:\\Menu\\copied", nullptr);
  TreeView_SelectItem(tree_, Folder("Menu\\copied"));
  std::thread user = WhenShown("#32768", [](HWND menu) { PostMessageA(menu, WM_CHAR, 'c', 0); });
  SendMessageA(tree_, WM_CONTEXTMENU, WPARAM(tree_), -1);  // from the keyboard
  user.join();
  char copied[MAX_PATH] = {};
  OpenClipboard(nullptr);
  DragQueryFileA(static_cast<HDROP>(GetClipboardData(CF_HDROP)), 0, copied, sizeof(copied));
  CloseClipboard();
  EXPECT_STREQ("C:\\Menu\\copied", copied);
}

}  // namespace
}  // namespace tarnwell

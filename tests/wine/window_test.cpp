// The Win32 binding under Wine: windows against their layouts, controls, boxes, the shell tree.
#include "ui/win32/window.h"

#include <commctrl.h>
#include <shlobj.h>

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

// The row's place in its parent; a group box moves its controls.
LayoutRect ExpectedPlace(const WindowLayout& layout, const ControlLayout& row) {
  LayoutRect place = row.rect;
  for (const ControlLayout* box = layout.Find(row.parent);
       box != nullptr && box->kind == ControlKind::GroupBox; box = layout.Find(box->parent)) {
    place = {place.left + box->rect.left, place.top + box->rect.top, place.width, place.height};
  }
  return place;
}

// A control's place in its parent; no size when none is expected (a label fit to its caption).
LayoutRect Place(HWND control, const LayoutRect& expected) {
  RECT at{};
  GetWindowRect(control, &at);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&at), 2);
  const bool sized = expected.width != 0;
  return {at.left, at.top, sized ? at.right - at.left : 0, sized ? at.bottom - at.top : 0};
}

// The window's caption, size and frame; each control (its font set) and radio item as its row.
void ExpectWindowMatchesItsRows(const W& window) {
  const WindowLayout& layout = window.Layout();
  RECT client{};
  GetClientRect(window.Handle(), &client);
  EXPECT_EQ(std::tuple(std::string(layout.caption), layout.client_width, layout.client_height,
                       WS_SYSMENU | (layout.border == WindowBorder::Sizeable ? WS_THICKFRAME : 0)),
            std::tuple(WindowText(window.Handle()), client.right, client.bottom,
                       GetWindowLongA(window.Handle(), GWL_STYLE) &
                           (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)));
  for (const auto& row : layout.controls) {
    SCOPED_TRACE(std::string(row.name));
    HWND control = window.Control(row.id);
    const UINT get_image = row.kind == ControlKind::PictureButton ? BM_GETIMAGE : STM_GETIMAGE;
    const LayoutRect place = ExpectedPlace(layout, row);
    LOGFONTA font{};
    GetObjectA(HFONT(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
    const bool text = row.kind != ControlKind::Page && row.kind != ControlKind::Picture;
    EXPECT_EQ(std::tuple(row.id, row.enabled, std::string(row.caption), !row.picture.empty(),
                         row.Focusable() && row.kind != ControlKind::RadioGroup, place, false, text,
                         text && row.bold, text && row.kind == ControlKind::Link),
              std::tuple(GetDlgCtrlID(control), IsWindowEnabled(control) != FALSE,
                         WindowText(control), SendMessageA(control, get_image, 0, 0) != 0,
                         (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) != 0,
                         row.kind == ControlKind::Page ? place : Place(control, place),
                         SendMessageA(control, EM_GETMODIFY, 0, 0) != 0, font.lfFaceName[0] != 0,
                         font.lfWeight == FW_BOLD, font.lfUnderline != 0));
    for (int index = 0, count = static_cast<int>(row.items.size()); index < count; ++index) {
      control = GetWindow(control, GW_HWNDNEXT);
      const LayoutRect item = RadioItemRect(place, index, count);
      EXPECT_EQ(std::tuple(LONG(BS_AUTORADIOBUTTON | (index == 0 ? WS_TABSTOP : 0)), row.id,
                           std::string(row.items[index]), item),
                std::tuple(GetWindowLongA(control, GWL_STYLE) & (BS_TYPEMASK | WS_TABSTOP),
                           GetDlgCtrlID(control), WindowText(control), Place(control, item)));
    }
  }
}

// Every window with every page shown.
class EachWindow : public testing::TestWithParam<const WindowLayout*> {};

TEST_P(EachWindow, EveryControlMatchesItsRow) {
  ResourcePictures pictures(kInstance);
  ShellNamespace shell;
  W window(*GetParam(), {kInstance, nullptr, &pictures, false, false, &shell});
  ShowEveryPage(window);
  ExpectWindowMatchesItsRows(window);
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

// What the Form reads, "text or lines|enabled checked silver modified|items|selection events".
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

// Form calls "T<text>;E0;..." and the user's: type, click, radio, notify, menu, link press.
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
    {MainWindowLayout, lbAllowed, "Aexe;Aurl;Abat;L2;D0;D7", "|1000|url,bat,|1 "},
    {MainWindowLayout, lbBlocked, "Aexe;Abat;L1;D1;Aade;L2", "|1000|exe,ade,|-1 "},
    {MainWindowLayout, mDescription, "NONLY;N;NCleans it.", "ONLY,,Cleans it.,|1000||-1 "},
    {AddinsWindowLayout, form7::rgLoadBehavior, "L4;E0", "|0000||4 "},
    {MainWindowLayout, 9999, "Tx;Ay;K", "|1000||-1 "},  // not in the layout: keeps nothing
    {MainWindowLayout, btnExit, "b", "|1000||-1 C"},
    {MainWindowLayout, btnExit, "E0;b", "|0000||-1 "},
    {MainWindowLayout, lbAllowed, "w1;w2;w4", "|1000||-1 CD"},  // selection, double-click, focus
    {AddinsWindowLayout, form7::rgLoadBehavior, "r", "|1000||0 C"},
    {AboutWindowLayout, tform2::OHUrlLabel1, "k300", "|1000||-1 "},  // released elsewhere
    {AboutWindowLayout, tform2::OHUrlLabel1, "k4", "|1000||-1 C"},
    {MainWindowLayout, miExportSettings, "m", "|1000||-1 C"},
    {MainWindowLayout, miRestoreBackup, "E0;m", "|0000||-1 "},
};

// Each row with every page shown; Form calls also before the control's page is first shown.
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

// Each kind of box (none: the error box): caption, text, default button, answer.
TEST(Win32Dialogs, MessageBoxesShowTheirTextAndReturnTheAnswer) {
  const std::tuple<std::optional<MessageKind>, const char*, int, int, Answer> boxes[] = {
      {MessageKind::Confirmation, "Confirm", IDYES, IDNO, Answer::No},
      {MessageKind::ConfirmationDefaultNo, "Confirm", IDNO, IDYES, Answer::Yes},
      {std::nullopt, "Tarnwell", IDOK, IDOK, Answer::Ok},
  };
  Win32Dialogs dialogs(kInstance, nullptr);
  for (const auto& [kind, caption, enter, pressed, answer] : boxes) {
    std::tuple<std::string, std::string, LONG> shown;
    std::thread user = WhenShown("#32770", [&, enter, pressed](HWND box) {
      shown = {WindowText(box), WindowText(GetDlgItem(box, 0xFFFF)),
               GetWindowLongA(GetDlgItem(box, enter), GWL_STYLE) & BS_TYPEMASK};
      PostMessageA(box, WM_COMMAND, pressed, 0);
    });
    const Answer given =
        kind ? dialogs.Message(*kind, "Go on?") : (dialogs.ShowError("Go on?"), Answer::Ok);
    user.join();
    EXPECT_EQ(answer, given);
    EXPECT_EQ((std::tuple{caption, "Go on?", BS_DEFPUSHBUTTON}), shown);
  }
}

// The picker's tree on Wine's shell: folders in its order, once, and their paths.
TEST(ShellTree, ShowsTheShellsFoldersAndActsOnThem) {
  const Names order{".hidden", "_first", "Alpha", "a-z", "beta", "Charlie", "none"};
  for (const std::string& name : order) {
    SHCreateDirectoryExA(nullptr, ("C:\\Tree\\" + name).c_str(), nullptr);
  }
  ShellNamespace shell;
  W picker(FolderPickerLayout(), {kInstance, nullptr, nullptr, false, false, &shell});
  picker.ShowCentred();
  HWND tree = picker.Control(tform4::JamShellTree1);
  const auto look = [tree](HTREEITEM item) {  // its text, "+" shown, open
    char text[MAX_PATH] = {};
    TVITEMA data{
        TVIF_TEXT | TVIF_CHILDREN | TVIF_STATE, item, 0, TVIS_EXPANDED, text, MAX_PATH, 0, 0, 0, 0};
    TreeView_GetItem(tree, &data);
    return std::tuple(std::string(text), data.cChildren != 0, (data.state & TVIS_EXPANDED) != 0);
  };
  const auto folder = [&](const std::string& path) {  // below the desktop, opened on the way
    HTREEITEM item = TreeView_GetRoot(tree);
    for (std::size_t at = 0, end = 0; item && at < path.size(); at = end + 1) {
      end = std::min(path.find('\\', at), path.size());
      TreeView_Expand(tree, item, TVE_EXPAND);
      item = TreeView_GetChild(tree, item);
      while (item && std::get<0>(look(item)) != path.substr(at, end - at)) {
        item = TreeView_GetNextSibling(tree, item);
      }
    }
    return item;
  };
  const std::string c = "My Computer\\ (C:)";
  HTREEITEM desktop = TreeView_GetRoot(tree), parent = folder(c + "\\Tree");
  EXPECT_EQ(std::tuple("Desktop"s, true, true), look(desktop));
  TreeView_SelectItem(tree, parent);
  for (int time = 0; time < 2; ++time) {
    SendMessageA(tree, WM_KEYDOWN, VK_RIGHT, 0);  // opens it
    Names names;
    for (HTREEITEM child = TreeView_GetChild(tree, parent); child;
         child = TreeView_GetNextSibling(tree, child)) {
      names.push_back(std::get<0>(look(child)));
    }
    EXPECT_EQ(order, names);
    SendMessageA(tree, WM_KEYDOWN, VK_LEFT, 0);  // closes it
  }
  HTREEITEM none = folder(c + "\\Tree\\none");
  TreeView_Expand(tree, none, TVE_EXPAND);
  EXPECT_EQ(std::tuple("none"s, false, false), look(none));
  for (const auto& [item, path] : {std::pair{none, "C:\\Tree\\none"},
                                   {desktop, ""},
                                   {folder("My Computer"), ""},
                                   {folder(c), "C:\\"}}) {
    TreeView_SelectItem(tree, item);
    EXPECT_EQ(path, picker.Text(tform4::JamShellTree1));
  }
}

}  // namespace
}  // namespace tarnwell

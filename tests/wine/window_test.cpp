// The Win32 binding under Wine and Xvfb: control kinds read and written, pages, events from
// real window messages, the message loop, kept and modal windows, and the standard dialogs.
#include "ui/win32/window.h"

#include <commctrl.h>

#include <functional>
#include <gmock/gmock.h>
#include <map>

#include "platform/registry_object.h"
#include "support/layouts.h"
#include "support/scripted_dialogs.h"
#include "ui/win32/hyperlink_label.h"
#include "ui/win32/win32_dialogs.h"
#include "windows/descriptions_window.h"
#include "wine/layout_check.h"

namespace tarnwell {
namespace {

using namespace tform1;
using Events = std::vector<std::pair<ControlId, Event>>;
const HINSTANCE kInstance = GetModuleHandleA(nullptr);

std::string Joined(const std::vector<std::string>& parts, const std::string& between) {
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    joined += (i == 0 ? "" : between) + parts[i];
  }
  return joined;
}

// What the Form reads of a control, "text|enabled|silver|checked|items|selected|modified",
// with the text of an edit, the lines of a memo and the items of a list box; and what its
// window shows.
std::string Readings(const Win32Window& window, ControlId id) {
  const ControlLayout* row = window.Layout().Find(id);
  const auto kind = row == nullptr ? ControlKind::Edit : row->kind;
  const std::string lines = Joined(window.Lines(id), "\r\n");
  HWND made = window.Control(id);
  if (made != nullptr && kind == ControlKind::Edit) {
    EXPECT_EQ(window.Colour(id) == FieldColour::Silver ? RGB(0xC0, 0xC0, 0xC0)
                                                       : GetSysColor(COLOR_WINDOW),
              PaintedColour(made));
  } else if (made != nullptr && kind == ControlKind::Memo) {
    EXPECT_EQ(lines, WindowText(made));
    DWORD start = 1;
    SendMessageA(made, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    EXPECT_EQ(0u, start);
  }
  for (HWND item = made; made != nullptr && kind == ControlKind::RadioGroup &&
                         GetDlgCtrlID(item = GetWindow(item, GW_HWNDNEXT)) == id;) {
    EXPECT_EQ(window.Enabled(id), IsWindowEnabled(item) != FALSE);
  }
  return (kind == ControlKind::Edit ? window.Text(id) : lines) + "|" +
         std::to_string(window.Enabled(id)) + "|" +
         std::to_string(window.Colour(id) == FieldColour::Silver) + "|" +
         std::to_string(window.Checked(id)) + "|" +
         (kind == ControlKind::ListBox ? Joined(window.Items(id), ",") : "") + "|" +
         (kind == ControlKind::ListBox || kind == ControlKind::RadioGroup
              ? std::to_string(window.Selected(id))
              : "") +
         "|" + std::to_string(window.Modified(id));
}

// Form calls, written "T<text>;E0;...", and what the user does: Y types a character, B
// clicks a button and R the first radio item, W<code> notifies from the control, M chooses
// the system menu item, P presses on the link at (3, 3) and U<y> releases it at (3, y).
using W = Win32Window;
using Arg = const std::string;
const std::map<char, std::function<void(W&, ControlId, Arg&)>> kCalls = {
    {'T', [](W& w, ControlId id, Arg& a) { w.SetText(id, a); }},
    {'E', [](W& w, ControlId id, Arg& a) { w.SetEnabled(id, a == "1"); }},
    {'S', [](W& w, ControlId id, Arg&) { w.SetColour(id, FieldColour::Silver); }},
    {'K', [](W& w, ControlId id, Arg&) { w.SetChecked(id, true); }},
    {'A', [](W& w, ControlId id, Arg& a) { w.AddItem(id, a); }},
    {'D', [](W& w, ControlId id, Arg& a) { w.DeleteItem(id, stoi(a)); }},
    {'L', [](W& w, ControlId id, Arg& a) { w.Select(id, stoi(a)); }},
    {'C', [](W& w, ControlId id, Arg&) { w.ClearItems(id); }},
    {'N', [](W& w, ControlId id, Arg& a) { w.AddLine(id, a); }},
    {'F', [](W& w, ControlId id, Arg&) { w.ShowFirstLine(id); }},
    {'Y', [](W& w, ControlId id, Arg& a) { SendMessageA(w.Control(id), WM_CHAR, a[0], 0); }},
    {'B', [](W& w, ControlId id, Arg&) { SendMessageA(w.Control(id), BM_CLICK, 0, 0); }},
    {'R', [](W& w, ControlId id,
             Arg&) { SendMessageA(GetWindow(w.Control(id), GW_HWNDNEXT), BM_CLICK, 0, 0); }},
    {'W',
     [](W& w, ControlId id, Arg& a) {
       SendMessageA(w.Handle(), WM_COMMAND, MAKEWPARAM(id, stoi(a)), LPARAM(w.Control(id)));
     }},
    {'M', [](W& w, ControlId id, Arg&) { SendMessageA(w.Handle(), WM_SYSCOMMAND, id, 0); }},
    {'P', [](W& w, ControlId id,
             Arg&) { SendMessageA(w.Control(id), WM_LBUTTONDOWN, 0, MAKELPARAM(3, 3)); }},
    {'U', [](W& w, ControlId id,
             Arg& a) { SendMessageA(w.Control(id), WM_LBUTTONUP, 0, MAKELPARAM(3, stoi(a))); }},
};

void Write(Win32Window& window, ControlId id, const std::string& calls) {
  for (std::size_t at = 0, end = 0; at < calls.size(); at = end + 1) {
    end = std::min(calls.find(';', at), calls.size());
    kCalls.at(calls[at])(window, id, calls.substr(at + 1, end - at - 1));
  }
}

struct KindCase {
  const WindowLayout& (*layout)();
  ControlId id;
  const char* calls;
  const char* readings;
};

const KindCase kKinds[] = {
    {MainWindowLayout, edOSTPath, "TD:\\Offline\\;E0;S", "D:\\Offline\\|0|1|0|||0"},
    {MainWindowLayout, edPSTPath, "TC:\\;Yx", "xC:\\|1|0|0|||1"},
    {MainWindowLayout, edPSTPath, "Yx;TD:\\", "D:\\|1|0|0|||0"},
    {MainWindowLayout, cbPOP3, "K;E0", "|0|0|1|||0"},
    // A list loses its selection with the selected item, or past its end; later items move up.
    {MainWindowLayout, lbAllowed, "Aexe;Aurl;Abat;L2;D0;D7", "|1|0|0|url,bat|1|0"},
    {MainWindowLayout, lbBlocked, "Aexe;Abat;Aade;L1;D1", "|1|0|0|exe,ade|-1|0"},
    {MainWindowLayout, lbBlocked, "Aexe;L0;L1", "|1|0|0|exe|-1|0"},
    {MainWindowLayout, lbBlocked, "Aexe;L0;C;Abat", "|1|0|0|bat|-1|0"},
    {MainWindowLayout, mDescription, "NONLY;N;NCleans it.;F", "ONLY\r\n\r\nCleans it.|1|0|0|||0"},
    {AddinsWindowLayout, form7::rgLoadBehavior, "L4;E0", "|0|0|0||4|0"},
    {MainWindowLayout, 9999, "Tx;Ay;K", "|1|0|0|||0"},  // not in the layout: keeps nothing
};

// Each kind written with its page shown, or before it is shown and then shown: the same.
TEST(ControlKinds, ReadWhatWasWrittenBeforeAndAfterTheirPageIsMade) {
  for (const KindCase& kind : kKinds) {
    SCOPED_TRACE(kind.calls);
    Win32Window shown(kind.layout(), {kInstance}), later(kind.layout(), {kInstance});
    ShowEveryPage(shown);
    Write(shown, kind.id, kind.calls);
    EXPECT_EQ(kind.readings, Readings(shown, kind.id));
    Write(later, kind.id, kind.calls);
    EXPECT_EQ(kind.readings, Readings(later, kind.id));
    ShowEveryPage(later);
    EXPECT_EQ(kind.readings, Readings(later, kind.id));
  }
}

// A page's controls are made when it is first shown; its tab, or ShowPage, shows it alone.
TEST(Pages, ATabShowsItsPageAlone) {
  Win32Window window(MainWindowLayout(), {kInstance});
  HWND tabs = window.Control(MainTabControl);
  auto shown = [&](ControlId page) {
    return GetWindowLongA(window.Control(page), GWL_STYLE) & WS_VISIBLE;
  };
  EXPECT_EQ(nullptr, window.Control(cbPOP3));
  SendMessageA(tabs, TCM_SETCURFOCUS, 3, 0);  // a click on the tab of Exchange
  EXPECT_NE(nullptr, window.Control(cbPOP3));
  EXPECT_TRUE(shown(Exchange) && !shown(DefaultPaths));
  window.ShowPage(CommandLine);
  EXPECT_EQ(4, TabCtrl_GetCurSel(tabs));
  EXPECT_TRUE(shown(CommandLine) && !shown(Exchange));
}

struct EventCase {
  const WindowLayout& (*layout)();
  ControlId id;
  const char* calls;
  const char* events;  // of that control, C a click, D a double-click; then the link's colour
};

// B clicks a button, R the first radio item; W<code> is a notification from the control;
// P and U<x,y> press on the link and release.
const EventCase kEvents[] = {
    {MainWindowLayout, btnExit, "B", "C"},
    {MainWindowLayout, btnExit, "E0;B", ""},
    {MainWindowLayout, cbPOP3, "B", "C"},
    {MainWindowLayout, lbAllowed, "W1;W2;W4", "CD"},  // selection, double-click, focus
    {MainWindowLayout, lbAllowed, "E0;W1", ""},
    {AddinsWindowLayout, form7::rgLoadBehavior, "R", "C"},
    {AboutWindowLayout, tform2::OHUrlLabel1, "P", " hot"},
    {AboutWindowLayout, tform2::OHUrlLabel1, "P;U300", " link"},
    {AboutWindowLayout, tform2::OHUrlLabel1, "P;U4", "C followed"},
    {MainWindowLayout, miExportSettings, "M", "C"},
    {MainWindowLayout, miRestoreBackup, "E0;M", ""},
};

const std::map<COLORREF, std::string> kLinkColours = {
    {HyperlinkLabel::kLinkColour, " link"},
    {HyperlinkLabel::kHotColour, " hot"},
    {HyperlinkLabel::kFollowedColour, " followed"}};

// What the user does to an enabled control reaches the window's sink.
TEST(Events, UserActionsReachTheSink) {
  for (const EventCase& test : kEvents) {
    SCOPED_TRACE(testing::Message() << test.id << " " << test.calls);
    Win32Window window(test.layout(), {kInstance});
    ShowEveryPage(window);
    RecordingSink sink;
    ScriptedDialogs dialogs;
    window.Connect(&sink, &dialogs);
    Write(window, test.id, test.calls);
    std::string events;
    for (const auto& [id, event] : sink.events) {
      if (id != kNoControl) {  // the window's own showing and activation
        events += id == test.id ? "CD"[static_cast<int>(event)] : '?';
      }
    }
    if (HWND link = window.Control(tform2::OHUrlLabel1)) {
      events += kLinkColours.at(SendMessageA(link, HyperlinkLabel::kGetColour, 0, 0));
    }
    EXPECT_EQ(test.events, events);
  }
}

// The system menu's items stand above "Close" after a separator, greyed when disabled.
TEST(Events, SystemMenuItemsStandAboveClose) {
  Win32Window window(MainWindowLayout(), {kInstance});
  HMENU menu = GetSystemMenu(window.Handle(), FALSE);
  window.SetEnabled(miRestoreBackup, false);
  int close = 0;
  while (close < GetMenuItemCount(menu) && GetMenuItemID(menu, close) != SC_CLOSE) {
    ++close;
  }
  std::vector<UINT> tail;
  for (int index = close - 4; index < close; ++index) {
    tail.push_back(GetMenuItemID(menu, index));
  }
  EXPECT_THAT(tail, testing::ElementsAre(0u, UINT{miRestoreBackup}, UINT{miExportSettings}, 0u));
  EXPECT_EQ(MF_GRAYED, GetMenuState(menu, miRestoreBackup, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_EQ(0u, GetMenuState(menu, miExportSettings, MF_BYCOMMAND) & MF_GRAYED);
}

// Closing the program's window ends the message loop; a kept window is only hidden, and
// hands the activation back to the window it was shown from.
TEST(Windows, ClosingEndsTheLoopOrHidesAKeptWindow) {
  Win32Window owner(PlacesWindowLayout(), {kInstance, nullptr, nullptr, true});
  Win32Window kept(LocationEntryLayout(), {kInstance, nullptr, nullptr, false, true});
  RecordingSink owner_sink, kept_sink;
  ScriptedDialogs dialogs;
  owner.Connect(&owner_sink, &dialogs);
  kept.Connect(&kept_sink, &dialogs);
  owner.ShowCentred();
  SetActiveWindow(owner.Handle());
  kept.Show();
  EXPECT_EQ(kept.Handle(), GetActiveWindow());
  owner_sink.events.clear();
  SendMessageA(kept.Handle(), WM_CLOSE, 0, 0);
  ASSERT_NE(nullptr, kept.Handle());
  EXPECT_FALSE(IsWindowVisible(kept.Handle()));
  EXPECT_EQ(owner.Handle(), GetActiveWindow());
  EXPECT_EQ((Events{{kNoControl, Event::Show}, {kNoControl, Event::Activate}}), kept_sink.events);
  EXPECT_EQ((Events{{kNoControl, Event::Activate}}), owner_sink.events);
  PostMessageA(owner.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(0, Win32Window::RunMessageLoop(owner.Handle()));
  EXPECT_EQ(nullptr, owner.Handle());
}

struct BoxCase {
  std::optional<MessageKind> kind;  // none: the error box
  int pressed;
  Answer answer;
  const char* caption;
  int enter;  // the button Enter presses
};

const BoxCase kBoxes[] = {
    {MessageKind::Confirmation, IDYES, Answer::Yes, "Confirm", IDYES},
    {MessageKind::Confirmation, IDNO, Answer::No, "Confirm", IDYES},
    {MessageKind::ConfirmationDefaultNo, IDYES, Answer::Yes, "Confirm", IDNO},
    {MessageKind::Warning, IDOK, Answer::Ok, "Warning", IDOK},
    {MessageKind::Information, IDOK, Answer::Ok, "Information", IDOK},
    {MessageKind::Error, IDOK, Answer::Ok, "Error", IDOK},
    {std::nullopt, IDOK, Answer::Ok, "Tarnwell", IDOK},
};

TEST(Win32Dialogs, MessageBoxesShowTheirTextAndReturnTheAnswer) {
  Win32Dialogs dialogs(kInstance, nullptr);
  for (const BoxCase& box : kBoxes) {
    SCOPED_TRACE(box.caption);
    std::string caption, text;
    int enter = 0;
    std::thread user = WhenShown("#32770", nullptr, [&](HWND shown) {
      caption = WindowText(shown);
      text = WindowText(GetDlgItem(shown, 0xFFFF));
      for (HWND button = GetWindow(shown, GW_CHILD); button;
           button = GetWindow(button, GW_HWNDNEXT)) {
        if ((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
          enter = GetDlgCtrlID(button);
        }
      }
      PostMessageA(shown, WM_COMMAND, box.pressed, 0);
    });
    Answer answer = Answer::Ok;
    if (box.kind) {
      answer = dialogs.Message(*box.kind, "Make these changes?");
    } else {
      dialogs.ShowError("Make these changes?");
    }
    user.join();
    EXPECT_EQ(box.answer, answer);
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ("Make these changes?", text);
    EXPECT_EQ(box.enter, enter);
  }
}

// The open-file dialog starts from the given name, without its read-only box, and returns
// the path the user confirms.
TEST(Win32Dialogs, OpenFileStartsFromTheGivenNameAndReturnsTheChoice) {
  Win32Dialogs dialogs(kInstance, nullptr);
  std::string start_name;
  bool read_only_box = true;
  std::thread user = WhenShown("#32770", "Startup Options", [&](HWND dialog) {
    HWND name = GetDlgItem(dialog, 0x47C);
    start_name = WindowText(name);
    read_only_box = IsWindowVisible(GetDlgItem(dialog, 0x410));
    SetWindowTextA(name, "C:\\windows\\win.ini");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  const auto chosen =
      dialogs.OpenFile({"Startup Options", "Outlook-Option", ".ics", "Calendar (.ics)|*.ics"});
  user.join();
  EXPECT_EQ("Outlook-Option", start_name);
  EXPECT_FALSE(read_only_box);
  EXPECT_STRCASEEQ("C:\\windows\\win.ini", chosen.value_or("").c_str());
}

// A modal window disables its owner until its own button closes it.
TEST(Win32Dialogs, AModalWindowHoldsItsOwnerUntilClosed) {
  Win32Window owner(MainWindowLayout(), {kInstance});
  Win32Dialogs dialogs(kInstance, nullptr);
  dialogs.SetOwner(owner.Handle());
  bool owner_disabled = false;
  std::thread user = WhenShown("TarnwellForm3", nullptr, [&](HWND shown) {
    owner_disabled = !IsWindowEnabled(owner.Handle());
    PostMessageA(GetDlgItem(shown, form3::Button1), BM_CLICK, 0, 0);
  });
  dialogs.ShowModal(DescriptionsWindowLayout(),
                    [](Form& form) { return std::make_unique<DescriptionsWindow>(form); });
  user.join();
  EXPECT_TRUE(owner_disabled);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_EQ(nullptr, FindWindowA("TarnwellForm3", nullptr));
}

}  // namespace
}  // namespace tarnwell

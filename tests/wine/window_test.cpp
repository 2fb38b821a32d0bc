// The main window built by the Win32 binding from its layout table, under Wine and Xvfb:
// every control's class, caption, place and start state against its row, and events
// arriving through real window messages.
#include "ui/win32/window.h"

#include <commctrl.h>

#include <gmock/gmock.h>
#include <string>
#include <thread>
#include <vector>

#include "platform/registry_object.h"
#include "support/scripted_dialogs.h"
#include "ui/descriptions_layout.h"
#include "ui/main_layout.h"
#include "ui/win32/win32_dialogs.h"
#include "windows/descriptions_window.h"
#include "wine/layout_check.h"

namespace tarnwell {
namespace {

using namespace tform1;

class FailingBanner final : public PictureSource {
 public:
  explicit FailingBanner(PictureSource& real) : real_(real) {}
  UniqueBitmap Load(std::string_view name) override {
    if (name == kBannerPicture) {
      std::vector<std::uint8_t> damaged(2048, 0x5A);
      damaged[0] = 0xFF;
      damaged[1] = 0xD8;
      return BitmapFromJpeg(damaged);
    }
    return real_.Load(name);
  }

 private:
  PictureSource& real_;
};

// Records what the controls report; the window's own showing and activation are not its
// concern.
class RecordingSink final : public EventSink {
 public:
  void OnEvent(ControlId id, Event event) override {
    if (id == kNoControl) {
      return;
    }
    events.emplace_back(id, event);
    if (id == btnScanPST) {
      throw RegistryError("Invalid data type for 'Path'");
    }
  }
  std::vector<std::pair<ControlId, Event>> events;
};

class MainWindowUi : public testing::Test {
 protected:
  HINSTANCE instance_ = GetModuleHandleA(nullptr);
  ResourcePictures pictures_{instance_};
  Win32Window window_{MainWindowLayout(), {instance_, nullptr, &pictures_, false}};
};

TEST_F(MainWindowUi, WindowIsFixedSizeWithOnlyASystemMenu) {
  ASSERT_NE(nullptr, window_.Handle());
  EXPECT_EQ(96, window_.Dpi());
  ExpectFixedWindow(window_);
}

// Pages make their controls when first shown, as a property sheet does.
void ShowEveryPage(Win32Window& window) {
  for (ControlId page : {DefaultPaths, AttachmentSecurity, Miscellaneous, Exchange, CommandLine}) {
    window.ShowPage(page);
  }
  window.ShowPage(DefaultPaths);
}

TEST_F(MainWindowUi, EveryFieldStartsEmpty) {
  ShowEveryPage(window_);
  for (const auto& row : window_.Layout().controls) {
    if (row.kind == ControlKind::Edit) {
      EXPECT_EQ("", WindowText(window_.Control(row.id))) << row.name;
    }
  }
}

TEST_F(MainWindowUi, KindsHaveTheirStyles) {
  ShowEveryPage(window_);
  auto style = [&](ControlId id) { return GetWindowLongA(window_.Control(id), GWL_STYLE); };
  EXPECT_EQ(BS_AUTOCHECKBOX, style(cbPOP3) & BS_TYPEMASK);
  EXPECT_EQ(BS_GROUPBOX, style(gbDisable) & BS_TYPEMASK);
  EXPECT_TRUE(style(mDescription) & ES_MULTILINE);
  EXPECT_TRUE(style(mDescription) & ES_READONLY);
  EXPECT_TRUE(style(mDescription) & WS_VSCROLL);
  EXPECT_FALSE(style(lbBlocked) & LBS_SORT);
  EXPECT_EQ(SS_CENTER, style(Label8) & SS_TYPEMASK);
  EXPECT_EQ(SS_LEFT, style(Label9) & SS_TYPEMASK);  // wrapped
  EXPECT_EQ(SS_LEFTNOWORDWRAP, style(Label1) & SS_TYPEMASK);
}

TEST_F(MainWindowUi, PagesAreTabsAndShowOneAtATime) {
  HWND tabs = window_.Control(MainTabControl);
  ASSERT_EQ(5, TabCtrl_GetItemCount(tabs));
  std::vector<std::string> captions;
  for (int i = 0; i < 5; ++i) {
    char text[64] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    captions.emplace_back(text);
  }
  EXPECT_THAT(captions, testing::ElementsAre("Default Paths", "Attachment Security",
                                             "Miscellaneous", "Exchange", "Startup Options"));
  const ControlId pages[] = {DefaultPaths, AttachmentSecurity, Miscellaneous, Exchange,
                             CommandLine};
  auto visible_pages = [&] {
    std::vector<ControlId> shown;
    for (ControlId page : pages) {
      if (GetWindowLongA(window_.Control(page), GWL_STYLE) & WS_VISIBLE) {
        shown.push_back(page);
      }
    }
    return shown;
  };
  EXPECT_THAT(visible_pages(), testing::ElementsAre(DefaultPaths));

  // A click on a tab: the control selects it and tells its parent.
  SendMessageA(tabs, TCM_SETCURFOCUS, 3, 0);
  EXPECT_EQ(3, TabCtrl_GetCurSel(tabs));
  EXPECT_THAT(visible_pages(), testing::ElementsAre(Exchange));
  window_.ShowPage(CommandLine);
  EXPECT_THAT(visible_pages(), testing::ElementsAre(CommandLine));
  EXPECT_EQ(4, TabCtrl_GetCurSel(tabs));
}

TEST_F(MainWindowUi, TabOrderOfEachPageIsTheOrderOfItsRows) {
  ShowEveryPage(window_);
  const WindowLayout& layout = MainWindowLayout();
  for (ControlId holder :
       {static_cast<ControlId>(kNoControl), static_cast<ControlId>(DefaultPaths),
        static_cast<ControlId>(AttachmentSecurity), static_cast<ControlId>(Miscellaneous),
        static_cast<ControlId>(Exchange), static_cast<ControlId>(CommandLine)}) {
    HWND parent = holder == kNoControl ? window_.Handle() : window_.Control(holder);
    std::vector<ControlId> in_window;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) {
        in_window.push_back(GetDlgCtrlID(child));
      }
    }
    std::vector<ControlId> in_layout;
    for (const auto& row : layout.controls) {
      HWND place_holder = nullptr;
      const ControlLayout* container = layout.Find(row.parent);
      while (container != nullptr && container->kind == ControlKind::GroupBox) {
        container = layout.Find(container->parent);
      }
      place_holder = container == nullptr ? window_.Handle() : window_.Control(container->id);
      if (place_holder == parent && row.Focusable()) {
        in_layout.push_back(row.id);
      }
    }
    EXPECT_EQ(in_layout, in_window) << "holder " << holder;
  }
}

TEST_F(MainWindowUi, PagesNotShownYetMakeTheirControlsInTheStateGivenThem) {
  EXPECT_EQ(nullptr, window_.Control(cbPOP3));
  EXPECT_NE(nullptr, window_.Control(edPSTPath));
  window_.SetChecked(cbPOP3, true);
  window_.SetEnabled(cbIMAP, false);
  window_.SetEnabled(edOSTPath, false);
  window_.SetColour(edOSTPath, FieldColour::Silver);
  window_.SetText(edOSTPath, "D:\\Offline\\");
  window_.AddItem(lbAllowed, "exe");
  window_.AddItem(lbAllowed, "url");
  window_.Select(lbAllowed, 1);
  window_.AddLine(mDescription, "OUTLOOK 2013 ONLY");
  EXPECT_TRUE(window_.Checked(cbPOP3));
  EXPECT_FALSE(window_.Enabled(cbIMAP));

  ShowEveryPage(window_);
  EXPECT_EQ(BST_CHECKED, SendMessageA(window_.Control(cbPOP3), BM_GETCHECK, 0, 0));
  EXPECT_FALSE(IsWindowEnabled(window_.Control(cbIMAP)));
  EXPECT_TRUE(IsWindowEnabled(window_.Control(cbHTTP)));
  EXPECT_EQ("D:\\Offline\\", WindowText(window_.Control(edOSTPath)));
  EXPECT_FALSE(window_.Modified(edOSTPath));
  EXPECT_EQ(RGB(0xC0, 0xC0, 0xC0), PaintedColour(window_.Control(edOSTPath)));
  EXPECT_THAT(window_.Items(lbAllowed), testing::ElementsAre("exe", "url"));
  EXPECT_EQ(1, SendMessageA(window_.Control(lbAllowed), LB_GETCURSEL, 0, 0));
  EXPECT_EQ("OUTLOOK 2013 ONLY", WindowText(window_.Control(mDescription)));
}

// A list kept in memory until its page is shown answers every call as the list box does.
TEST_F(MainWindowUi, KeptListAnswersAsTheListBoxDoes) {
  Win32Window shown(MainWindowLayout(), {instance_, nullptr, &pictures_, false});
  ShowEveryPage(shown);
  ASSERT_EQ(nullptr, window_.Control(lbAllowed));
  auto both = [&](auto call) {
    call(window_);
    call(shown);
    EXPECT_EQ(shown.Items(lbAllowed), window_.Items(lbAllowed));
    EXPECT_EQ(shown.Selected(lbAllowed), window_.Selected(lbAllowed));
  };
  both([](Form& form) {
    for (const char* item : {"exe", "url", "bat", "com"}) {
      form.AddItem(lbAllowed, item);
    }
  });
  both([](Form& form) { form.Select(lbAllowed, 2); });
  both([](Form& form) { form.DeleteItem(lbAllowed, 0); });  // before the selection
  both([](Form& form) { form.DeleteItem(lbAllowed, 1); });  // the selected one
  both([](Form& form) { form.Select(lbAllowed, 1); });
  both([](Form& form) { form.DeleteItem(lbAllowed, 7); });  // not there
  both([](Form& form) { form.Select(lbAllowed, 5); });
  both([](Form& form) { form.ClearItems(lbAllowed); });
  // A control the layout lacks keeps nothing.
  window_.SetText(9999, "x");
  EXPECT_EQ("", window_.Text(9999));
}

TEST_F(MainWindowUi, PicturesAndHints) {
  ShowEveryPage(window_);
  auto banner = reinterpret_cast<HBITMAP>(
      SendMessageA(window_.Control(Image1), STM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(nullptr, banner);
  BITMAP size{};
  GetObjectA(banner, sizeof(size), &size);
  EXPECT_EQ(61, size.bmWidth);
  EXPECT_EQ(309, size.bmHeight);
  EXPECT_NE(0, SendMessageA(window_.Control(btnHelp), BM_GETIMAGE, IMAGE_BITMAP, 0));
  EXPECT_NE(0, SendMessageA(window_.Control(Image2), STM_GETIMAGE, IMAGE_BITMAP, 0));

  std::vector<std::string> hints;
  HWND tooltips = window_.Hints();
  const auto count = SendMessageA(tooltips, TTM_GETTOOLCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char text[128] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.lpszText = text;
    SendMessageA(tooltips, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool));
    hints.push_back(std::to_string(GetDlgCtrlID(reinterpret_cast<HWND>(tool.uId))) + " " + text);
  }
  auto hint = [](ControlId id, const char* text) { return std::to_string(id) + " " + text; };
  EXPECT_THAT(hints, testing::UnorderedElementsAre(
                         hint(btnHelp, "Tarnwell Help"), hint(btnAddOne, "Move selected item"),
                         hint(btnAddAll, "Move all items"), hint(btnDelOne, "Remove selected item"),
                         hint(btnDelAll, "Remove all items")));
}

TEST(MainWindowUiBanner, DamagedBannerLeavesOnlyThePictureOut) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  ResourcePictures real(instance);
  FailingBanner pictures(real);
  Win32Window window(MainWindowLayout(), {instance, nullptr, &pictures, false});
  ASSERT_NE(nullptr, window.Handle());
  ShowEveryPage(window);
  EXPECT_EQ(0, SendMessageA(window.Control(Image1), STM_GETIMAGE, IMAGE_BITMAP, 0));
  EXPECT_NE(0, SendMessageA(window.Control(btnHelp), BM_GETIMAGE, IMAGE_BITMAP, 0));
  for (const auto& row : MainWindowLayout().controls) {
    EXPECT_NE(nullptr, window.Control(row.id)) << row.name;
  }
}

TEST_F(MainWindowUi, ClicksReachTheSinkAndErrorsTheErrorBox) {
  ShowEveryPage(window_);
  RecordingSink sink;
  ScriptedDialogs dialogs;
  window_.Connect(&sink, &dialogs);
  SendMessageA(window_.Control(btnExit), BM_CLICK, 0, 0);
  SendMessageA(window_.Control(cbPOP3), BM_CLICK, 0, 0);
  dialogs.ExpectError("Invalid data type for 'Path'");
  SendMessageA(window_.Control(btnScanPST), BM_CLICK, 0, 0);
  EXPECT_THAT(sink.events, testing::ElementsAre(std::pair{btnExit, Event::Click},
                                                std::pair{cbPOP3, Event::Click},
                                                std::pair{btnScanPST, Event::Click}));
  EXPECT_TRUE(window_.Checked(cbPOP3));
  // A disabled control reports nothing, however its notification arrives.
  SendMessageA(window_.Control(btnRevert), BM_CLICK, 0, 0);
  EXPECT_EQ(3u, sink.events.size());
}

// The system menu's own items stand above "Close" after a separator; choosing one is a
// click, and a disabled one is greyed and reports nothing.
TEST_F(MainWindowUi, SystemMenuItemsAreClickedAndDisabledLikeButtons) {
  HMENU menu = GetSystemMenu(window_.Handle(), FALSE);
  ASSERT_NE(nullptr, menu);
  // Wine adds an item of its own below "Close".
  int close = 0;
  while (close < GetMenuItemCount(menu) && GetMenuItemID(menu, close) != SC_CLOSE) {
    ++close;
  }
  ASSERT_GE(close, 4);
  std::vector<UINT> tail;
  for (int index = close - 4; index <= close; ++index) {
    tail.push_back(GetMenuItemID(menu, index));
  }
  const UINT separator = 0;
  EXPECT_THAT(tail, testing::ElementsAre(separator, UINT{miRestoreBackup}, UINT{miExportSettings},
                                         separator, UINT{SC_CLOSE}));
  for (const auto& item : MainWindowLayout().system_menu) {
    char caption[100] = {};
    GetMenuStringA(menu, static_cast<UINT>(item.id), caption, sizeof(caption), MF_BYCOMMAND);
    EXPECT_EQ(item.caption, caption);
    EXPECT_EQ(item.caption, window_.Text(item.id));
  }

  RecordingSink sink;
  ScriptedDialogs dialogs;
  window_.Connect(&sink, &dialogs);
  SendMessageA(window_.Handle(), WM_SYSCOMMAND, miExportSettings, 0);
  window_.SetEnabled(miRestoreBackup, false);
  EXPECT_FALSE(window_.Enabled(miRestoreBackup));
  EXPECT_TRUE(window_.Enabled(miExportSettings));
  EXPECT_NE(0u, GetMenuState(menu, miRestoreBackup, MF_BYCOMMAND) & MF_GRAYED);
  SendMessageA(window_.Handle(), WM_SYSCOMMAND, miRestoreBackup, 0);
  EXPECT_THAT(sink.events,
              testing::ElementsAre(std::pair{ControlId{miExportSettings}, Event::Click}));
  window_.SetEnabled(miRestoreBackup, true);
  SendMessageA(window_.Handle(), WM_SYSCOMMAND, miRestoreBackup, 0);
  EXPECT_EQ(2u, sink.events.size());
}

TEST_F(MainWindowUi, TypingSetsTheChangedMarkAndProgramTextClearsIt) {
  HWND edit = window_.Control(edPSTPath);
  EXPECT_FALSE(window_.Modified(edPSTPath));
  window_.SetText(edPSTPath, "C:\\Mail\\");
  EXPECT_FALSE(window_.Modified(edPSTPath));
  SendMessageA(edit, EM_SETSEL, 8, 8);
  SendMessageA(edit, WM_CHAR, 'x', 0);
  EXPECT_TRUE(window_.Modified(edPSTPath));
  EXPECT_EQ("C:\\Mail\\x", window_.Text(edPSTPath));
  window_.SetText(edPSTPath, "D:\\");
  EXPECT_FALSE(window_.Modified(edPSTPath));
}

TEST_F(MainWindowUi, ListsMemosAndColoursThroughTheForm) {
  ShowEveryPage(window_);
  window_.AddItem(lbBlocked, "exe");
  window_.AddItem(lbBlocked, "bat");
  window_.AddItem(lbBlocked, "ade");
  EXPECT_THAT(window_.Items(lbBlocked), testing::ElementsAre("exe", "bat", "ade"));
  window_.Select(lbBlocked, 1);
  window_.DeleteItem(lbBlocked, 1);
  EXPECT_EQ(-1, window_.Selected(lbBlocked));
  window_.Select(lbBlocked, 1);
  EXPECT_EQ(1, window_.Selected(lbBlocked));
  window_.Select(lbBlocked, 2);  // past the end: no selection, as after moving the last item
  EXPECT_EQ(-1, window_.Selected(lbBlocked));

  window_.AddLine(mDescription, "OUTLOOK 2013 ONLY");
  window_.AddLine(mDescription, "");
  window_.AddLine(mDescription, "Cleans it.");
  EXPECT_THAT(window_.Lines(mDescription),
              testing::ElementsAre("OUTLOOK 2013 ONLY", "", "Cleans it."));
  EXPECT_EQ("OUTLOOK 2013 ONLY\r\n\r\nCleans it.", WindowText(window_.Control(mDescription)));
  window_.ShowFirstLine(mDescription);
  DWORD start = 1;
  SendMessageA(window_.Control(mDescription), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  EXPECT_EQ(0u, start);

  window_.SetEnabled(edArgument, false);
  window_.SetColour(edArgument, FieldColour::Silver);
  EXPECT_EQ(RGB(0xC0, 0xC0, 0xC0), PaintedColour(window_.Control(edArgument)));
  window_.SetEnabled(edArgument, true);
  window_.SetColour(edArgument, FieldColour::Window);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), PaintedColour(window_.Control(edArgument)));
}

struct ShownBox {
  std::string caption;
  std::string text;
  int default_button = 0;
};

BOOL CALLBACK FindBoxText(HWND child, LPARAM data) {
  char name[32] = {};
  GetClassNameA(child, name, sizeof(name));
  const std::string text = WindowText(child);
  if (_stricmp(name, "Static") == 0 && !text.empty()) {
    reinterpret_cast<ShownBox*>(data)->text = text;
  }
  return TRUE;
}

// The button Enter presses: the one drawn as the default push button.
int DefaultButton(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      return GetDlgCtrlID(child);
    }
  }
  return 0;
}

// Waits on another thread for the next message box, reads it and presses `button`.
std::thread AnswerNextBox(int button, ShownBox& shown) {
  return std::thread([button, &shown] {
    for (int attempt = 0; attempt < 500; ++attempt) {
      if (HWND box = FindWindowA("#32770", nullptr); box != nullptr && IsWindowVisible(box)) {
        shown.caption = WindowText(box);
        EnumChildWindows(box, FindBoxText, reinterpret_cast<LPARAM>(&shown));
        shown.default_button = DefaultButton(box);
        PostMessageA(box, WM_COMMAND, button, 0);
        return;
      }
      Sleep(10);
    }
  });
}

TEST(Win32Dialogs, MessageBoxesShowTheirTextAndReturnTheAnswer) {
  Win32Dialogs dialogs(GetModuleHandleA(nullptr), nullptr);
  ShownBox shown;
  std::thread answer = AnswerNextBox(IDYES, shown);
  EXPECT_EQ(Answer::Yes, dialogs.Message(MessageKind::Confirmation,
                                         "Are you sure you want to make these changes?"));
  answer.join();
  EXPECT_EQ("Confirm", shown.caption);
  EXPECT_EQ("Are you sure you want to make these changes?", shown.text);
  EXPECT_EQ(IDYES, shown.default_button);

  answer = AnswerNextBox(IDNO, shown);
  EXPECT_EQ(Answer::No, dialogs.Message(MessageKind::Confirmation, "Really?"));
  answer.join();

  // Enter on a cautious question answers No.
  answer = AnswerNextBox(IDYES, shown);
  EXPECT_EQ(Answer::Yes, dialogs.Message(MessageKind::ConfirmationDefaultNo, "Without a backup?"));
  answer.join();
  EXPECT_EQ("Confirm", shown.caption);
  EXPECT_EQ(IDNO, shown.default_button);

  answer = AnswerNextBox(IDOK, shown);
  dialogs.ShowError("Invalid data type for 'Bitness'");
  answer.join();
  EXPECT_EQ("Tarnwell", shown.caption);
  EXPECT_EQ("Invalid data type for 'Bitness'", shown.text);

  answer = AnswerNextBox(IDOK, shown);
  EXPECT_EQ(Answer::Ok,
            dialogs.Message(MessageKind::Warning, "The attachment default path does not exist."));
  answer.join();
  EXPECT_EQ("Warning", shown.caption);
}

// The open-file dialog of the Startup Options page: its title, the name it starts from,
// the read-only box hidden; the path the user confirms comes back.
TEST(Win32Dialogs, OpenFileStartsFromTheGivenNameAndReturnsTheChoice) {
  Win32Dialogs dialogs(GetModuleHandleA(nullptr), nullptr);
  std::string start_name;
  bool read_only_box_shown = true;
  std::thread user([&] {
    for (int attempt = 0; attempt < 500; ++attempt) {
      HWND dialog = FindWindowA("#32770", "Outlook Startup Options");
      if (dialog != nullptr && IsWindowVisible(dialog)) {
        HWND name = GetDlgItem(dialog, 0x47C);  // the file name combo box
        if (name == nullptr) {
          name = GetDlgItem(dialog, 0x480);  // or edit
        }
        start_name = WindowText(name);
        HWND read_only = GetDlgItem(dialog, 0x410);
        read_only_box_shown = read_only != nullptr && IsWindowVisible(read_only);
        SetWindowTextA(name, "C:\\windows\\win.ini");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(10);
    }
  });
  const auto chosen = dialogs.OpenFile({"Outlook Startup Options", "Outlook-Option", ".ics",
                                        "iCalendar Calendar File (.ics)|*.ics"});
  user.join();
  EXPECT_EQ("Outlook-Option", start_name);
  EXPECT_FALSE(read_only_box_shown);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_STRCASEEQ("C:\\windows\\win.ini", chosen->c_str());
}

// The descriptions window, shown modally over the main window by a click of its owner's
// button, is built from its own layout and closes with "&Close".
TEST_F(MainWindowUi, DescriptionsWindowIsModalAndClosesWithItsButton) {
  Win32Dialogs dialogs(instance_, &pictures_);
  dialogs.SetOwner(window_.Handle());
  std::vector<std::string> lines;
  bool owner_disabled = false;
  // The user clicks "&Close" once the window shows; should the click not close it, the
  // window is closed the hard way so that the test ends, and fails.
  std::thread user([&] {
    for (int attempt = 0; attempt < 500; ++attempt) {
      HWND shown = FindWindowA("TarnwellForm3", "Attachment Descriptions");
      if (shown != nullptr && IsWindowVisible(shown)) {
        owner_disabled = !IsWindowEnabled(window_.Handle());
        PostMessageA(GetDlgItem(shown, form3::Button1), BM_CLICK, 0, 0);
        break;
      }
      Sleep(10);
    }
    for (int attempt = 0; attempt < 200; ++attempt) {
      if (FindWindowA("TarnwellForm3", nullptr) == nullptr) {
        return;
      }
      Sleep(10);
    }
    ADD_FAILURE() << "the window did not close";
    PostMessageA(FindWindowA("TarnwellForm3", nullptr), WM_CLOSE, 0, 0);
  });
  dialogs.ShowModal(DescriptionsWindowLayout(), [&](Form& form) {
    auto logic = std::make_unique<DescriptionsWindow>(form);
    auto& window = static_cast<Win32Window&>(form);
    ExpectControlsMatchTheirRows(window);
    lines = window.Lines(form3::Memo1);
    return logic;
  });
  user.join();
  EXPECT_TRUE(owner_disabled);
  EXPECT_TRUE(IsWindowEnabled(window_.Handle()));
  EXPECT_EQ(nullptr, FindWindowA("TarnwellForm3", nullptr));
  EXPECT_EQ(60u, lines.size());
}

}  // namespace
}  // namespace tarnwell

// Checks of a window built by the Win32 binding against its layout table.
#include "wine/layout_check.h"

#include <gtest/gtest.h>

#include "support/layouts.h"
#include "ui/win32/hyperlink_label.h"
#include "ui/win32/shell_namespace.h"

namespace tarnwell {
namespace {

const char* ExpectedClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
    case ControlKind::Panel:
    case ControlKind::Picture:
      return "Static";
    case ControlKind::Button:
    case ControlKind::PictureButton:
    case ControlKind::CheckBox:
    case ControlKind::GroupBox:
    case ControlKind::RadioGroup:  // its frame; the items are buttons beside it
      return "Button";
    case ControlKind::Edit:
    case ControlKind::Memo:
      return "Edit";
    case ControlKind::ListBox:
      return "ListBox";
    case ControlKind::PageControl:
      return "SysTabControl32";
    case ControlKind::Page:
      return "TarnwellPage";
    case ControlKind::ShellTree:
      return "SysTreeView32";
    case ControlKind::Link:
      return HyperlinkLabel::kClassName;
  }
  return "";
}

// The row's place relative to the window that holds the control: group boxes hold their
// controls on the page, offset by their own place.
RECT ExpectedPlace(const WindowLayout& layout, const ControlLayout& row) {
  int left = row.rect.left;
  int top = row.rect.top;
  for (const ControlLayout* holder = layout.Find(row.parent);
       holder != nullptr && holder->kind == ControlKind::GroupBox;
       holder = layout.Find(holder->parent)) {
    left += holder->rect.left;
    top += holder->rect.top;
  }
  return RECT{left, top, left + row.rect.width, top + row.rect.height};
}

}  // namespace

std::string ClassNameOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

RECT PlaceInParent(HWND control) {
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

// The brush and background colour an edit field is painted with, asked the way Windows
// asks: a disabled or read-only edit sends WM_CTLCOLORSTATIC, an enabled one WM_CTLCOLOREDIT.
COLORREF PaintedColour(HWND edit) {
  HDC dc = GetDC(edit);
  const bool as_static = !IsWindowEnabled(edit) || (GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(GetParent(edit), as_static ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                   reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
  const COLORREF background = GetBkColor(dc);
  ReleaseDC(edit, dc);
  LOGBRUSH look{};
  GetObjectA(brush, sizeof(look), &look);
  EXPECT_EQ(look.lbColor, background);
  return look.lbColor;
}

// Every control of a window against its row: class, id, caption, place, state, font.
void ExpectControlsMatchTheirRows(const Win32Window& window) {
  const WindowLayout& layout = window.Layout();
  for (const auto& row : layout.controls) {
    SCOPED_TRACE(std::string(row.name));
    HWND control = window.Control(row.id);
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(row.id, GetDlgCtrlID(control));
    EXPECT_STRCASEEQ(ExpectedClass(row.kind), ClassNameOf(control).c_str());
    EXPECT_EQ(row.enabled, IsWindowEnabled(control) != FALSE);

    if (row.kind == ControlKind::Edit || row.kind == ControlKind::Memo) {
      EXPECT_EQ(
          row.colour == FieldColour::Silver ? RGB(0xC0, 0xC0, 0xC0) : GetSysColor(COLOR_WINDOW),
          PaintedColour(control));
    } else {
      EXPECT_EQ(row.caption, WindowText(control));
    }

    if (row.kind != ControlKind::Page) {
      const RECT expected = ExpectedPlace(layout, row);
      const RECT actual = PlaceInParent(control);
      EXPECT_EQ(expected.left, actual.left);
      EXPECT_EQ(expected.top, actual.top);
      if (row.rect.width != 0) {
        EXPECT_EQ(expected.right, actual.right);
        EXPECT_EQ(expected.bottom, actual.bottom);
      } else {
        EXPECT_GT(actual.right - actual.left, 0);
        EXPECT_GT(actual.bottom - actual.top, 8);
      }
    }

    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    if (row.kind != ControlKind::Page && row.kind != ControlKind::Picture) {
      EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
      EXPECT_EQ(-11, font.lfHeight);
      EXPECT_EQ(row.bold ? FW_BOLD : FW_NORMAL, font.lfWeight);
    }
  }
}

namespace {

// The caption and client size of the table, and the system menu.
void ExpectWindowOfTheTable(const Win32Window& window) {
  const WindowLayout& layout = window.Layout();
  EXPECT_EQ(layout.caption, WindowText(window.Handle()));
  RECT client{};
  GetClientRect(window.Handle(), &client);
  EXPECT_EQ(layout.client_width, client.right);
  EXPECT_EQ(layout.client_height, client.bottom);
  EXPECT_TRUE(GetWindowLongA(window.Handle(), GWL_STYLE) & WS_SYSMENU);
}

}  // namespace

void ExpectFixedWindow(const Win32Window& window) {
  ExpectWindowOfTheTable(window);
  const LONG style = GetWindowLongA(window.Handle(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
}

void ExpectSizeableWindow(const Win32Window& window, int outer_width, int outer_height) {
  ExpectWindowOfTheTable(window);
  RECT frame{};
  GetWindowRect(window.Handle(), &frame);
  EXPECT_EQ(outer_width, frame.right - frame.left);
  EXPECT_EQ(outer_height, frame.bottom - frame.top);
  const LONG style = GetWindowLongA(window.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

// Every window, with every page shown: each control against its row, and a window of fixed
// size with only a system menu unless its table makes it sizeable.
class EachWindow : public testing::TestWithParam<const WindowLayout*> {};

TEST_P(EachWindow, EveryControlMatchesItsRow) {
  const WindowLayout& layout = *GetParam();
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  ResourcePictures pictures(instance);
  ShellNamespace shell;
  Win32Window window(layout, {instance, nullptr, &pictures, false, false, &shell});
  ASSERT_NE(nullptr, window.Handle());
  for (const auto& row : layout.controls) {
    if (row.kind == ControlKind::Page) {
      window.ShowPage(row.id);
    }
  }
  if (layout.border != WindowBorder::Sizeable) {
    ExpectFixedWindow(window);
  }
  ExpectControlsMatchTheirRows(window);
}

INSTANTIATE_TEST_SUITE_P(Windows, EachWindow, testing::ValuesIn(EveryLayout()), LayoutName());

}  // namespace tarnwell

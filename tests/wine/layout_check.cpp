// Every window built by the Win32 binding against its layout table, under Wine and Xvfb.
#include "wine/layout_check.h"

#include <commctrl.h>

#include <array>
#include <gtest/gtest.h>
#include <map>

#include "support/layouts.h"
#include "ui/win32/shell_namespace.h"

namespace tarnwell {

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

void ShowEveryPage(Win32Window& window) {
  for (const auto& row : window.Layout().controls) {
    window.ShowPage(row.id);
  }
}

namespace {

// The colour an edit is painted in, asked as Windows asks for its state.
COLORREF PaintedColour(HWND edit) {
  HDC dc = GetDC(edit);
  const bool as_static = !IsWindowEnabled(edit) || (GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
  LOGBRUSH look{};
  GetObjectA(reinterpret_cast<HBRUSH>(SendMessageA(GetParent(edit),
                                                   as_static ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                                   WPARAM(dc), LPARAM(edit))),
             sizeof(look), &look);
  EXPECT_EQ(look.lbColor, GetBkColor(dc));
  ReleaseDC(edit, dc);
  return look.lbColor;
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
// font and picture, a radio group's items beside its frame; the tab stops of each page in
// row order.
void ExpectWindowMatchesItsRows(const Win32Window& window, int dw, int dh) {
  const WindowLayout& layout = window.Layout();
  EXPECT_EQ(layout.caption, WindowText(window.Handle()));
  RECT client{};
  GetClientRect(window.Handle(), &client);
  EXPECT_EQ(layout.client_width + dw, client.right);
  EXPECT_EQ(layout.client_height + dh, client.bottom);
  const LONG style = GetWindowLongA(window.Handle(), GWL_STYLE);
  EXPECT_EQ(WS_SYSMENU, style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_EQ(layout.border == WindowBorder::Sizeable, (style & WS_THICKFRAME) != 0);
  std::map<HWND, std::vector<ControlId>> tab_stops;
  for (const auto& row : layout.controls) {
    SCOPED_TRACE(std::string(row.name));
    HWND control = window.Control(row.id);
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(row.id, GetDlgCtrlID(control));
    EXPECT_EQ(row.enabled, IsWindowEnabled(control) != FALSE);
    EXPECT_EQ(row.caption, WindowText(control));
    if (row.kind == ControlKind::Edit || row.kind == ControlKind::Memo) {
      EXPECT_EQ(0, SendMessageA(control, EM_GETMODIFY, 0, 0));
      EXPECT_EQ(
          row.colour == FieldColour::Silver ? RGB(0xC0, 0xC0, 0xC0) : GetSysColor(COLOR_WINDOW),
          PaintedColour(control));
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
      EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
      EXPECT_EQ(std::tuple(-11L, row.bold ? FW_BOLD : FW_NORMAL, row.kind == ControlKind::Link),
                std::tuple(font.lfHeight, font.lfWeight, font.lfUnderline != 0));
    }
    const UINT get_image = row.kind == ControlKind::PictureButton ? BM_GETIMAGE : STM_GETIMAGE;
    EXPECT_EQ(!row.picture.empty(), SendMessageA(control, get_image, IMAGE_BITMAP, 0) != 0);
    const int count = static_cast<int>(row.items.size());
    for (int index = 0; index < count; ++index) {
      control = GetWindow(control, GW_HWNDNEXT);
      EXPECT_EQ(BS_AUTORADIOBUTTON, GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK);
      EXPECT_EQ(row.id, GetDlgCtrlID(control));
      EXPECT_EQ(row.items[index], WindowText(control));
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

}  // namespace

// Every window with every page shown; a sizeable one also grown, its controls kept at their
// anchored edges, and shrunk, which leaves it at its designed size.
class EachWindow : public testing::TestWithParam<const WindowLayout*> {};

TEST_P(EachWindow, EveryControlMatchesItsRow) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  ResourcePictures pictures(instance);
  ShellNamespace shell;
  Win32Window window(*GetParam(), {instance, nullptr, &pictures, false, false, &shell});
  ShowEveryPage(window);
  ExpectWindowMatchesItsRows(window, 0, 0);
  if (GetParam()->border == WindowBorder::Sizeable) {
    RECT frame{};
    GetWindowRect(window.Handle(), &frame);
    for (const auto [dw, dh, width, height] :
         {std::array<LONG, 4>{100, 80, frame.right - frame.left + 100,
                              frame.bottom - frame.top + 80},
          std::array<LONG, 4>{0, 0, 300, 200}}) {
      SetWindowPos(window.Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
      ExpectWindowMatchesItsRows(window, dw, dh);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, EachWindow, testing::ValuesIn(EveryLayout()), LayoutName());

}  // namespace tarnwell

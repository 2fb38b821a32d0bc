#include "ui/win32/hyperlink_label.h"

#include <windowsx.h>

namespace tarnwell {
namespace {

void RegisterLinkClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA link_class{};
  link_class.cbSize = sizeof(link_class);
  if (GetClassInfoExA(instance, HyperlinkLabel::kClassName, &link_class)) {
    return;
  }
  link_class.lpfnWndProc = procedure;
  link_class.hInstance = instance;
  link_class.hCursor = LoadCursor(nullptr, IDC_HAND);
  link_class.lpszClassName = HyperlinkLabel::kClassName;
  RegisterClassExA(&link_class);
}

UniqueFont UnderlinedCopy(HFONT font) {
  LOGFONTA description{};
  GetObjectA(font, sizeof(description), &description);
  description.lfUnderline = TRUE;
  return UniqueFont(CreateFontIndirectA(&description));
}

}  // namespace

HyperlinkLabel::HyperlinkLabel(HINSTANCE instance, HWND parent, int control_id, const RECT& place,
                               HFONT font, const char* caption)
    : font_(UnderlinedCopy(font)) {
  RegisterLinkClass(instance, LabelProc);
  label_.reset(CreateWindowExA(0, kClassName, caption, WS_CHILD | WS_VISIBLE, place.left, place.top,
                               place.right, place.bottom, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)), instance,
                               this));
}

COLORREF HyperlinkLabel::Colour() const {
  return hot_ ? kHotColour : followed_ ? kFollowedColour : kLinkColour;
}

LRESULT CALLBACK HyperlinkLabel::LabelProc(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<HyperlinkLabel*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<HyperlinkLabel*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  }
  return self != nullptr ? self->HandleMessage(window, message, wparam, lparam)
                         : DefWindowProcA(window, message, wparam, lparam);
}

LRESULT HyperlinkLabel::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(window, message, wparam, lparam);
      InvalidateRect(window, nullptr, TRUE);
      return result;
    }
    case WM_MOUSEMOVE:
      if (!hot_ && !pressed_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        SetHot(window, true);
      }
      return 0;
    case WM_MOUSELEAVE:
      if (!pressed_) {
        SetHot(window, false);
      }
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(window);
      SetHot(window, true);
      return 0;
    case WM_LBUTTONUP: {
      if (!pressed_) {
        return 0;
      }
      pressed_ = false;
      ReleaseCapture();
      SetHot(window, false);
      if (Inside(window, lparam)) {
        followed_ = true;
        InvalidateRect(window, nullptr, TRUE);
        SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), STN_CLICKED),
                     reinterpret_cast<LPARAM>(window));
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pressed_) {
        pressed_ = false;
        SetHot(window, false);
      }
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_.get());
    case kGetColour:
      return static_cast<LRESULT>(Colour());
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

void HyperlinkLabel::Paint(HWND window) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  RECT area{};
  GetClientRect(window, &area);
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  char caption[256] = {};
  GetWindowTextA(window, caption, sizeof(caption));
  HGDIOBJ old = SelectObject(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Colour());
  DrawTextA(dc, caption, -1, &area, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(window, &paint);
}

bool HyperlinkLabel::Inside(HWND window, LPARAM at) const {
  RECT area{};
  GetClientRect(window, &area);
  const POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  return PtInRect(&area, point) != FALSE;
}

void HyperlinkLabel::SetHot(HWND window, bool hot) {
  if (hot_ != hot) {
    hot_ = hot;
    InvalidateRect(window, nullptr, TRUE);
  }
}

}  // namespace tarnwell

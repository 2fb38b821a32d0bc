#include "ui/win32/window.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "ui/win32/control_kinds.h"

namespace tarnwell {
namespace {

std::string WindowClassName(const WindowLayout& layout) {
  return "Tarnwell" + std::string(layout.form_name);
}

// A window of pages leaves their area to them. Any other paints under its controls: a
// group box standing directly on it draws only its frame and caption, and relies on that.
DWORD WindowStyle(const WindowLayout& layout) {
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  const bool pages =
      std::any_of(layout.controls.begin(), layout.controls.end(),
                  [](const auto& row) { return row.kind == ControlKind::PageControl; });
  if (pages) {
    style |= WS_CLIPCHILDREN;
  }
  return layout.border == WindowBorder::Sizeable ? style | WS_THICKFRAME : style;
}

}  // namespace

Win32Window::Win32Window(const WindowLayout& layout, const Options& options)
    : layout_(layout), options_(options), pending_(layout) {
  {
    ScreenDc screen = GetScreenDc();
    dpi_ = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  CreateFonts();

  const std::string class_name = WindowClassName(layout_);
  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof(window_class);
  if (!GetClassInfoExA(options_.instance, class_name.c_str(), &window_class)) {
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = options_.instance;
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.hIcon = LoadIconA(options_.instance, "MAINICON");
    window_class.hIconSm = static_cast<HICON>(
        LoadImageA(options_.instance, "MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    window_class.lpszClassName = class_name.c_str();
    RegisterClassExA(&window_class);
  }
  WNDCLASSEXA page_class{};
  page_class.cbSize = sizeof(page_class);
  if (!GetClassInfoExA(options_.instance, kPageClass, &page_class)) {
    page_class.lpfnWndProc = PageProc;
    page_class.hInstance = options_.instance;
    page_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    page_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    page_class.lpszClassName = kPageClass;
    RegisterClassExA(&page_class);
  }

  const SIZE frame = DesignedFrame();
  const std::string caption(layout_.caption);
  CreateWindowExA(WS_EX_CONTROLPARENT, class_name.c_str(), caption.c_str(), WindowStyle(layout_),
                  CW_USEDEFAULT, CW_USEDEFAULT, frame.cx, frame.cy, options_.owner, nullptr,
                  options_.instance, this);
  if (window_ != nullptr) {
    CreateControls();
    AddSystemMenuItems(window_, layout_.system_menu);
    for (const SystemMenuItem& item : layout_.system_menu) {
      menu_items_.emplace(item.id, SystemMenuItemState(window_, item));
    }
  }
}

Win32Window::~Win32Window() {
  if (window_ != nullptr) {
    DestroyWindow(window_);
  }
}

SIZE Win32Window::DesignedFrame() const {
  RECT frame{0, 0, Scale(layout_.client_width), Scale(layout_.client_height)};
  AdjustWindowRectEx(&frame, WindowStyle(layout_), FALSE, WS_EX_CONTROLPARENT);
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

HWND Win32Window::Control(ControlId id) const {
  const BoundControl* control = Bound(id);
  return control != nullptr ? control->Handle() : nullptr;
}

BoundControl* Win32Window::Bound(ControlId id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second.get();
}

void Win32Window::Connect(EventSink* sink, Dialogs* dialogs) {
  sink_ = sink;
  dialogs_ = dialogs;
}

void Win32Window::ShowCentred() {
  RECT frame{};
  GetWindowRect(window_, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

void Win32Window::RunModal() {
  if (options_.owner != nullptr) {
    EnableWindow(options_.owner, FALSE);
  }
  ShowCentred();
  MSG message{};
  while (window_ != nullptr) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: leave the quit message for the main loop.
      if (got == 0) {
        PostQuitMessage(static_cast<int>(message.wParam));
      }
      break;
    }
    if (window_ == nullptr || !IsDialogMessageA(window_, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  if (options_.owner != nullptr) {
    EnableWindow(options_.owner, TRUE);
  }
}

void Win32Window::ShowPage(ControlId page) {
  const ControlLayout* row = layout_.Find(page);
  if (row == nullptr || row->kind != ControlKind::Page) {
    return;
  }
  CreatePageControls(page);
  int index = 0;
  for (const auto& other : layout_.controls) {
    if (other.kind == ControlKind::Page && other.parent == row->parent) {
      if (other.id == page) {
        TabCtrl_SetCurSel(Control(row->parent), index);
      }
      ShowWindow(Control(other.id), other.id == page ? SW_SHOW : SW_HIDE);
      ++index;
    }
  }
}

// --- messages --------------------------------------------------------------------------------

LRESULT CALLBACK Win32Window::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Win32Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  } else {
    self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  if (self == nullptr) {
    return DefWindowProcA(window, message, wparam, lparam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    // Their windows went with this one's; what they hold goes now.
    self->controls_.clear();
    return DefWindowProcA(window, message, wparam, lparam);
  }
  return self->HandleMessage(message, wparam, lparam);
}

// A page passes what its controls report on to the window that owns it.
LRESULT CALLBACK Win32Window::PageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return SendMessageA(GetAncestor(page, GA_ROOT), message, wparam, lparam);
    default:
      return DefWindowProcA(page, message, wparam, lparam);
  }
}

LRESULT Win32Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(wparam, lparam);
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (BoundControl* control = Bound(static_cast<ControlId>(header->idFrom))) {
        if (auto notified = control->OnNotify(*header)) {
          if (notified->event) {
            Raise(static_cast<ControlId>(header->idFrom), *notified->event);
          }
          return notified->result;
        }
      }
      if (header->code == TCN_SELCHANGE) {
        const int selected = TabCtrl_GetCurSel(header->hwndFrom);
        int index = 0;
        for (const auto& row : layout_.controls) {
          if (row.kind == ControlKind::Page &&
              row.parent == static_cast<ControlId>(header->idFrom) && index++ == selected) {
            ShowPage(row.id);
          }
        }
      }
      return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (LRESULT brush = ColourOf(reinterpret_cast<HWND>(lparam), reinterpret_cast<HDC>(wparam))) {
        return brush;
      }
      break;
    case WM_SYSCOMMAND:
      if (OnSystemCommand(wparam)) {
        return 0;
      }
      break;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_SIZE:
      if (layout_.border == WindowBorder::Sizeable && wparam != SIZE_MINIMIZED) {
        ArrangeControls();
      }
      break;
    case WM_GETMINMAXINFO:
      // A sizeable window is never smaller than it was designed.
      if (layout_.border == WindowBorder::Sizeable) {
        const SIZE frame = DesignedFrame();
        reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = POINT{frame.cx, frame.cy};
        return 0;
      }
      break;
    case WM_SHOWWINDOW:
      if (wparam != FALSE) {
        Raise(kNoControl, Event::Show);
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) {
        Raise(kNoControl, Event::Activate);
      }
      break;
    case WM_DESTROY:
      if (options_.ends_program) {
        PostQuitMessage(0);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wparam, lparam);
}

void Win32Window::OnCommand(WPARAM wparam, LPARAM lparam) {
  const auto id = static_cast<ControlId>(LOWORD(wparam));
  const ControlLayout* row = layout_.Find(id);
  HWND control = reinterpret_cast<HWND>(lparam);
  if (row == nullptr || control == nullptr || !IsWindowEnabled(control) || sink_ == nullptr ||
      dialogs_ == nullptr) {
    return;
  }
  if (const std::optional<Event> event = CommandEvent(row->kind, HIWORD(wparam))) {
    Dispatch(*sink_, *dialogs_, id, *event);
  }
}

bool Win32Window::OnSystemCommand(WPARAM wparam) {
  // Windows keeps the low four bits of the command for itself.
  const auto id = static_cast<ControlId>(wparam & 0xFFF0);
  auto item = menu_items_.find(id);
  if (item == menu_items_.end()) {
    return false;
  }
  if (item->second.Enabled()) {
    Raise(id, Event::Click);
  }
  return true;
}

void Win32Window::Raise(ControlId id, Event event) {
  if (sink_ != nullptr && dialogs_ != nullptr) {
    Dispatch(*sink_, *dialogs_, id, event);
  }
}

int Win32Window::RunMessageLoop(HWND main_window) {
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    HWND active = GetActiveWindow();
    if (active == nullptr) {
      active = main_window;
    }
    if (IsDialogMessageA(active, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

// The owner is enabled again first, so that it, not another program, becomes active.
void Win32Window::Close() {
  if (options_.kept) {
    // Hidden, it hands the activation back to the window it was shown from.
    ShowWindow(window_, SW_HIDE);
    if (IsWindow(shown_from_) && IsWindowEnabled(shown_from_)) {
      SetActiveWindow(shown_from_);
    }
    return;
  }
  if (options_.owner != nullptr) {
    EnableWindow(options_.owner, TRUE);
  }
  if (window_ != nullptr) {
    DestroyWindow(window_);
  }
}

void Win32Window::Show() {
  if (!IsWindowVisible(window_)) {
    shown_from_ = GetActiveWindow();
    ShowCentred();
  }
  SetActiveWindow(window_);
}

}  // namespace tarnwell

#include "ui/win32/window.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "ui/win32/control_kinds.h"

namespace tarnwell {
namespace {

constexpr COLORREF kSilver = RGB(0xC0, 0xC0, 0xC0);

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

RECT ToRect(const LayoutRect& place) {
  return RECT{place.left, place.top, place.width, place.height};
}

}  // namespace

Win32Window::Win32Window(const WindowLayout& layout, const Options& options)
    : layout_(layout), options_(options), pending_(layout) {
  {
    ScreenDc screen = GetScreenDc();
    dpi_ = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  auto make_font = [this](int weight) {
    return UniqueFont(CreateFontA(-Scale(11), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
  };
  font_ = make_font(FW_NORMAL);
  bold_font_ = make_font(FW_BOLD);
  silver_brush_.reset(CreateSolidBrush(kSilver));

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

// --- building -------------------------------------------------------------------------------

RECT Win32Window::PlaceOf(const ControlLayout& row, HWND& parent) const {
  int left = row.rect.left;
  int top = row.rect.top;
  ControlId container = row.parent;
  // A group box's controls are siblings of the group on its page, offset by its place.
  while (container != kNoControl) {
    const ControlLayout* holder = layout_.Find(container);
    if (holder == nullptr || holder->kind != ControlKind::GroupBox) {
      break;
    }
    left += holder->rect.left;
    top += holder->rect.top;
    container = holder->parent;
  }
  parent = container == kNoControl ? window_ : Control(container);
  return RECT{Scale(left), Scale(top), Scale(row.rect.width), Scale(row.rect.height)};
}

void Win32Window::CreateControls() {
  tooltips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                              nullptr, options_.instance, nullptr);
  ControlId first_page = kNoControl;
  for (const auto& row : layout_.controls) {
    if (row.kind != ControlKind::Page) {
      if (PageOf(row) == kNoControl) {
        CreateControl(row);
      }
      continue;
    }
    if (first_page == kNoControl) {
      first_page = row.id;
    }
    // A page: a tab of its page control, and a window covering the control's display area.
    HWND tabs = Control(row.parent);
    const std::string caption(row.caption);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    const int index = TabCtrl_GetItemCount(tabs);
    SendMessageA(tabs, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
    const ControlClass kind = ClassOf(row);
    HWND page = CreateWindowExA(kind.ex_style, kind.name, caption.c_str(),
                                WS_CHILD | kind.style | (index == 0 ? WS_VISIBLE : 0), 0, 0, 0, 0,
                                tabs, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                options_.instance, nullptr);
    controls_[row.id] = std::make_unique<BoundControl>(page, pending_.At(row.id).Colour());
  }
  // Pages fill the display area that the tabs leave, known once every tab is in.
  for (const auto& row : layout_.controls) {
    if (row.kind == ControlKind::Page) {
      HWND tabs = Control(row.parent);
      RECT area{};
      GetClientRect(tabs, &area);
      TabCtrl_AdjustRect(tabs, FALSE, &area);
      SetWindowPos(Control(row.id), nullptr, area.left, area.top, area.right - area.left,
                   area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (first_page != kNoControl) {
    CreatePageControls(first_page);
  }
}

ControlId Win32Window::PageOf(const ControlLayout& row) const {
  for (const ControlLayout* holder = layout_.Find(row.parent); holder != nullptr;
       holder = layout_.Find(holder->parent)) {
    if (holder->kind == ControlKind::Page) {
      return holder->id;
    }
  }
  return kNoControl;
}

void Win32Window::CreatePageControls(ControlId page) {
  for (const auto& row : layout_.controls) {
    if (row.kind != ControlKind::Page && PageOf(row) == page && Control(row.id) == nullptr) {
      CreateControl(row);
    }
  }
}

void Win32Window::CreateControl(const ControlLayout& row) {
  NewControl made;
  made.instance = options_.instance;
  made.place = PlaceOf(row, made.parent);
  made.font = row.bold ? bold_font_.get() : font_.get();
  made.starts_group = after_open_group_;
  made.shell = options_.shell;
  std::unique_ptr<BoundControl> control = MakeControl(row, pending_.At(row.id), made);
  if (control == nullptr) {
    return;
  }
  after_open_group_ = control->LeavesGroupOpen();
  HWND window = control->Handle();
  controls_[row.id] = std::move(control);
  if (!row.picture.empty() && options_.pictures != nullptr) {
    if (UniqueBitmap bitmap = options_.pictures->Load(row.picture)) {
      SendMessageA(window, ClassOf(row).picture_message, IMAGE_BITMAP,
                   reinterpret_cast<LPARAM>(bitmap.get()));
      bitmaps_.push_back(std::move(bitmap));
    }
  }
  if (!row.hint.empty()) {
    AddHint(window, row.hint);
  }
}

// A sizeable window keeps its controls at their anchored edges; a control inside a group
// box moves as the group does.
void Win32Window::ArrangeControls() {
  RECT client{};
  GetClientRect(window_, &client);
  const int grown_width = client.right - Scale(layout_.client_width);
  const int grown_height = client.bottom - Scale(layout_.client_height);
  auto moved = [&](const ControlLayout& row) {
    const ControlLayout* holder = &row;
    while (holder->parent != kNoControl) {
      holder = layout_.Find(holder->parent);
      if (holder == nullptr || holder->kind != ControlKind::GroupBox) {
        return std::optional<POINT>();
      }
    }
    HWND ignored = nullptr;
    const RECT designed = PlaceOf(*holder, ignored);
    const LayoutRect place =
        AnchoredRect({designed.left, designed.top, designed.right, designed.bottom},
                     holder->anchors, grown_width, grown_height);
    return std::optional<POINT>(POINT{place.left - designed.left, place.top - designed.top});
  };
  auto place = [](HWND control, RECT at, bool sized) {
    SetWindowPos(control, nullptr, at.left, at.top, at.right, at.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE | (sized ? 0 : SWP_NOSIZE));
  };
  for (const auto& row : layout_.controls) {
    BoundControl* control = Bound(row.id);
    const std::optional<POINT> shift = moved(row);
    if (control == nullptr || !shift) {
      continue;
    }
    HWND parent = nullptr;
    RECT at = PlaceOf(row, parent);
    if (row.parent == kNoControl) {
      const LayoutRect anchored = AnchoredRect({at.left, at.top, at.right, at.bottom}, row.anchors,
                                               grown_width, grown_height);
      at = ToRect(anchored);
    } else {
      OffsetRect(&at, shift->x, shift->y);
    }
    // A label sized by its caption keeps that size.
    place(control->Handle(), at, row.rect.width != 0 && row.rect.height != 0);
    control->Moved(at);
  }
  InvalidateRect(window_, nullptr, TRUE);
}

void Win32Window::AddHint(HWND control, std::string_view hint) {
  std::string text(hint);
  TTTOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text.data();
  SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
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

// Edit fields paint in their own colour, silver or the window colour, enabled or not.
LRESULT Win32Window::ColourOf(HWND window, HDC dc) {
  const BoundControl* control = Bound(static_cast<ControlId>(GetDlgCtrlID(window)));
  if (control == nullptr || control->Handle() != window || !control->PaintsColour()) {
    return 0;
  }
  if (control->Colour() == FieldColour::Silver) {
    SetBkColor(dc, kSilver);
    return reinterpret_cast<LRESULT>(silver_brush_.get());
  }
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

void Win32Window::OnCommand(WPARAM wparam, LPARAM lparam) {
  const auto id = static_cast<ControlId>(LOWORD(wparam));
  const ControlLayout* row = layout_.Find(id);
  HWND control = reinterpret_cast<HWND>(lparam);
  if (row == nullptr || control == nullptr || !IsWindowEnabled(control) || sink_ == nullptr ||
      dialogs_ == nullptr) {
    return;
  }
  const WORD code = HIWORD(wparam);
  switch (row->kind) {
    case ControlKind::Button:
    case ControlKind::PictureButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioGroup:
      if (code == BN_CLICKED) {
        Dispatch(*sink_, *dialogs_, id, Event::Click);
      }
      break;
    case ControlKind::Link:
      if (code == STN_CLICKED) {
        Dispatch(*sink_, *dialogs_, id, Event::Click);
      }
      break;
    case ControlKind::ListBox:
      if (code == LBN_SELCHANGE) {
        Dispatch(*sink_, *dialogs_, id, Event::Click);
      } else if (code == LBN_DBLCLK) {
        Dispatch(*sink_, *dialogs_, id, Event::DoubleClick);
      }
      break;
    default:
      break;
  }
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

// --- Form ------------------------------------------------------------------------------------
// A control that exists is asked through its window; one on a page not shown yet is
// answered from the state kept for it.

ControlState& Win32Window::StateOf(ControlId id) {
  if (BoundControl* control = Bound(id)) {
    return *control;
  }
  return pending_.At(id);
}

const ControlState& Win32Window::StateOf(ControlId id) const {
  if (const BoundControl* control = Bound(id)) {
    return *control;
  }
  return pending_.At(id);
}

std::string Win32Window::Text(ControlId id) const {
  return StateOf(id).Text();
}
void Win32Window::SetText(ControlId id, std::string_view text) {
  StateOf(id).SetText(text);
}
bool Win32Window::Modified(ControlId id) const {
  return StateOf(id).Modified();
}
void Win32Window::SetModified(ControlId id, bool modified) {
  StateOf(id).SetModified(modified);
}
bool Win32Window::Enabled(ControlId id) const {
  return StateOf(id).Enabled();
}
void Win32Window::SetEnabled(ControlId id, bool enabled) {
  StateOf(id).SetEnabled(enabled);
}
FieldColour Win32Window::Colour(ControlId id) const {
  return StateOf(id).Colour();
}
void Win32Window::SetColour(ControlId id, FieldColour colour) {
  StateOf(id).SetColour(colour);
}
bool Win32Window::Checked(ControlId id) const {
  return StateOf(id).Checked();
}
void Win32Window::SetChecked(ControlId id, bool checked) {
  StateOf(id).SetChecked(checked);
}
std::vector<std::string> Win32Window::Items(ControlId id) const {
  return StateOf(id).Items();
}
void Win32Window::AddItem(ControlId id, std::string_view text) {
  StateOf(id).AddItem(text);
}
void Win32Window::DeleteItem(ControlId id, int index) {
  StateOf(id).DeleteItem(index);
}
void Win32Window::ClearItems(ControlId id) {
  StateOf(id).ClearItems();
}
int Win32Window::Selected(ControlId id) const {
  return StateOf(id).Selected();
}
void Win32Window::Select(ControlId id, int index) {
  StateOf(id).Select(index);
}
std::vector<std::string> Win32Window::Lines(ControlId id) const {
  return StateOf(id).Lines();
}
void Win32Window::AddLine(ControlId id, std::string_view line) {
  StateOf(id).AddLine(line);
}
void Win32Window::ClearLines(ControlId id) {
  StateOf(id).ClearLines();
}
void Win32Window::ShowFirstLine(ControlId id) {
  StateOf(id).ShowFirstLine();
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

#include "ui/win32/window.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "ui/win32/hyperlink_label.h"
#include "ui/win32/radio_items.h"
#include "ui/win32/shell_tree.h"

namespace tarnwell {
namespace {

constexpr COLORREF kSilver = RGB(0xC0, 0xC0, 0xC0);
constexpr char kPageClass[] = "TarnwellPage";

struct ControlClass {
  const char* name;
  DWORD style;
  DWORD ex_style;
};

ControlClass ClassOf(const ControlLayout& row) {
  switch (row.kind) {
    case ControlKind::Label:
      return {"STATIC",
              static_cast<DWORD>(row.centred ? SS_CENTER
                                 : row.wrap  ? SS_LEFT
                                             : SS_LEFTNOWORDWRAP),
              0};
    case ControlKind::Panel:
      return {"STATIC", SS_CENTER | SS_CENTERIMAGE, WS_EX_STATICEDGE};
    case ControlKind::PageControl:
      return {WC_TABCONTROLA, WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::Page:
      return {kPageClass, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT};
    case ControlKind::Button:
      return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::PictureButton:
      return {"BUTTON", BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP, 0};
    case ControlKind::CheckBox:
      return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::Edit:
      return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::ListBox:
      return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
    case ControlKind::Memo:
      return {"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
    case ControlKind::GroupBox:
    case ControlKind::RadioGroup:  // the group's frame; its items are buttons of their own
      return {"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::Picture:
      return {"STATIC", SS_BITMAP | SS_REALSIZECONTROL, 0};
    case ControlKind::ShellTree:  // controls of their own, made by ShellFolderTree
    case ControlKind::Link:       // and HyperlinkLabel
      break;
  }
  return {"STATIC", 0, 0};
}

bool IsEdit(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::Memo;
}

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
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
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
    controls_[row.id] = page;
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

HWND Win32Window::CreateControl(const ControlLayout& row) {
  HWND parent = nullptr;
  RECT place = PlaceOf(row, parent);
  HFONT font = row.bold ? bold_font_.get() : font_.get();
  // A control is made in the state the window's logic has given it so far.
  const PendingControl& state = pending_.At(row.id);
  const std::string caption = IsEdit(row.kind) ? std::string() : state.Text();
  if (row.kind == ControlKind::Label && (row.rect.width == 0 || row.rect.height == 0)) {
    // A label without a size takes the size of its caption.
    ScreenDc screen = GetScreenDc();
    HGDIOBJ old = SelectObject(screen.get(), font);
    RECT text{0, 0, 0, 0};
    DrawTextA(screen.get(), caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(screen.get(), old);
    place.right = text.right;
    place.bottom = text.bottom;
  }
  if (row.kind == ControlKind::ShellTree) {
    if (options_.shell == nullptr) {
      return nullptr;
    }
    auto tree = std::make_unique<ShellFolderTree>(*options_.shell, parent, row.id, place, font);
    controls_[row.id] = tree->Handle();
    trees_[row.id] = std::move(tree);
    return controls_[row.id];
  }
  if (row.kind == ControlKind::Link) {
    auto link = std::make_unique<HyperlinkLabel>(options_.instance, parent, row.id, place, font,
                                                 caption.c_str());
    controls_[row.id] = link->Handle();
    links_[row.id] = std::move(link);
    return controls_[row.id];
  }
  const ControlClass kind = ClassOf(row);
  const DWORD style = WS_CHILD | WS_VISIBLE | kind.style | (state.Enabled() ? 0 : WS_DISABLED) |
                      (std::exchange(after_radio_group_, false) ? WS_GROUP : 0);
  // Edits are made empty: one made with text would start with its changed mark set.
  HWND control = CreateWindowExA(kind.ex_style, kind.name, caption.c_str(), style, place.left,
                                 place.top, place.right, place.bottom, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                 options_.instance, nullptr);
  controls_[row.id] = control;
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  switch (row.kind) {
    case ControlKind::Edit:
      colours_[row.id] = state.Colour();
      SetWindowTextA(control, state.Text().c_str());
      SendMessageA(control, EM_SETMODIFY, FALSE, 0);
      break;
    case ControlKind::Memo:
      colours_[row.id] = state.Colour();
      memo_lines_[row.id] = state.Lines();
      SetMemoText(row.id);
      break;
    case ControlKind::CheckBox:
      SendMessageA(control, BM_SETCHECK, state.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case ControlKind::RadioGroup: {
      radios_[row.id] = std::make_unique<RadioItems>(
          options_.instance, parent, row.id, place, font,
          std::vector<std::string>(row.items.begin(), row.items.end()), state.Enabled());
      radios_[row.id]->Check(state.Selected());
      after_radio_group_ = true;
      break;
    }
    case ControlKind::ListBox:
      for (const auto& item : state.Items()) {
        SendMessageA(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      }
      SendMessageA(control, LB_SETCURSEL, state.Selected(), 0);
      break;
    default:
      break;
  }
  if (!row.picture.empty() && options_.pictures != nullptr) {
    if (UniqueBitmap bitmap = options_.pictures->Load(row.picture)) {
      const UINT message = row.kind == ControlKind::PictureButton ? BM_SETIMAGE : STM_SETIMAGE;
      SendMessageA(control, message, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
      bitmaps_.push_back(std::move(bitmap));
    }
  }
  if (!row.hint.empty()) {
    AddHint(control, row.hint);
  }
  return control;
}

RadioItems* Win32Window::RadiosOf(ControlId id) const {
  auto it = radios_.find(id);
  return it == radios_.end() ? nullptr : it->second.get();
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
    HWND control = Control(row.id);
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
    place(control, at, row.rect.width != 0 && row.rect.height != 0);
    if (RadioItems* radios = RadiosOf(row.id)) {
      radios->Place(at);
    }
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
    self->controls_.clear();
    self->radios_.clear();
    // Their windows went with this one's; what they hold goes now.
    self->trees_.clear();
    self->links_.clear();
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
      if (trees_.count(static_cast<ControlId>(header->idFrom)) != 0) {
        return OnNotify(*header);
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
LRESULT Win32Window::ColourOf(HWND control, HDC dc) {
  auto it = colours_.find(static_cast<ControlId>(GetDlgCtrlID(control)));
  if (it == colours_.end() || Control(it->first) != control) {
    return 0;
  }
  if (it->second == FieldColour::Silver) {
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

// A shell tree handles what it is told itself; a double-click is the window logic's.
LRESULT Win32Window::OnNotify(const NMHDR& header) {
  const auto id = static_cast<ControlId>(header.idFrom);
  if (auto result = trees_[id]->OnNotify(header)) {
    return *result;
  }
  if (header.code == NM_DBLCLK && IsWindowEnabled(header.hwndFrom)) {
    Raise(id, Event::DoubleClick);
  }
  return 0;
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
// A control that exists is asked through its messages; one on a page not shown yet is
// answered from the state kept for it.

std::string Win32Window::Text(ControlId id) const {
  if (auto tree = trees_.find(id); tree != trees_.end()) {
    return tree->second->SelectedPath();
  }
  HWND control = Control(id);
  return control != nullptr ? TextOf(control) : pending_.At(id).Text();
}

void Win32Window::SetText(ControlId id, std::string_view text) {
  HWND control = Control(id);
  if (control == nullptr) {
    pending_.At(id).SetText(text);
    return;
  }
  const std::string value(text);
  SetWindowTextA(control, value.c_str());
  const ControlLayout* row = layout_.Find(id);
  if (row != nullptr && IsEdit(row->kind)) {
    SendMessageA(control, EM_SETMODIFY, FALSE, 0);
  }
}

bool Win32Window::Modified(ControlId id) const {
  HWND control = Control(id);
  return control != nullptr ? SendMessageA(control, EM_GETMODIFY, 0, 0) != 0
                            : pending_.At(id).Modified();
}

void Win32Window::SetModified(ControlId id, bool modified) {
  if (HWND control = Control(id)) {
    SendMessageA(control, EM_SETMODIFY, modified ? TRUE : FALSE, 0);
  } else {
    pending_.At(id).SetModified(modified);
  }
}

bool Win32Window::Enabled(ControlId id) const {
  HWND control = Control(id);
  return control != nullptr ? IsWindowEnabled(control) != FALSE : pending_.At(id).Enabled();
}

void Win32Window::SetEnabled(ControlId id, bool enabled) {
  if (HWND control = Control(id)) {
    EnableWindow(control, enabled ? TRUE : FALSE);
    if (RadioItems* radios = RadiosOf(id)) {
      radios->Enable(enabled);
    }
  } else {
    pending_.At(id).SetEnabled(enabled);
  }
}

FieldColour Win32Window::Colour(ControlId id) const {
  auto it = colours_.find(id);
  return it != colours_.end() ? it->second : pending_.At(id).Colour();
}

void Win32Window::SetColour(ControlId id, FieldColour colour) {
  if (auto it = colours_.find(id); it != colours_.end()) {
    it->second = colour;
    InvalidateRect(Control(id), nullptr, TRUE);
  } else {
    pending_.At(id).SetColour(colour);
  }
}

bool Win32Window::Checked(ControlId id) const {
  HWND control = Control(id);
  return control != nullptr ? SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED
                            : pending_.At(id).Checked();
}

void Win32Window::SetChecked(ControlId id, bool checked) {
  if (HWND control = Control(id)) {
    SendMessageA(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  } else {
    pending_.At(id).SetChecked(checked);
  }
}

std::vector<std::string> Win32Window::Items(ControlId id) const {
  HWND list = Control(id);
  if (list == nullptr) {
    return pending_.At(id).Items();
  }
  if (const RadioItems* radios = RadiosOf(id)) {
    return radios->Captions();
  }
  const auto count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  std::vector<std::string> items;
  for (LRESULT i = 0; i < count; ++i) {
    std::string item(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
    item.resize(static_cast<std::size_t>(
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
    items.push_back(std::move(item));
  }
  return items;
}

void Win32Window::AddItem(ControlId id, std::string_view text) {
  if (HWND list = Control(id)) {
    const std::string item(text);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  } else {
    pending_.At(id).AddItem(text);
  }
}

void Win32Window::DeleteItem(ControlId id, int index) {
  if (HWND list = Control(id)) {
    SendMessageA(list, LB_DELETESTRING, index, 0);
  } else {
    pending_.At(id).DeleteItem(index);
  }
}

void Win32Window::ClearItems(ControlId id) {
  if (HWND list = Control(id)) {
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
  } else {
    pending_.At(id).ClearItems();
  }
}

int Win32Window::Selected(ControlId id) const {
  HWND list = Control(id);
  if (list == nullptr) {
    return pending_.At(id).Selected();
  }
  if (const RadioItems* radios = RadiosOf(id)) {
    return radios->Checked();
  }
  const auto selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

// An index outside the list leaves it with no selection.
void Win32Window::Select(ControlId id, int index) {
  if (RadioItems* radios = RadiosOf(id)) {
    radios->Check(index);
  } else if (HWND list = Control(id)) {
    const auto count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    SendMessageA(list, LB_SETCURSEL, index >= 0 && index < count ? index : -1, 0);
  } else {
    pending_.At(id).Select(index);
  }
}

// A memo's lines are kept here and shown joined: it is read-only, so they are what it shows.
std::vector<std::string> Win32Window::Lines(ControlId id) const {
  auto it = memo_lines_.find(id);
  return it != memo_lines_.end() ? it->second : pending_.At(id).Lines();
}

void Win32Window::SetMemoText(ControlId id) {
  const auto& lines = memo_lines_[id];
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += (i == 0 ? "" : "\r\n") + lines[i];
  }
  SetWindowTextA(Control(id), text.c_str());
}

void Win32Window::AddLine(ControlId id, std::string_view line) {
  HWND memo = Control(id);
  if (memo == nullptr) {
    pending_.At(id).AddLine(line);
    return;
  }
  memo_lines_[id].emplace_back(line);
  SetMemoText(id);
  const auto length = GetWindowTextLengthA(memo);
  SendMessageA(memo, EM_SETSEL, length, length);
}

void Win32Window::ClearLines(ControlId id) {
  if (Control(id) == nullptr) {
    pending_.At(id).ClearLines();
    return;
  }
  memo_lines_[id].clear();
  SetMemoText(id);
}

// A memo made later starts with its caret at the start anyway.
void Win32Window::ShowFirstLine(ControlId id) {
  if (HWND memo = Control(id)) {
    SendMessageA(memo, EM_SETSEL, 0, 0);
    SendMessageA(memo, EM_SCROLLCARET, 0, 0);
  }
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

// Building a window's controls from its layout table: their places scaled from 96 DPI,
// fonts, pictures, hints and the colours edit fields paint in.
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <utility>

#include "ui/win32/control_kinds.h"
#include "ui/win32/window.h"

namespace tarnwell {
namespace {

constexpr COLORREF kSilver = RGB(0xC0, 0xC0, 0xC0);

RECT ToRect(const LayoutRect& place) {
  return RECT{place.left, place.top, place.width, place.height};
}

}  // namespace

void Win32Window::CreateFonts() {
  auto make_font = [this](int weight) {
    return UniqueFont(CreateFontA(-Scale(11), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
  };
  font_ = make_font(FW_NORMAL);
  bold_font_ = make_font(FW_BOLD);
  silver_brush_.reset(CreateSolidBrush(kSilver));
}

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

}  // namespace tarnwell

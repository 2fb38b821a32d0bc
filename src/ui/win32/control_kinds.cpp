#include "ui/win32/control_kinds.h"

#include <commctrl.h>

#include <utility>

#include "ui/win32/handles.h"
#include "ui/win32/hyperlink_label.h"
#include "ui/win32/radio_items.h"
#include "ui/win32/shell_tree.h"

namespace tarnwell {

ControlClass ClassOf(const ControlLayout& row) {
  switch (row.kind) {
    case ControlKind::Label:
      return {"STATIC",
              static_cast<DWORD>(row.centred ? SS_CENTER
                                 : row.wrap  ? SS_LEFT
                                             : SS_LEFTNOWORDWRAP),
              0, STM_SETIMAGE};
    case ControlKind::Panel:
      return {"STATIC", SS_CENTER | SS_CENTERIMAGE, WS_EX_STATICEDGE, STM_SETIMAGE};
    case ControlKind::PageControl:
      return {WC_TABCONTROLA, WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
              STM_SETIMAGE};
    case ControlKind::Page:
      return {kPageClass, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, STM_SETIMAGE};
    case ControlKind::Button:
      return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, STM_SETIMAGE};
    case ControlKind::PictureButton:
      return {"BUTTON", BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP, 0, BM_SETIMAGE};
    case ControlKind::CheckBox:
      return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, STM_SETIMAGE};
    case ControlKind::Edit:
      return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, STM_SETIMAGE};
    case ControlKind::ListBox:
      return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
              WS_EX_CLIENTEDGE, STM_SETIMAGE};
    case ControlKind::Memo:
      return {"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
              WS_EX_CLIENTEDGE, STM_SETIMAGE};
    case ControlKind::GroupBox:
    case ControlKind::RadioGroup:  // the group's frame; its items are buttons of their own
      return {"BUTTON", BS_GROUPBOX, 0, STM_SETIMAGE};
    case ControlKind::Picture:
      return {"STATIC", SS_BITMAP | SS_REALSIZECONTROL, 0, STM_SETIMAGE};
    case ControlKind::ShellTree:  // controls of their own, made by ShellFolderTree
    case ControlKind::Link:       // and HyperlinkLabel
      break;
  }
  return {"STATIC", 0, 0, STM_SETIMAGE};
}

std::optional<Event> CommandEvent(ControlKind kind, WORD code) {
  switch (kind) {
    case ControlKind::Button:
    case ControlKind::PictureButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioGroup:
      return code == BN_CLICKED ? std::optional(Event::Click) : std::nullopt;
    case ControlKind::Link:
      return code == STN_CLICKED ? std::optional(Event::Click) : std::nullopt;
    case ControlKind::ListBox:
      if (code == LBN_SELCHANGE) {
        return Event::Click;
      }
      return code == LBN_DBLCLK ? std::optional(Event::DoubleClick) : std::nullopt;
    default:
      return std::nullopt;
  }
}

// --- any control: its window's messages ---------------------------------------------------

std::string BoundControl::Text() const {
  return TextOf(window_);
}

void BoundControl::SetText(std::string_view text) {
  const std::string value(text);
  SetWindowTextA(window_, value.c_str());
}

bool BoundControl::Modified() const {
  return SendMessageA(window_, EM_GETMODIFY, 0, 0) != 0;
}

void BoundControl::SetModified(bool modified) {
  SendMessageA(window_, EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

bool BoundControl::Enabled() const {
  return IsWindowEnabled(window_) != FALSE;
}

void BoundControl::SetEnabled(bool enabled) {
  EnableWindow(window_, enabled ? TRUE : FALSE);
}

void BoundControl::SetColour(FieldColour colour) {
  colour_ = colour;
  if (PaintsColour()) {
    InvalidateRect(window_, nullptr, TRUE);
  }
}

bool BoundControl::Checked() const {
  return SendMessageA(window_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void BoundControl::SetChecked(bool checked) {
  SendMessageA(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::vector<std::string> BoundControl::Items() const {
  const auto count = SendMessageA(window_, LB_GETCOUNT, 0, 0);
  std::vector<std::string> items;
  for (LRESULT i = 0; i < count; ++i) {
    std::string item(static_cast<std::size_t>(SendMessageA(window_, LB_GETTEXTLEN, i, 0)) + 1,
                     '\0');
    item.resize(static_cast<std::size_t>(
        SendMessageA(window_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
    items.push_back(std::move(item));
  }
  return items;
}

void BoundControl::AddItem(std::string_view text) {
  const std::string item(text);
  SendMessageA(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void BoundControl::DeleteItem(int index) {
  SendMessageA(window_, LB_DELETESTRING, index, 0);
}

void BoundControl::ClearItems() {
  SendMessageA(window_, LB_RESETCONTENT, 0, 0);
}

int BoundControl::Selected() const {
  const auto selected = SendMessageA(window_, LB_GETCURSEL, 0, 0);
  return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

// An index outside the list leaves it with no selection.
void BoundControl::Select(int index) {
  const auto count = SendMessageA(window_, LB_GETCOUNT, 0, 0);
  SendMessageA(window_, LB_SETCURSEL, index >= 0 && index < count ? index : -1, 0);
}

void BoundControl::ShowFirstLine() {
  SendMessageA(window_, EM_SETSEL, 0, 0);
  SendMessageA(window_, EM_SCROLLCARET, 0, 0);
}

namespace {

// --- the kinds that differ ------------------------------------------------------------------

// An edit field paints in its own colour, silver or the window colour, enabled or not, and
// text set by the program clears its changed mark.
class EditField : public BoundControl {
 public:
  EditField(HWND window, const PendingControl& state) : BoundControl(window, state.Colour()) {}

  void SetText(std::string_view text) override {
    BoundControl::SetText(text);
    SetModified(false);
  }
  bool PaintsColour() const override { return true; }
};

// A memo's lines are kept here and shown joined: it is read-only, so they are what it shows.
class MemoField final : public EditField {
 public:
  MemoField(HWND window, const PendingControl& state)
      : EditField(window, state), lines_(state.Lines()) {
    ShowLines();
  }

  std::vector<std::string> Lines() const override { return lines_; }
  void AddLine(std::string_view line) override {
    lines_.emplace_back(line);
    ShowLines();
    const auto length = GetWindowTextLengthA(Handle());
    SendMessageA(Handle(), EM_SETSEL, length, length);
  }
  void ClearLines() override {
    lines_.clear();
    ShowLines();
  }

 private:
  void ShowLines() {
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      text += (i == 0 ? "" : "\r\n") + lines_[i];
    }
    SetWindowTextA(Handle(), text.c_str());
  }

  std::vector<std::string> lines_;
};

// A radio group is its frame, and its items are radio buttons beside it: they are its
// items and selection, they are enabled with it and they move with it.
class RadioGroup final : public BoundControl {
 public:
  RadioGroup(HWND frame, const PendingControl& state, std::unique_ptr<RadioItems> items)
      : BoundControl(frame, state.Colour()), items_(std::move(items)) {
    items_->Check(state.Selected());
  }

  void SetEnabled(bool enabled) override {
    BoundControl::SetEnabled(enabled);
    items_->Enable(enabled);
  }
  std::vector<std::string> Items() const override { return items_->Captions(); }
  int Selected() const override { return items_->Checked(); }
  void Select(int index) override { items_->Check(index); }
  bool LeavesGroupOpen() const override { return true; }
  void Moved(const RECT& place) override { items_->Place(place); }

 private:
  std::unique_ptr<RadioItems> items_;
};

// A shell tree's text is the selected folder's path. It answers what it is told itself;
// a double-click is the window logic's.
class ShellTree final : public BoundControl {
 public:
  ShellTree(std::unique_ptr<ShellFolderTree> tree, const PendingControl& state)
      : BoundControl(tree->Handle(), state.Colour()), tree_(std::move(tree)) {}

  std::string Text() const override { return tree_->SelectedPath(); }
  std::optional<Notified> OnNotify(const NMHDR& header) override {
    if (auto result = tree_->OnNotify(header)) {
      return Notified{*result, std::nullopt};
    }
    if (header.code == NM_DBLCLK && IsWindowEnabled(header.hwndFrom)) {
      return Notified{0, Event::DoubleClick};
    }
    return Notified{};
  }

 private:
  std::unique_ptr<ShellFolderTree> tree_;
};

// A hyperlink label: its window's procedure draws from the HyperlinkLabel, kept here for as
// long as the control.
class Link final : public BoundControl {
 public:
  Link(std::unique_ptr<HyperlinkLabel> label, const PendingControl& state)
      : BoundControl(label->Handle(), state.Colour()), label_(std::move(label)) {}

 private:
  std::unique_ptr<HyperlinkLabel> label_;
};

// --- making them ----------------------------------------------------------------------------

// A label without a size takes the size of its caption.
RECT FittedToCaption(RECT place, HFONT font, const std::string& caption) {
  ScreenDc screen = GetScreenDc();
  HGDIOBJ old = SelectObject(screen.get(), font);
  RECT text{0, 0, 0, 0};
  DrawTextA(screen.get(), caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(screen.get(), old);
  place.right = text.right;
  place.bottom = text.bottom;
  return place;
}

HWND MakeWindow(const ControlLayout& row, const PendingControl& state, const NewControl& made,
                const std::string& caption) {
  const ControlClass kind = ClassOf(row);
  const DWORD style = WS_CHILD | WS_VISIBLE | kind.style | (state.Enabled() ? 0 : WS_DISABLED) |
                      (made.starts_group ? WS_GROUP : 0);
  HWND window = CreateWindowExA(kind.ex_style, kind.name, caption.c_str(), style, made.place.left,
                                made.place.top, made.place.right, made.place.bottom, made.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                made.instance, nullptr);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(made.font), FALSE);
  return window;
}

}  // namespace

std::unique_ptr<BoundControl> MakeControl(const ControlLayout& row, const PendingControl& state,
                                          NewControl made) {
  const std::string caption = state.Text();
  switch (row.kind) {
    case ControlKind::Label:
      if (row.rect.width == 0 || row.rect.height == 0) {
        made.place = FittedToCaption(made.place, made.font, caption);
      }
      break;
    case ControlKind::Edit: {
      // Made empty: an edit made with text would start with its changed mark set.
      auto field = std::make_unique<EditField>(MakeWindow(row, state, made, {}), state);
      field->SetText(caption);
      return field;
    }
    case ControlKind::Memo:
      return std::make_unique<MemoField>(MakeWindow(row, state, made, {}), state);
    case ControlKind::CheckBox: {
      auto box =
          std::make_unique<BoundControl>(MakeWindow(row, state, made, caption), state.Colour());
      box->SetChecked(state.Checked());
      return box;
    }
    case ControlKind::ListBox: {
      auto list =
          std::make_unique<BoundControl>(MakeWindow(row, state, made, caption), state.Colour());
      for (const auto& item : state.Items()) {
        list->AddItem(item);
      }
      list->Select(state.Selected());
      return list;
    }
    case ControlKind::RadioGroup: {
      HWND frame = MakeWindow(row, state, made, caption);
      auto items = std::make_unique<RadioItems>(
          made.instance, made.parent, row.id, made.place, made.font,
          std::vector<std::string>(row.items.begin(), row.items.end()), state.Enabled());
      return std::make_unique<RadioGroup>(frame, state, std::move(items));
    }
    case ControlKind::ShellTree:
      if (made.shell == nullptr) {
        return nullptr;
      }
      return std::make_unique<ShellTree>(
          std::make_unique<ShellFolderTree>(*made.shell, made.parent, row.id, made.place,
                                            made.font),
          state);
    case ControlKind::Link:
      return std::make_unique<Link>(
          std::make_unique<HyperlinkLabel>(made.instance, made.parent, row.id, made.place,
                                           made.font, caption.c_str()),
          state);
    default:
      break;
  }
  return std::make_unique<BoundControl>(MakeWindow(row, state, made, caption), state.Colour());
}

}  // namespace tarnwell

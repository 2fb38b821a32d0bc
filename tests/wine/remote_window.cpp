#include "wine/remote_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace tarnwell {
namespace {

struct Search {
  DWORD process;
  const char* window_class;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[128] = {};
  GetClassNameA(window, name, sizeof(name));
  if (owner == search->process && IsWindowVisible(window) &&
      std::string(name) == search->window_class) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectControl(HWND control, LPARAM data) {
  auto* controls = reinterpret_cast<std::map<ControlId, HWND>*>(data);
  controls->emplace(GetDlgCtrlID(control), control);
  return TRUE;
}

}  // namespace

HWND ShownWindow(DWORD process, const char* window_class) {
  Search search{process, window_class, nullptr};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowsPath(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

RunningProgram::RunningProgram(const std::string& command_line) {
  std::string command = command_line;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info_)) {
    info_ = {};
  }
}

RunningProgram::~RunningProgram() {
  if (info_.hProcess != nullptr) {
    if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
      TerminateProcess(info_.hProcess, 99);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
}

std::optional<DWORD> RunningProgram::WaitForExit(DWORD milliseconds) {
  if (info_.hProcess == nullptr ||
      WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

RemoteWindow::RemoteWindow(HWND window) : window_(window) {
  FindControls();
}

void RemoteWindow::FindControls() {
  controls_.clear();
  EnumChildWindows(window_, CollectControl, reinterpret_cast<LPARAM>(&controls_));
}

std::optional<RemoteWindow> RemoteWindow::WaitFor(const RunningProgram& program,
                                                  const char* window_class, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  HWND found = nullptr;
  while ((found = ShownWindow(program.Id(), window_class)) == nullptr) {
    if (GetTickCount() - start > milliseconds ||
        WaitForSingleObject(program.Process(), 20) == WAIT_OBJECT_0) {
      return std::nullopt;
    }
  }
  WaitForInputIdle(program.Process(), 10000);
  return RemoteWindow(found);
}

HWND RemoteWindow::Control(ControlId id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

std::string RemoteWindow::Text(ControlId id) const {
  char text[1024] = {};
  SendMessageA(Control(id), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

bool RemoteWindow::Enabled(ControlId id) const {
  return IsWindowEnabled(Control(id)) != FALSE;
}

std::string RemoteWindow::MessageText() const {
  std::string message;
  for (const auto& [id, control] : controls_) {
    char name[32] = {};
    GetClassNameA(control, name, sizeof(name));
    char text[1024] = {};
    SendMessageA(control, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    if (_stricmp(name, "Static") == 0 && text[0] != '\0') {
      message = text;
    }
  }
  return message;
}

RECT RemoteWindow::ClientRect(ControlId id) const {
  RECT client{};
  GetClientRect(id == kNoControl ? window_ : Control(id), &client);
  return client;
}

std::vector<std::string> RemoteWindow::Items(ControlId list) const {
  std::vector<std::string> items;
  const auto count = SendMessageA(Control(list), LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    // Between processes Wine hands list text over in UTF-16 whichever way it is asked.
    wchar_t text[256] = {};
    SendMessageW(Control(list), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    char narrow[256] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr);
    items.emplace_back(narrow);
  }
  return items;
}

void RemoteWindow::Select(ControlId list, int index) const {
  SendMessageA(Control(list), LB_SETCURSEL, index, 0);
}

bool RemoteWindow::Checked(ControlId id) const {
  return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

COLORREF RemoteWindow::InnerColour(ControlId id, COLORREF expected) const {
  COLORREF colour = CLR_INVALID;
  // Read from the screen: another process's window DC cannot be read here.
  for (int attempt = 0; attempt < 50; ++attempt) {
    POINT inside{4, 4};
    ClientToScreen(Control(id), &inside);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP pixel = CreateCompatibleBitmap(screen, 1, 1);
    HGDIOBJ old = SelectObject(memory, pixel);
    BitBlt(memory, 0, 0, 1, 1, screen, inside.x, inside.y, SRCCOPY);
    colour = GetPixel(memory, 0, 0);
    SelectObject(memory, old);
    DeleteObject(pixel);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (colour == expected) {
      break;
    }
    Sleep(50);
  }
  return colour;
}

void RemoteWindow::Click(ControlId id) const {
  SendMessageA(Control(id), BM_CLICK, 0, 0);
}

void RemoteWindow::Type(ControlId id, const std::string& text) const {
  for (char c : text) {
    SendMessageA(Control(id), WM_CHAR, static_cast<unsigned char>(c), 0);
  }
}

void RemoteWindow::ShowTab(ControlId tabs, int index) {
  SendMessageA(Control(tabs), TCM_SETCURFOCUS, index, 0);
  FindControls();
}

RemoteTree::RemoteTree(HWND tree, DWORD process_id)
    : tree_(tree),
      process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                           process_id)),
      memory_(process_ == nullptr ? nullptr
                                  : VirtualAllocEx(process_, nullptr, 4096,
                                                   MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}

RemoteTree::~RemoteTree() {
  if (memory_ != nullptr) {
    VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
  }
  if (process_ != nullptr) {
    CloseHandle(process_);
  }
}

HTREEITEM RemoteTree::Root() const {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

HTREEITEM RemoteTree::Child(HTREEITEM parent, const std::string& text) const {
  SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
  for (auto child = reinterpret_cast<HTREEITEM>(
           SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
       child != nullptr; child = reinterpret_cast<HTREEITEM>(SendMessageA(
                             tree_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
    if (Text(child) == text) {
      return child;
    }
  }
  return nullptr;
}

std::string RemoteTree::Text(HTREEITEM item) const {
  if (memory_ == nullptr) {
    return {};
  }
  char* remote_text = static_cast<char*>(memory_) + 512;
  TVITEMA data{};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = remote_text;
  data.cchTextMax = MAX_PATH;
  WriteProcessMemory(process_, memory_, &data, sizeof(data), nullptr);
  SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(memory_));
  char text[MAX_PATH] = {};
  ReadProcessMemory(process_, remote_text, text, sizeof(text) - 1, nullptr);
  return text;
}

void RemoteTree::DoubleClick(HTREEITEM item) const {
  SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  SendMessageA(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  RECT place{};
  std::memcpy(&place, &item, sizeof(item));  // the item goes in, its place comes out
  WriteProcessMemory(process_, memory_, &place, sizeof(place), nullptr);
  SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(memory_));
  ReadProcessMemory(process_, memory_, &place, sizeof(place), nullptr);
  const LPARAM at = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);
  PostMessageA(tree_, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageA(tree_, WM_LBUTTONUP, 0, at);
}

}  // namespace tarnwell

// Opening a folder with 10,000 subfolders: Tarnwell's shell tree against the tree of the
// system's folder dialog (SHBrowseForFolder), in turn, in one process. Each run times the
// expansion of the big folder's node until the tree has painted it.
//
//   folder_bench [runs] [folder]
//
// Without a folder, one is made under the temporary folder, which takes minutes under Wine;
// a script had better make it from outside, where it takes a second, and name it. Three
// runs by default: the system's dialog takes minutes for each under Wine. One line per run
// goes to standard error, and the medians to standard output:
//   folder_expand ours_ms=... system_ms=... ratio=...
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ui/win32/shell_tree.h"

namespace tarnwell {
namespace {

constexpr int kSubfolders = 10000;
constexpr char kHostClass[] = "TarnwellFolderBench";
constexpr char kMeasurementProperty[] = "TarnwellFolderBench";

double Now() {
  LARGE_INTEGER frequency{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void DrainMessages() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM item = nullptr) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

int CountChildren(HWND tree, HTREEITEM item) {
  int count = 0;
  for (HTREEITEM child = Next(tree, TVGN_CHILD, item); child != nullptr;
       child = Next(tree, TVGN_NEXT, child)) {
    ++count;
  }
  return count;
}

HTREEITEM ChildNamed(HWND tree, HTREEITEM item, const std::string& name) {
  for (HTREEITEM child = Next(tree, TVGN_CHILD, item); child != nullptr;
       child = Next(tree, TVGN_NEXT, child)) {
    char text[MAX_PATH] = {};
    TVITEMA data{};
    data.mask = TVIF_HANDLE | TVIF_TEXT;
    data.hItem = child;
    data.pszText = text;
    data.cchTextMax = sizeof(text);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    if (lstrcmpiA(text, name.c_str()) == 0) {
      return child;
    }
  }
  return nullptr;
}

// The expansion being timed: the node's children count, to be sure it was the big folder.
struct Expansion {
  double ms = -1;
  int children = 0;
};

Expansion TimeExpand(HWND tree, HTREEITEM item) {
  Expansion expansion;
  const double start = Now();
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  UpdateWindow(tree);
  expansion.ms = Now() - start;
  expansion.children = CountChildren(tree, item);
  return expansion;
}

// --- ours: the tree in a plain window --------------------------------------------------------

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrA(
        window, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams));
  }
  auto* tree =
      reinterpret_cast<std::unique_ptr<ShellFolderTree>*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NOTIFY && tree != nullptr && *tree != nullptr) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header->hwndFrom == (*tree)->Handle()) {
      if (auto result = (*tree)->OnNotify(*header)) {
        return *result;
      }
    }
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

Expansion TimeOurs(ShellNamespace& shell, const std::string& parent, const std::string& name) {
  std::unique_ptr<ShellFolderTree> tree;
  UniqueWindow window(CreateWindowExA(0, kHostClass, "Folder bench",
                                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 460, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), &tree));
  tree = std::make_unique<ShellFolderTree>(shell, window.get(), 100, RECT{8, 8, 370, 400}, nullptr);
  const HWND handle = tree->Handle();
  Expansion expansion;
  if (tree->SelectPath(parent)) {
    HTREEITEM folder = Next(handle, TVGN_CARET);
    SendMessageA(handle, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folder));
    if (HTREEITEM big = ChildNamed(handle, folder, name)) {
      SendMessageA(handle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(big));
      UpdateWindow(window.get());
      DrainMessages();
      expansion = TimeExpand(handle, big);
    }
  }
  tree.reset();
  return expansion;
}

// --- the system's folder dialog --------------------------------------------------------------

struct SystemRun {
  std::string folder;
  Expansion expansion;
  bool was_open = false;  // the dialog had opened the folder itself when selecting it
};

BOOL CALLBACK FindTree(HWND window, LPARAM found) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof(name));
  if (lstrcmpiA(name, WC_TREEVIEWA) == 0) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// Runs from the dialog's own message loop once it is shown and idle.
void CALLBACK MeasureDialog(HWND dialog, UINT, UINT_PTR timer, DWORD) {
  KillTimer(dialog, timer);
  auto* run = static_cast<SystemRun*>(RemovePropA(dialog, kMeasurementProperty));
  HWND tree = nullptr;
  EnumChildWindows(dialog, FindTree, reinterpret_cast<LPARAM>(&tree));
  HTREEITEM selected = tree != nullptr ? Next(tree, TVGN_CARET) : nullptr;
  if (run != nullptr && selected != nullptr) {
    const UINT state = static_cast<UINT>(SendMessageA(
        tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(selected), TVIS_EXPANDEDONCE));
    if ((state & TVIS_EXPANDEDONCE) != 0) {
      // Closed again and emptied, so that opening it reads the folder again.
      run->was_open = true;
      SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET,
                   reinterpret_cast<LPARAM>(selected));
    }
    UpdateWindow(dialog);
    run->expansion = TimeExpand(tree, selected);
  }
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    auto* run = reinterpret_cast<SystemRun*>(data);
    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(run->folder.c_str()));
    SetPropA(dialog, kMeasurementProperty, run);
    SetTimer(dialog, 1, 0, MeasureDialog);
  }
  return 0;
}

SystemRun TimeSystem(const std::string& folder, UINT flags) {
  SystemRun run{folder, {}, false};
  char name[MAX_PATH] = {};
  BROWSEINFOA browse{};
  browse.pszDisplayName = name;
  browse.lpszTitle = "Folder bench";
  browse.ulFlags = flags;
  browse.lpfn = BrowseCallback;
  browse.lParam = reinterpret_cast<LPARAM>(&run);
  // The measurement cancels the dialog; anything chosen all the same is freed.
  if (ITEMIDLIST* chosen = SHBrowseForFolderA(&browse)) {
    CoTaskMemFree(chosen);
  }
  return run;
}

// --- the folder ------------------------------------------------------------------------------

std::string MakeBigFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof(temp), temp);
  const std::string parent = std::string(temp) + "tarnwell-folder-bench";
  const std::string big = parent + "\\big";
  CreateDirectoryA(parent.c_str(), nullptr);
  CreateDirectoryA(big.c_str(), nullptr);
  for (int i = 1; i <= kSubfolders; ++i) {
    char name[32] = {};
    std::snprintf(name, sizeof(name), "\\folder %05d", i);
    CreateDirectoryA((big + name).c_str(), nullptr);
  }
  return big;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

int Run(int runs, std::string big) {
  if (big.empty()) {
    big = MakeBigFolder();
  }
  while (big.size() > 3 && big.back() == '\\') {
    big.pop_back();
  }
  const std::size_t split = big.find_last_of('\\');
  if (split == std::string::npos) {
    std::fprintf(stderr, "not a folder path: %s\n", big.c_str());
    return 2;
  }
  const std::string parent = big.substr(0, split == 2 ? 3 : split);
  const std::string name = big.substr(split + 1);

  ShellNamespace shell;
  if (!shell.Start()) {
    std::fprintf(stderr, "the shell is missing\n");
    return 1;
  }
  WNDCLASSEXA host{};
  host.cbSize = sizeof(host);
  host.lpfnWndProc = HostProc;
  host.hInstance = GetModuleHandleA(nullptr);
  host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  host.lpszClassName = kHostClass;
  RegisterClassExA(&host);

  // The new style, which Wine 8 draws too (resizable, with Make New Folder); its tree is
  // the dialog's only SysTreeView32 either way.
  const UINT flags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  // One warm-up of ours first, for the shell's caches. The system's dialog needs none: it
  // takes minutes, not milliseconds.
  TimeOurs(shell, parent, name);
  std::vector<double> ours;
  std::vector<double> system;
  for (int run = 1; run <= runs; ++run) {
    const Expansion mine = TimeOurs(shell, parent, name);
    const SystemRun theirs = TimeSystem(big, flags);
    std::fprintf(stderr,
                 "run=%d ours_ms=%.1f ours_children=%d system_ms=%.1f system_children=%d%s\n", run,
                 mine.ms, mine.children, theirs.expansion.ms, theirs.expansion.children,
                 theirs.was_open ? " (the dialog had opened it)" : "");
    if (mine.ms < 0 || theirs.expansion.ms < 0) {
      std::fprintf(stderr, "a tree could not open %s\n", big.c_str());
      return 1;
    }
    ours.push_back(mine.ms);
    system.push_back(theirs.expansion.ms);
  }
  const double ours_ms = Median(ours);
  const double system_ms = Median(system);
  std::printf("folder_expand ours_ms=%.1f system_ms=%.1f ratio=%.4g\n", ours_ms, system_ms,
              ours_ms / system_ms);
  std::fflush(stdout);
  return 0;
}

}  // namespace
}  // namespace tarnwell

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
  if (runs < 1) {
    std::fprintf(stderr, "usage: folder_bench [runs] [folder]\n");
    return 2;
  }
  return tarnwell::Run(runs, argc > 2 ? argv[2] : "");
}

#include "ui/win32/system_menu.h"

namespace tarnwell {

void AddSystemMenuItems(HWND window, std::span<const SystemMenuItem> items) {
  HMENU menu = GetSystemMenu(window, FALSE);
  if (menu == nullptr || items.empty()) {
    return;
  }
  // Before "Close", and before the separator that stands above it, if any.
  const int count = GetMenuItemCount(menu);
  int position = count;
  for (int index = 0; index < count; ++index) {
    if (GetMenuItemID(menu, index) == SC_CLOSE) {
      position = index;
      break;
    }
  }
  const bool separated =
      position > 0 &&
      (GetMenuState(menu, static_cast<UINT>(position - 1), MF_BYPOSITION) & MF_SEPARATOR) != 0;
  if (separated) {
    --position;
  } else {
    InsertMenuA(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  }
  InsertMenuA(menu, static_cast<UINT>(position++), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  for (const SystemMenuItem& item : items) {
    const std::string caption(item.caption);
    InsertMenuA(menu, static_cast<UINT>(position++), MF_BYPOSITION | MF_STRING,
                static_cast<UINT_PTR>(item.id), caption.c_str());
  }
}

bool SystemMenuItemState::Enabled() const {
  const UINT state =
      GetMenuState(GetSystemMenu(window_, FALSE), static_cast<UINT>(id_), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

void SystemMenuItemState::SetEnabled(bool enabled) {
  EnableMenuItem(GetSystemMenu(window_, FALSE), static_cast<UINT>(id_),
                 MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace tarnwell

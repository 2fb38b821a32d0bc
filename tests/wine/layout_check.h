#pragma once

#include <windows.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ui/win32/window.h"

namespace tarnwell {

std::string WindowText(HWND window);
// The colour an edit is painted in, asked as Windows asks: WM_CTLCOLORSTATIC when it is
// disabled or read-only, WM_CTLCOLOREDIT otherwise.
COLORREF PaintedColour(HWND edit);
// Shows every page, so that every control is made.
void ShowEveryPage(Win32Window& window);

// Records the events a window raises.
struct RecordingSink final : EventSink {
  void OnEvent(ControlId id, Event event) override { events.emplace_back(id, event); }
  std::vector<std::pair<ControlId, Event>> events;
};

// Waits on a thread of its own for a shown window of this class and caption (any when null),
// and hands it to `answer`, which reads it and closes it.
template <typename Answer>
std::thread WhenShown(const char* window_class, const char* caption, Answer answer) {
  return std::thread([=] {
    for (int attempt = 0; attempt < 500; ++attempt) {
      if (HWND shown = FindWindowA(window_class, caption); shown && IsWindowVisible(shown)) {
        return answer(shown);
      }
      Sleep(10);
    }
  });
}

}  // namespace tarnwell

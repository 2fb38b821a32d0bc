#pragma once

#include <span>

#include "ui/dialogs.h"
#include "ui/layout.h"

namespace tarnwell {

// Show and Activate come from the window itself (control id kNoControl): it was shown, or
// became the active window.
enum class Event { Click, DoubleClick, Change, Show, Activate };

// What a window's logic offers its binding: one entry for every user event.
class EventSink {
 public:
  virtual ~EventSink() = default;
  virtual void OnEvent(ControlId id, Event event) = 0;
};

// One row of a window's dispatch table: the handler of one event of one control.
template <typename Window>
struct EventRow {
  ControlId control;
  Event event;
  void (Window::*handler)();
};

// Calls the handler of the row that matches; an event without a row is ignored.
template <typename Window>
void Route(Window& window, std::span<const EventRow<Window>> rows, ControlId id, Event event) {
  for (const EventRow<Window>& row : rows) {
    if (row.control == id && row.event == event) {
      (window.*row.handler)();
      return;
    }
  }
}

// Runs one event's handler. An error raised by a registry read is shown in the standard
// error box; nothing is thrown past this point.
void Dispatch(EventSink& sink, Dialogs& dialogs, ControlId id, Event event);

}  // namespace tarnwell

#pragma once

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

// Runs one event's handler. An error raised by a registry read is shown in the standard
// error box; nothing is thrown past this point.
void Dispatch(EventSink& sink, Dialogs& dialogs, ControlId id, Event event);

}  // namespace tarnwell

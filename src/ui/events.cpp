#include "ui/events.h"

#include "platform/registry_object.h"

namespace tarnwell {

void Dispatch(EventSink& sink, Dialogs& dialogs, ControlId id, Event event) {
  try {
    sink.OnEvent(id, event);
  } catch (const RegistryError& error) {
    dialogs.ShowError(error.what());
  }
}

}  // namespace tarnwell

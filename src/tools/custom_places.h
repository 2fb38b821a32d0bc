#pragma once

#include "state/app_state.h"
#include "ui/events.h"
#include "ui/form.h"

namespace tarnwell {

// Reads the custom save locations of the detected version into the list and the state:
// every sub-key of the places key that has a readable Name, in the registry's order.
void UpdateList(Form& form, Registry& registry, AppState& state);

// "Custom Save Locations" (Form5): the places listed, one removed after a confirmation, and
// the entry window shown beside it to add one. It lists anew whenever it becomes active.
class PlacesWindow final : public EventSink {
 public:
  PlacesWindow(Form& form, const Services& services, AppState& state);
  void OnEvent(ControlId id, Event event) override;

  void FormActivate();
  void btnAddClick();
  void btnRemoveClick();

 private:
  Form& form_;
  Services services_;
  AppState& state_;
};

// "Custom Location Entry" (Form6): made once at start-up and hidden between uses; emptied
// each time it is shown. A place is added only with a name and an existing folder, under a
// name that no listed place has in any letter case and that holds no backslash.
class LocationEntryWindow final : public EventSink {
 public:
  LocationEntryWindow(Form& form, const Services& services, AppState& state)
      : form_(form), services_(services), state_(state) {}
  void OnEvent(ControlId id, Event event) override;

  void FormShow();
  void btnBrowseClick();
  void btnAddToListClick();

 private:
  // The warning that refuses the entry, or nothing when it may be added.
  std::optional<std::string_view> Refusal(const std::string& name, const std::string& path);

  Form& form_;
  Services services_;
  AppState& state_;
};

}  // namespace tarnwell

#pragma once

#include <string>

#include "state/app_state.h"
#include "ui/events.h"
#include "ui/form.h"

namespace tarnwell {

// "Custom Save Locations" (Form5): the places listed, one removed after a confirmation, and
// the entry window `location_entry` shown beside it to add one. It lists anew whenever it
// becomes active.
class PlacesWindow final : public EventSink {
 public:
  PlacesWindow(Form& form, Form& location_entry, const Services& services, AppState& state);
  void OnEvent(ControlId id, Event event) override;

  void FormActivate();
  void btnAddClick();
  void btnRemoveClick();
  void btnCloseClick();

 private:
  Form& form_;
  Form& location_entry_;
  Services services_;
  AppState& state_;
};

// "Custom Location Entry" (Form6): made once at start-up and hidden between uses; emptied
// each time it is shown. A folder chosen with its Browse button also enables the main
// window's (`main_form`) "&Save and Close".
class LocationEntryWindow final : public EventSink {
 public:
  LocationEntryWindow(Form& form, Form& main_form, const Services& services, AppState& state)
      : form_(form), main_form_(main_form), services_(services), state_(state) {}
  void OnEvent(ControlId id, Event event) override;

  void FormShow();
  void btnBrowseClick();
  void btnAddToListClick();
  void btnCancelClick();

 private:
  Form& form_;
  Form& main_form_;
  Services services_;
  AppState& state_;
};

}  // namespace tarnwell

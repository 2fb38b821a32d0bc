#include "windows/places_window.h"

#include <array>

#include "tools/custom_places.h"
#include "ui/main_layout.h"
#include "ui/places_layout.h"
#include "windows/folder_picker.h"

namespace tarnwell {
namespace {

constexpr std::string_view kNoItemSelected = "There is no item selected to remove.";

std::string RemoveQuestion(const std::string& name) {
  return "Are you sure that you want to remove the custom location : [" + name + "]?";
}

constexpr auto kPlacesEvents = std::to_array<EventRow<PlacesWindow>>({
    {kNoControl, Event::Activate, &PlacesWindow::FormActivate},
    {form5::btnAdd, Event::Click, &PlacesWindow::btnAddClick},
    {form5::btnRemove, Event::Click, &PlacesWindow::btnRemoveClick},
    {form5::btnClose, Event::Click, &PlacesWindow::btnCloseClick},
});

constexpr auto kEntryEvents = std::to_array<EventRow<LocationEntryWindow>>({
    {kNoControl, Event::Show, &LocationEntryWindow::FormShow},
    {form6::btnBrowse, Event::Click, &LocationEntryWindow::btnBrowseClick},
    {form6::btnAddToList, Event::Click, &LocationEntryWindow::btnAddToListClick},
    {form6::btnCancel, Event::Click, &LocationEntryWindow::btnCancelClick},
});

}  // namespace

PlacesWindow::PlacesWindow(Form& form, Form& location_entry, const Services& services,
                           AppState& state)
    : form_(form), location_entry_(location_entry), services_(services), state_(state) {
  FormActivate();
}

void PlacesWindow::OnEvent(ControlId id, Event event) {
  Route<PlacesWindow>(*this, kPlacesEvents, id, event);
}

void PlacesWindow::FormActivate() {
  form_.ClearItems(form5::lbLocations);
  ReadPlaces(services_.registry, state_.OutlookVersion.MajorVersion, state_.Places);
  for (const Place& place : state_.Places.listed) {
    form_.AddItem(form5::lbLocations, place.name);
  }
}

void PlacesWindow::btnAddClick() {
  location_entry_.Show();
}

void PlacesWindow::btnRemoveClick() {
  const int selected = form_.Selected(form5::lbLocations);
  std::vector<Place>& listed = state_.Places.listed;
  if (selected < 0 || static_cast<std::size_t>(selected) >= listed.size()) {
    services_.dialogs.Message(MessageKind::Information, kNoItemSelected);
    return;
  }
  const Place place = listed[static_cast<std::size_t>(selected)];
  if (services_.dialogs.Message(MessageKind::Confirmation, RemoveQuestion(place.name)) !=
      Answer::Yes) {
    return;
  }
  form_.DeleteItem(form5::lbLocations, selected);
  listed.erase(listed.begin() + selected);
  RemovePlace(services_.registry, state_.Places, place);
}

void PlacesWindow::btnCloseClick() {
  form_.Close();
}

void LocationEntryWindow::OnEvent(ControlId id, Event event) {
  Route<LocationEntryWindow>(*this, kEntryEvents, id, event);
}

void LocationEntryWindow::FormShow() {
  form_.SetText(form6::edLocName, "");
  form_.SetText(form6::edLocPath, "");
}

void LocationEntryWindow::btnBrowseClick() {
  if (std::optional<std::string> folder = ShowFolderPicker(services_.dialogs)) {
    form_.SetText(form6::edLocPath, *folder);
    main_form_.SetEnabled(tform1::btnSave, true);
  }
}

void LocationEntryWindow::btnAddToListClick() {
  const std::string name = form_.Text(form6::edLocName);
  const std::string path = form_.Text(form6::edLocPath);
  if (auto refusal = PlaceRefusal(state_.Places, services_.file_system, name, path)) {
    services_.dialogs.Message(MessageKind::Warning, *refusal);
    return;
  }
  AddPlace(services_.registry, state_.Places, name, path);
  form_.Close();
}

void LocationEntryWindow::btnCancelClick() {
  form_.Close();
}

}  // namespace tarnwell

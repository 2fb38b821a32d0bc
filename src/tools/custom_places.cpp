#include "tools/custom_places.h"

#include <algorithm>

#include "settings/folder_picker.h"
#include "ui/places_layout.h"

namespace tarnwell {
namespace {

constexpr std::string_view kVersions[] = {"15", "14", "12", "11", "10", "9"};
constexpr std::string_view kPlacesBelowOffice = "Common\\Open Find\\Places\\UserDefinedPlaces";

constexpr std::string_view kNoItemSelected = "There is no item selected to remove.";
constexpr std::string_view kNameMissing = "You must enter a new location name.";
constexpr std::string_view kPathMissing = "You must enter a new location path.";
constexpr std::string_view kPathNotFound = "You must enter a new location path that exists.";
constexpr std::string_view kNameTaken =
    "The Location Name you entered already exists.  Please change the name and try again.";
// A backslash in a key name makes nested keys, and the place would never be listed.
constexpr std::string_view kNameHasBackslash =
    "A location name cannot contain a backslash (\\).  Please change the name and try again.";

std::string RemoveQuestion(const std::string& name) {
  return "Are you sure that you want to remove the custom location : [" + name + "]?";
}

}  // namespace

void UpdateList(Form& form, Registry& registry, AppState& state) {
  CustomPlaces& places = state.Places;
  places.listed.clear();
  form.ClearItems(form5::lbLocations);
  const std::string& major = state.OutlookVersion.MajorVersion;
  if (std::find(std::begin(kVersions), std::end(kVersions), major) != std::end(kVersions)) {
    places.key = OfficeKeyRoot(major) + std::string(kPlacesBelowOffice);
  }

  RegKey key;
  if (places.key.empty() || key.Open(registry, Root::CurrentUser, places.key, Rights::Read,
                                     RegistryView::View64) != kSuccess) {
    return;
  }
  const std::vector<std::string> key_names = key.SubKeyNames(kKeyNameCapacity, IndexFailure::Skip);
  key.Close();

  for (const std::string& key_name : key_names) {
    RegKey place;
    std::optional<std::string> name;
    if (!key_name.empty() &&
        place.Open(registry, Root::CurrentUser, places.key + "\\" + key_name, Rights::Read,
                   RegistryView::View64) == kSuccess &&
        (name = place.ReadText("Name", kShortTextCapacity))) {
      places.listed.push_back({key_name, *name});
      form.AddItem(form5::lbLocations, places.listed.back().name);
    }
  }
}

PlacesWindow::PlacesWindow(Form& form, const Services& services, AppState& state)
    : form_(form), services_(services), state_(state) {
  UpdateList(form_, services_.registry, state_);
}

void PlacesWindow::OnEvent(ControlId id, Event event) {
  if (id == kNoControl && event == Event::Activate) {
    return FormActivate();
  }
  if (event != Event::Click) {
    return;
  }
  switch (id) {
    case form5::btnAdd:
      return btnAddClick();
    case form5::btnRemove:
      return btnRemoveClick();
    case form5::btnClose:
      return form_.Close();
    default:
      break;
  }
}

void PlacesWindow::FormActivate() {
  UpdateList(form_, services_.registry, state_);
}

void PlacesWindow::btnAddClick() {
  if (state_.LocationEntry != nullptr) {
    state_.LocationEntry->Show();
  }
}

// Removes the key that holds the chosen place, whatever its name.
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
  RegKey key;
  if (key.Open(services_.registry, Root::CurrentUser, state_.Places.key, Rights::Write,
               RegistryView::View64) == kSuccess) {
    // A failure shows at the next listing, where the place is still there.
    [[maybe_unused]] const Status deleted = key.DeleteSubKey(place.key_name);
  }
}

void LocationEntryWindow::OnEvent(ControlId id, Event event) {
  if (id == kNoControl && event == Event::Show) {
    return FormShow();
  }
  if (event != Event::Click) {
    return;
  }
  switch (id) {
    case form6::btnBrowse:
      return btnBrowseClick();
    case form6::btnAddToList:
      return btnAddToListClick();
    case form6::btnCancel:
      return form_.Close();
    default:
      break;
  }
}

void LocationEntryWindow::FormShow() {
  form_.SetText(form6::edLocName, "");
  form_.SetText(form6::edLocPath, "");
}

void LocationEntryWindow::btnBrowseClick() {
  state_.BrowseTarget = kBrowseLocationPath;
  ShowFolderPicker(services_.dialogs, state_);
}

std::optional<std::string_view> LocationEntryWindow::Refusal(const std::string& name,
                                                             const std::string& path) {
  if (name.empty()) {
    return kNameMissing;
  }
  if (path.empty()) {
    return kPathMissing;
  }
  if (!services_.file_system.FolderExists(path)) {
    return kPathNotFound;
  }
  // As the registry compares key names, so that a place is never overwritten.
  for (const Place& place : state_.Places.listed) {
    if (SameKeyName(place.name, name) || SameKeyName(place.key_name, name)) {
      return kNameTaken;
    }
  }
  if (name.find('\\') != std::string::npos) {
    return kNameHasBackslash;
  }
  return std::nullopt;
}

// Writes the place at once, as typed; a key that cannot be made is passed over in silence
// and shows as the place missing from the list.
void LocationEntryWindow::btnAddToListClick() {
  const std::string name = form_.Text(form6::edLocName);
  const std::string path = form_.Text(form6::edLocPath);
  if (auto refusal = Refusal(name, path)) {
    services_.dialogs.Message(MessageKind::Warning, *refusal);
    return;
  }
  RegKey place;
  if (!state_.Places.key.empty() &&
      place.Create(services_.registry, Root::CurrentUser, state_.Places.key + "\\" + name,
                   Rights::Write, RegistryView::NativeView) == kSuccess) {
    [[maybe_unused]] const Status named = place.SetString("Name", name);
    [[maybe_unused]] const Status pathed = place.SetString("Path", path);
  }
  form_.Close();
}

}  // namespace tarnwell

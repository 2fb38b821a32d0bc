#include "ui/places_layout.h"

#include <array>

namespace tarnwell {
namespace {

using K = ControlKind;

constexpr auto kPlaces = std::to_array<ControlLayout>({
    Control(form5::Label1, "Label1", K::Label, kNoControl, {8, 8},
            "Below is a list of current custom Outlook save locations :")
        .Bold(),
    Control(form5::lbLocations, "lbLocations", K::ListBox, kNoControl, {8, 24, 321, 121}).Bold(),
    Control(form5::btnAdd, "btnAdd", K::Button, kNoControl, {8, 152, 97, 25}, "&Add To List")
        .Bold(),
    Control(form5::btnRemove, "btnRemove", K::Button, kNoControl, {112, 152, 121, 25},
            "&Remove from List")
        .Bold(),
    Control(form5::btnClose, "btnClose", K::Button, kNoControl, {240, 152, 89, 25}, "&Close")
        .Bold(),
});

constexpr auto kEntry = std::to_array<ControlLayout>({
    Control(form6::Label1, "Label1", K::Label, kNoControl, {8, 8}, "Enter a Location Name :")
        .Bold(),
    Control(form6::edLocName, "edLocName", K::Edit, kNoControl, {8, 24, 313, 21}).Bold(),
    Control(form6::Label2, "Label2", K::Label, kNoControl, {8, 56}, "Enter a Location Path :")
        .Bold(),
    Control(form6::edLocPath, "edLocPath", K::Edit, kNoControl, {8, 72, 313, 21}).Bold(),
    Control(form6::btnBrowse, "btnBrowse", K::Button, kNoControl, {246, 96, 75, 25}, "&Browse")
        .Bold(),
    Control(form6::btnAddToList, "btnAddToList", K::Button, kNoControl, {136, 128, 99, 25},
            "&Add Item")
        .Bold(),
    Control(form6::btnCancel, "btnCancel", K::Button, kNoControl, {246, 128, 75, 25}, "&Cancel")
        .Bold(),
});

constexpr WindowLayout kPlacesWindow{"Form5", "Custom Save Locations",   338,
                                     185,     WindowBorder::FixedSingle, kPlaces};
constexpr WindowLayout kEntryWindow{"Form6", "Custom Location Entry",   329,
                                    162,     WindowBorder::FixedSingle, kEntry};

}  // namespace

const WindowLayout& PlacesWindowLayout() {
  return kPlacesWindow;
}

const WindowLayout& LocationEntryLayout() {
  return kEntryWindow;
}

}  // namespace tarnwell

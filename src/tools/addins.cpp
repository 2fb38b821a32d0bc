#include "tools/addins.h"

#include <algorithm>
#include <array>

#include "platform/registry_object.h"
#include "ui/addins_layout.h"

namespace tarnwell {
namespace {

constexpr std::string_view kAddinsKey = "Software\\Microsoft\\Office\\Outlook\\Addins";
constexpr std::string_view kLoadBehavior = "LoadBehavior";
constexpr std::string_view kFriendlyName = "FriendlyName";
constexpr std::string_view kDescription = "Description";

struct KnownLoadBehavior {
  std::uint32_t number;
  std::string_view sentence;
};

// In the order of the radio group's items.
constexpr auto kLoadBehaviors = std::to_array<KnownLoadBehavior>({
    {0, "Add-in Unloaded - Outlook never tries to load the add-in automatically."},
    {1, "Add-in Loaded - Outlook never tries to load the add-in automatically."},
    {2,
     "Add-in Unloaded - Outlook will load the add-in at startup and will change the load "
     "behavior to 3 if successful."},
    {3, "Add-in Loaded - Outlook will load the add-in at startup."},
    {8, "Add-in Unloaded - The add-in will be loaded on demand."},
    {9, "Add-in Loaded - The add-in will be loaded on demand."},
    {16,
     "Add-in Loaded - The add-in will be loaded automatically the first time, then on-demand "
     "afterwards."},
});

// Versions whose add-ins a 64-bit Windows keeps only in the 64-bit view, and those that come
// in either bitness and say which in their display text.
constexpr std::string_view kSixtyFourBitOnly[] = {"12", "11", "10", "9"};
constexpr std::string_view kEitherBitness[] = {"14", "15"};

bool OneOf(std::string_view value, std::span<const std::string_view> values) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

std::string AddinKey(const std::string& key_name) {
  return std::string(kAddinsKey) + "\\" + key_name;
}

// A text read into the 64-bit read's buffer: empty when missing or too long for it.
std::string TextOrEmpty(const RegKey& key, std::string_view name) {
  return key.ReadText(name, kLongTextCapacity).value_or("");
}

}  // namespace

std::optional<LoadBehaviorMeaning> MeaningOf(std::uint32_t load_behavior) {
  for (std::size_t i = 0; i < kLoadBehaviors.size(); ++i) {
    if (kLoadBehaviors[i].number == load_behavior) {
      return LoadBehaviorMeaning{static_cast<int>(i), kLoadBehaviors[i].sentence};
    }
  }
  return std::nullopt;
}

AddinsWindow::AddinsWindow(Form& form, const Services& services, const AppState& state)
    : form_(form), services_(services), state_(state) {
  FormCreate();
}

void AddinsWindow::OnEvent(ControlId id, Event event) {
  if (event != Event::Click) {
    return;
  }
  switch (id) {
    case form7::lbAddins:
      return lbAddinsClick();
    case form7::btnClose:
      return form_.Close();
    default:
      break;  // the radio group is only looked at
  }
}

// A type error stops the reading where it stands; what was listed stays, and the window
// opens all the same.
void AddinsWindow::FormCreate() {
  const std::string& major = state_.OutlookVersion.MajorVersion;
  const std::string& display = state_.OutlookVersion.DisplayText;
  try {
    if (!state_.Is64BitWindows) {
      ProcessOutlook32Bit();
    } else if (OneOf(major, kSixtyFourBitOnly)) {
      ProcessOutlook64Bit();
    } else if (OneOf(major, kEitherBitness)) {
      if (Contains(display, "32-bit")) {
        ProcessOutlook32Bit();
      }
      if (Contains(display, "64-bit")) {
        ProcessOutlook64Bit();
      }
    }
  } catch (const RegistryError& error) {
    services_.dialogs.ShowError(error.what());
  }
}

// Through the key object, in the native view; it raises its errors on values of the wrong
// type.
void AddinsWindow::ProcessOutlook32Bit() {
  RegistryObject reg(services_.registry);
  reg.SetRootKey(Root::CurrentUser);
  std::vector<std::string> names;
  if (reg.OpenKeyForRead(kAddinsKey)) {
    names = reg.GetKeyNames();
    reg.CloseKey();
  }
  for (const std::string& name : names) {
    if (!reg.OpenKeyForRead("\\" + AddinKey(name))) {
      continue;
    }
    if (reg.HasValue(kLoadBehavior)) {
      Addin addin{name, reg.ReadString(kFriendlyName), reg.ReadString(kDescription), 0};
      addin.load_behavior = reg.ReadInteger(kLoadBehavior);
      List(std::move(addin));
    }
    reg.CloseKey();
  }
  ShowFirst();
}

// Through the registry directly, in the 64-bit view, with fixed buffers. A load behaviour
// counts only as a REG_DWORD: other data of four bytes or less is no number Outlook reads.
void AddinsWindow::ProcessOutlook64Bit() {
  std::vector<std::string> names;
  RegKey key;
  if (key.Open(services_.registry, Root::CurrentUser, kAddinsKey, Rights::Read,
               RegistryView::View64) == kSuccess) {
    names = key.SubKeyNames(kKeyNameCapacity, IndexFailure::Skip);
  }
  key.Close();
  for (const std::string& name : names) {
    RegKey addin_key;
    std::optional<std::uint32_t> load_behavior;
    if (addin_key.Open(services_.registry, Root::CurrentUser, AddinKey(name), Rights::Read,
                       RegistryView::View64) != kSuccess ||
        !(load_behavior = addin_key.ReadDword(kLoadBehavior))) {
      continue;
    }
    List({name, TextOrEmpty(addin_key, kFriendlyName), TextOrEmpty(addin_key, kDescription),
          *load_behavior});
  }
  ShowFirst();
}

void AddinsWindow::List(Addin addin) {
  form_.AddItem(form7::lbAddins,
                addin.friendly_name.empty() ? addin.key_name : addin.friendly_name);
  listed_.push_back(std::move(addin));
}

void AddinsWindow::ShowFirst() {
  form_.Select(form7::lbAddins, 0);
  lbAddinsClick();
}

// Shows the add-in the selected item stands for. A load behaviour Outlook does not know has
// no sentence and no radio item.
void AddinsWindow::lbAddinsClick() {
  form_.ClearLines(form7::memoAddinDesc);
  form_.ClearLines(form7::memoLoadDesc);
  const int selected = form_.Selected(form7::lbAddins);
  if (selected < 0 || static_cast<std::size_t>(selected) >= listed_.size()) {
    return;
  }
  const Addin& addin = listed_[static_cast<std::size_t>(selected)];
  form_.AddLine(form7::memoAddinDesc, addin.description);
  form_.ShowFirstLine(form7::memoAddinDesc);
  const std::optional<LoadBehaviorMeaning> meaning = MeaningOf(addin.load_behavior);
  if (meaning) {
    form_.AddLine(form7::memoLoadDesc, meaning->sentence);
    form_.ShowFirstLine(form7::memoLoadDesc);
  }
  form_.Select(form7::rgLoadBehavior, meaning ? meaning->radio_index : -1);
}

}  // namespace tarnwell

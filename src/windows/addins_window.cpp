#include "windows/addins_window.h"

#include <array>
#include <string>
#include <string_view>

#include "platform/registry_object.h"
#include "ui/addins_layout.h"

namespace tarnwell {
namespace {

constexpr std::string_view kAllUsersSuffix = " (all users)";

// The radio group is only looked at: it has no row.
constexpr auto kEvents = std::to_array<EventRow<AddinsWindow>>({
    {form7::lbAddins, Event::Click, &AddinsWindow::lbAddinsClick},
    {form7::btnClose, Event::Click, &AddinsWindow::btnCloseClick},
});

}  // namespace

AddinsWindow::AddinsWindow(Form& form, const Services& services, const AppState& state)
    : form_(form), services_(services), state_(state) {
  FormCreate();
}

void AddinsWindow::OnEvent(ControlId id, Event event) {
  Route<AddinsWindow>(*this, kEvents, id, event);
}

// The user's add-ins, then those registered for all users. A type error in the user's read
// stops the reading where it stands: what was listed stays, the machine-wide keys are not
// read, and the window opens all the same.
void AddinsWindow::FormCreate() {
  const std::optional<AddinsRead> read =
      AddinsReadFor(state_.Is64BitWindows, state_.OutlookVersion);
  if (!read) {
    return;
  }
  std::vector<Addin> found;
  std::optional<std::string> error;
  try {
    (*read == AddinsRead::Native ? ProcessOutlook32Bit : ProcessOutlook64Bit)(services_.registry,
                                                                              found);
  } catch (const RegistryError& raised) {
    error = raised.what();
  }
  if (!error) {
    ProcessAllUsers(services_.registry, *read, state_.Is64BitWindows, state_.OutlookVersion, found);
  }
  for (Addin& addin : found) {
    List(std::move(addin));
  }
  if (error) {
    services_.dialogs.ShowError(*error);
    return;
  }
  ShowFirst();
}

void AddinsWindow::btnCloseClick() {
  form_.Close();
}

void AddinsWindow::List(Addin addin) {
  std::string text = addin.friendly_name.empty() ? addin.key_name : addin.friendly_name;
  if (addin.registered_for == Root::LocalMachine) {
    text += kAllUsersSuffix;
  }
  form_.AddItem(form7::lbAddins, text);
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

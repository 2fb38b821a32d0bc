#pragma once

#include <vector>

#include "state/app_state.h"
#include "tools/addins.h"
#include "ui/events.h"
#include "ui/form.h"

namespace tarnwell {

// "Outlook Add-Ins" (Form7): the add-ins that have a load behaviour, the current user's and
// after them those registered for all users, read in the registry view of the detected
// Outlook when the window is made, and the selected one's description and load behaviour.
// It only shows: nothing is written.
class AddinsWindow final : public EventSink {
 public:
  AddinsWindow(Form& form, const Services& services, const AppState& state);
  void OnEvent(ControlId id, Event event) override;

  void FormCreate();
  void lbAddinsClick();
  void btnCloseClick();

 private:
  void List(Addin addin);
  void ShowFirst();

  Form& form_;
  Services services_;
  const AppState& state_;
  // One entry per list item, in list order: the add-in that item stands for.
  std::vector<Addin> listed_;
};

}  // namespace tarnwell

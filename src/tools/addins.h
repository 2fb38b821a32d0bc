#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/app_state.h"
#include "ui/events.h"
#include "ui/form.h"

namespace tarnwell {

// One add-in as listed: its key below the Addins key and what was read from it.
struct Addin {
  std::string key_name;
  std::string friendly_name;
  std::string description;
  std::uint32_t load_behavior = 0;
};

// A load behaviour Outlook knows: its radio item and the sentence that explains it.
struct LoadBehaviorMeaning {
  int radio_index;
  std::string_view sentence;
};
std::optional<LoadBehaviorMeaning> MeaningOf(std::uint32_t load_behavior);

// "Outlook Add-Ins" (Form7): the current user's add-ins that have a load behaviour, read
// in the registry view(s) of the detected Outlook when the window is made, and the
// selected one's description and load behaviour. It only shows: nothing is written.
class AddinsWindow final : public EventSink {
 public:
  AddinsWindow(Form& form, const Services& services, const AppState& state);
  void OnEvent(ControlId id, Event event) override;

  void FormCreate();
  void ProcessOutlook32Bit();
  void ProcessOutlook64Bit();
  void lbAddinsClick();

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

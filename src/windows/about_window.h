#pragma once

#include "state/app_state.h"
#include "ui/events.h"
#include "ui/form.h"

namespace tarnwell {

// Where the mail link of the About window leads.
inline constexpr std::string_view kMailUrl =
    "mailto:tarnwell@example.org?subject=Tarnwell Question/Problem";

// The About window (TForm2): made anew for every showing; its mail link opens the mail
// program, "&Close" closes it.
class AboutWindow final : public EventSink {
 public:
  AboutWindow(Form& form, const Services& services) : form_(form), services_(services) {}
  void OnEvent(ControlId id, Event event) override;

  void OHUrlLabel1Click();
  void btnCloseClick();

 private:
  Form& form_;
  Services services_;
};

}  // namespace tarnwell

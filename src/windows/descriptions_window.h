#pragma once

#include "ui/events.h"
#include "ui/form.h"

namespace tarnwell {

// The "Attachment Descriptions" window: its memo lists the first 60 extensions of the
// catalogue with what they are; "&Close" closes it.
class DescriptionsWindow final : public EventSink {
 public:
  explicit DescriptionsWindow(Form& form);
  void OnEvent(ControlId id, Event event) override;
  void Button1Click();

 private:
  Form& form_;
};

}  // namespace tarnwell

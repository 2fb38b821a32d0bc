#include "ui/descriptions_layout.h"

#include <array>

namespace tarnwell {
namespace {

using namespace form3;
using K = ControlKind;

constexpr auto kControls = std::to_array<ControlLayout>({
    Control(Label1, "Label1", K::Label, kNoControl, {8, 8},
            "Below is a description of the Windows file extensions that may be blocked by "
            "Microsoft Outlook")
        .Bold(),
    Control(Label2, "Label2", K::Label, kNoControl, {8, 32}, "Extension").Bold(),
    Control(Label3, "Label3", K::Label, kNoControl, {107, 32}, "Description").Bold(),
    Control(Memo1, "Memo1", K::Memo, kNoControl, {8, 48, 697, 233}),
    Control(Button1, "Button1", K::Button, kNoControl, {630, 288, 75, 25}, "&Close").Bold(),
});

constexpr WindowLayout kDescriptionsWindow{"Form3", "Attachment Descriptions", 714,
                                           322,     WindowBorder::FixedSingle, kControls};

}  // namespace

const WindowLayout& DescriptionsWindowLayout() {
  return kDescriptionsWindow;
}

}  // namespace tarnwell

#include "ui/addins_layout.h"

#include <array>

namespace tarnwell {
namespace {

using K = ControlKind;

// The load behaviours a radio item stands for, top to bottom.
constexpr std::string_view kLoadBehaviorItems[] = {"0", "1", "2", "3", "8", "9", "16"};

// The list takes the window's extra height, the description boxes its extra width; the
// controls below the list keep to the bottom edge.
constexpr unsigned kBelowList = kAnchorLeft | kAnchorBottom;
constexpr unsigned kWidening = kAnchorLeft | kAnchorRight | kAnchorBottom;

constexpr auto kAddins = std::to_array<ControlLayout>({
    Control(form7::lblAddinList, "lblAddinList", K::Label, kNoControl, {8, 16},
            "Outlook Add-In List")
        .Bold(),
    Control(form7::lbAddins, "lbAddins", K::ListBox, kNoControl, {8, 32, 489, 225})
        .Bold()
        .Anchored(kAnchorAll),
    Control(form7::lblAddinDesc, "lblAddinDesc", K::Label, kNoControl, {8, 264},
            "Add-In Description")
        .Bold()
        .Anchored(kBelowList),
    Control(form7::memoAddinDesc, "memoAddinDesc", K::Memo, kNoControl, {8, 280, 489, 57})
        .Bold()
        .Anchored(kWidening),
    Control(form7::rgLoadBehavior, "rgLoadBehavior", K::RadioGroup, kNoControl, {8, 344, 153, 121},
            "Add-In Load Behavior")
        .Bold()
        .Items(kLoadBehaviorItems)
        .Anchored(kBelowList),
    Control(form7::lblLoadDesc, "lblLoadDesc", K::Label, kNoControl, {176, 344},
            "Load Behavior Description")
        .Bold()
        .Anchored(kBelowList),
    Control(form7::memoLoadDesc, "memoLoadDesc", K::Memo, kNoControl, {176, 360, 321, 105})
        .Bold()
        .Anchored(kWidening),
    Control(form7::btnClose, "btnClose", K::Button, kNoControl, {318, 472, 179, 33}, "&Close")
        .Bold()
        .Anchored(kAnchorRight | kAnchorBottom),
});

// Outer size 518 by 547: a sizeable frame of 4 pixels and a 19-pixel title bar.
constexpr WindowLayout kAddinsWindow{"Form7", "Outlook Add-Ins",      510,
                                     520,     WindowBorder::Sizeable, kAddins};

}  // namespace

const WindowLayout& AddinsWindowLayout() {
  return kAddinsWindow;
}

}  // namespace tarnwell

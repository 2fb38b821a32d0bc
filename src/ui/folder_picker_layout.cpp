#include "ui/folder_picker_layout.h"

#include <array>

namespace tarnwell {
namespace {

using namespace tform4;
using K = ControlKind;

constexpr auto kControls = std::to_array<ControlLayout>({
    Control(Label3, "Label3", K::Label, kNoControl, {8, 6, 320, 39},
            "Locate the destination path you want Outlook to use and then double click on that "
            "path to enter the value in the field in the main window.")
        .Bold()
        .Wrapped(),
    Control(JamShellTree1, "JamShellTree1", K::ShellTree, kNoControl, {8, 52, 321, 137}).Bold(),
    Control(btnCancel, "btnCancel", K::Button, kNoControl, {254, 192, 75, 25}, "&Cancel").Bold(),
});

constexpr WindowLayout kFolderPicker{"TForm4", "Browse", 337, 225, WindowBorder::FixedSingle,
                                     kControls};

}  // namespace

const WindowLayout& FolderPickerLayout() {
  return kFolderPicker;
}

}  // namespace tarnwell

#include "ui/main_layout.h"

#include <array>

#include "ui/application.h"

namespace tarnwell {
namespace {

using namespace tform1;
using K = ControlKind;

constexpr ControlLayout Page(ControlId id, std::string_view name, std::string_view caption) {
  return Control(id, name, K::Page, MainTabControl, {}, caption).Bold();
}

constexpr ControlLayout On(ControlId page, ControlId id, std::string_view name, ControlKind kind,
                           LayoutRect rect, std::string_view caption = {}) {
  return Control(id, name, kind, page, rect, caption).Bold();
}

// Creation order is tab order: the window's own row first, then each page's controls in
// the order of their positions.
constexpr auto kControls = std::to_array<ControlLayout>({
    Control(Image1, "Image1", K::Picture, kNoControl, {8, 8, 61, 309}).Picture(kBannerPicture),
    Control(Label1, "Label1", K::Label, kNoControl, {80, 8},
            "The most current version of Microsoft Outlook found is :")
        .Bold(),
    Control(pOutlookVersion, "pOutlookVersion", K::Panel, kNoControl, {80, 24, 481, 33}, "...")
        .Bold(),
    Control(btnSave, "btnSave", K::Button, kNoControl, {208, 440, 225, 33}, "&Save and Close")
        .Bold(),
    Control(btnExit, "btnExit", K::Button, kNoControl, {464, 440, 100, 33}, "E&xit").Bold(),
    Control(btnAbout, "btnAbout", K::Button, kNoControl, {80, 440, 97, 33}, "&About").Bold(),
    Control(MainTabControl, "MainTabControl", K::PageControl, kNoControl, {80, 64, 484, 369})
        .Bold(),
    Control(btnHelp, "btnHelp", K::PictureButton, kNoControl, {8, 440, 61, 33})
        .Hint("Tarnwell Help")
        .Picture("HELPBUTTON"),

    Page(DefaultPaths, "DefaultPaths", "Default Paths"),
    Page(AttachmentSecurity, "AttachmentSecurity", "Attachment Security"),
    Page(Miscellaneous, "Miscellaneous", "Miscellaneous"),
    Page(Exchange, "Exchange", "Exchange"),
    Page(CommandLine, "CommandLine", "Startup Options"),

    On(DefaultPaths, Label2, "Label2", K::Label, {8, 8},
       "Change default path for opening attachments"),
    On(DefaultPaths, Label7, "Label7", K::Label, {8, 88}, "Change default location of .pst files"),
    On(DefaultPaths, Label3, "Label3", K::Label, {8, 160},
       "Change default path for saving attachments"),
    On(DefaultPaths, Label11, "Label11", K::Label, {8, 232},
       "Change default path for Office 2010/2013 Document Cache"),
    On(DefaultPaths, edAttachmentPath, "edAttachmentPath", K::Edit, {8, 24, 457, 21}),
    On(DefaultPaths, btnRevert, "btnRevert", K::Button, {8, 48, 145, 25},
       "&Revert to previous path")
        .Disabled(),
    On(DefaultPaths, btnBrowse1, "btnBrowse1", K::Button, {390, 48, 75, 25}, "&Browse"),
    On(DefaultPaths, edPSTPath, "edPSTPath", K::Edit, {8, 104, 457, 21}),
    On(DefaultPaths, btnBrowse2, "btnBrowse2", K::Button, {390, 128, 75, 25}, "B&rowse"),
    On(DefaultPaths, edSaveAttPath, "edSaveAttPath", K::Edit, {8, 176, 457, 21}),
    On(DefaultPaths, btnBrowse3, "btnBrowse3", K::Button, {390, 200, 75, 25}, "Bro&wse"),
    On(DefaultPaths, btnViewFolder, "btnViewFolder", K::Button, {160, 48, 129, 25}, "&View Folder"),
    On(DefaultPaths, edDocCachePath, "edDocCachePath", K::Edit, {8, 248, 457, 21})
        .Disabled()
        .Silver(),
    On(DefaultPaths, btnBrowse5, "btnBrowse5", K::Button, {390, 272, 75, 25}, "Brow&se").Disabled(),
    On(DefaultPaths, Label8, "Label8", K::Label, {14, 312, 449, 26},
       "By clearing the values of the default .pst path and for saving attachments, the "
       "original defaults will be used.")
        .Centred()
        .Wrapped(),

    On(AttachmentSecurity, Label6, "Label6", K::Label, {16, 8, 433, 26},
       "Select the attachment file extensions that you would like to allow and move them to "
       "the Level 1 area.")
        .Centred()
        .Wrapped(),
    On(AttachmentSecurity, Label4, "Label4", K::Label, {32, 40}, "Level 3 (Blocked)"),
    On(AttachmentSecurity, Label5, "Label5", K::Label, {336, 40}, "Level 1 (Allowed)"),
    On(AttachmentSecurity, lbBlocked, "lbBlocked", K::ListBox, {8, 56, 153, 281}),
    On(AttachmentSecurity, lbAllowed, "lbAllowed", K::ListBox, {312, 56, 153, 281}),
    On(AttachmentSecurity, btnAddOne, "btnAddOne", K::Button, {219, 72, 33, 25}, ">")
        .Hint("Move selected item"),
    On(AttachmentSecurity, btnAddAll, "btnAddAll", K::Button, {219, 104, 33, 25}, ">>")
        .Hint("Move all items"),
    On(AttachmentSecurity, btnDelOne, "btnDelOne", K::Button, {219, 160, 33, 25}, "<")
        .Hint("Remove selected item"),
    On(AttachmentSecurity, btnDelAll, "btnDelAll", K::Button, {219, 192, 33, 25}, "<<")
        .Hint("Remove all items"),
    On(AttachmentSecurity, btnSecHelp, "btnSecHelp", K::Button, {207, 248, 60, 25}, "&Help"),

    On(Miscellaneous, btnScanPST, "btnScanPST", K::Button, {8, 16, 457, 25},
       "&Run Microsoft Office Inbox Repair Tool"),
    On(Miscellaneous, cbMinToSysTray, "cbMinToSysTray", K::CheckBox, {8, 152, 345, 17},
       "Mi&nimize Outlook to System Tray (No button on Taskbar)"),
    On(Miscellaneous, cbReadAsPlain, "cbReadAsPlain", K::CheckBox, {8, 176, 305, 17},
       "Read Rich Text/HTML &Email in Plain Text Format"),
    On(Miscellaneous, cbShowClipboard, "cbShowClipboard", K::CheckBox, {8, 224, 289, 17},
       "S&how Office Clipboard (Outlook 2000/XP Only)"),
    On(Miscellaneous, cbSaveMIME, "cbSaveMIME", K::CheckBox, {8, 200, 273, 17},
       "Save All &MIME Information (New Email Only)"),
    On(Miscellaneous, btnSaveUserInfo, "btnSaveUserInfo", K::Button, {8, 80, 457, 25},
       "Extract and Save &Outlook User Profile Registry Information"),
    On(Miscellaneous, btnCustomPlaces, "btnCustomPlaces", K::Button, {8, 112, 457, 25},
       "&Define Custom Save Locations for Outlook Items"),
    On(Miscellaneous, cbEnableDEP, "cbEnableDEP", K::CheckBox, {8, 248, 409, 17},
       "Enable Data Execution &Prevention (DEP) (Outlook 2010/2013 Only)")
        .Disabled(),
    On(Miscellaneous, btnAddins, "btnAddins", K::Button, {8, 48, 457, 25},
       "View Outlook &Add-In Status"),

    On(Exchange, Image2, "Image2", K::Picture, {8, 0, 50, 47}).Picture("EXCHANGE"),
    On(Exchange, Label9, "Label9", K::Label, {64, 16, 385, 26},
       "Use these modifications to help with MS Exchange accounts within Outlook.  These "
       "options are mainly for Exchange Administrators.")
        .Wrapped(),
    On(Exchange, cbDumpster, "cbDumpster", K::CheckBox, {64, 64, 265, 17},
       "&Enable 'Recover Deleted Items' in Outlook"),
    On(Exchange, cbBGSave, "cbBGSave", K::CheckBox, {64, 96, 353, 17},
       "&Disable Background Transfer of Attachments to Exchange"),
    On(Exchange, lblTransfer, "lblTransfer", K::Label, {82, 112},
       "(For Outlook users with low-bandwidth situations)"),
    On(Exchange, gbDisable, "gbDisable", K::GroupBox, {64, 176, 321, 57},
       "Disable ability to add these account types in Outlook"),
    On(gbDisable, cbPOP3, "cbPOP3", K::CheckBox, {16, 16, 97, 17}, "&POP3"),
    On(gbDisable, cbIMAP, "cbIMAP", K::CheckBox, {16, 32, 97, 17}, "&IMAP"),
    On(gbDisable, cbExchange, "cbExchange", K::CheckBox, {112, 16, 97, 17}, "Ex&change"),
    On(gbDisable, cbHTTP, "cbHTTP", K::CheckBox, {112, 32, 97, 17}, "&HTTP"),
    On(gbDisable, cbOther, "cbOther", K::CheckBox, {216, 16, 97, 17}, "&Other Types"),
    On(Exchange, cbDisablePST, "cbDisablePST", K::CheckBox, {64, 136, 297, 17},
       "Disable &PST Access (Current User Profile Only)"),
    On(Exchange, Label10, "Label10", K::Label, {16, 264}, "Change default location of .ost files"),
    On(Exchange, edOSTPath, "edOSTPath", K::Edit, {16, 280, 441, 21}),
    On(Exchange, btnBrowse4, "btnBrowse4", K::Button, {382, 304, 75, 25}, "B&rowse"),

    On(CommandLine, Label12, "Label12", K::Label, {0, 8},
       "Click on a Command-Line option in the list below to start Outlook"),
    On(CommandLine, Label13, "Label13", K::Label, {0, 32}, "Command-Line Options"),
    On(CommandLine, lbCLOptions, "lbCLOptions", K::ListBox, {0, 48, 201, 289}),
    On(CommandLine, gbDescription, "gbDescription", K::GroupBox, {208, 43, 265, 174},
       "Option Description"),
    On(gbDescription, mDescription, "mDescription", K::Memo, {8, 16, 249, 153}),
    On(CommandLine, Label14, "Label14", K::Label, {208, 232}, "Additional Option Argument"),
    On(CommandLine, edArgument, "edArgument", K::Edit, {208, 248, 265, 21}),
    On(CommandLine, btnLaunchOutlook, "btnLaunchOutlook", K::Button, {208, 312, 265, 25},
       "&Launch Outlook"),
    On(CommandLine, btnBrowse6, "btnBrowse6", K::Button, {398, 272, 75, 25}, "B&rowse").Disabled(),
});

constexpr auto kSystemMenu = std::to_array<SystemMenuItem>({
    {miRestoreBackup, "Restore settings from a backup..."},
    {miExportSettings, "Export settings for other PCs..."},
});
static_assert(IsSystemMenuId(miRestoreBackup) && IsSystemMenuId(miExportSettings));
static_assert(miRestoreBackup > btnBrowse6, "the items share the controls' id space");

constexpr WindowLayout kMainWindow{
    "TForm1", kApplicationTitle, 570, 482, WindowBorder::FixedSingle, kControls, kSystemMenu};

}  // namespace

const WindowLayout& MainWindowLayout() {
  return kMainWindow;
}

}  // namespace tarnwell

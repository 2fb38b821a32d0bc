#include "startup/command_line_catalogue.h"

namespace tarnwell {
namespace {

using A = ArgumentKind;
using N = VersionNote;

constexpr std::string_view kMessageFilter =
    "Outlook Message File (.msg)|*.msg|Office Saved Search File (.oss)|*.oss";
constexpr std::string_view kProfileFilter = "Outlook Account Import File (.prf)|*.prf";

CommandLineOption Plain(std::string_view list_text, VersionNote note,
                        std::vector<std::string_view> description) {
  return {list_text, A::None, note, std::move(description), {}, {}};
}

CommandLineOption Text(std::string_view list_text, VersionNote note,
                       std::vector<std::string_view> description) {
  return {list_text, A::Text, note, std::move(description), {}, {}};
}

CommandLineOption File(std::string_view list_text, VersionNote note,
                       std::vector<std::string_view> description,
                       std::string_view default_extension, std::string_view filter) {
  return {list_text, A::File, note, std::move(description), default_extension, filter};
}

CommandLineOption RemovedIn2016(CommandLineOption option) {
  option.removed_in_2016 = true;
  return option;
}

constexpr std::string_view kRemovedIn2016 = "REMOVED IN OUTLOOK 2016 AND LATER";

bool Is2016OrLater(OfficeVersion version) {
  return version >= OfficeVersion::V16;
}

std::array<CommandLineOption, 71> MakeCatalogue() {
  return {{
      File("/a", N::None,
           {"Creates an item with the specified file as an attachment.", "", "Example", "",
            "\"c:\\program files\\microsoft office\\office14\\outlook.exe\" /a \"c:\\my "
            "documents\\labels.doc\"",
            "", "If no item type is specified, IPM.Note is assumed.",
            "Cannot be used with message classes that are not based on Outlook."},
           ".doc", "Word Document|*.doc|Excel Document|*.xls|All Files|*.*"),
      File("/altvba <otmfilename>", N::None,
           {"Opens the VBA project specified in otmfilename instead of the default project, "
            "VbaProject.OTM.",
            "", "Example", "", "Outlook.exe /altvba \"c:\\my documents\\Macros.otm\""},
           ".otm", "VBA Macro File (.otm)|*.otm"),
      Text("/c <messageclass>", N::None,
           {"Creates a new item of the specified message class (Outlook forms or any other valid "
            "MAPI form).",
            "", "Examples :", "", "/c ipm.activity creates a Journal entry",
            "/c ipm.appointment creates an appointment", "/c ipm.contact creates a contact",
            "/c ipm.note creates and e-mail message", "/c ipm.sitckynote creates a note",
            "/c ipm.task creates a task"}),
      Plain("/checkclient", N::None,
            {"Prompts for the default manager of e-mail, news and contacts."}),
      Plain("/cleanautocompletecache", N::Only2010And2013,
            {"Removes all names and e-mail addresses from teh Auto-Complete list."}),
      Plain("/cleancategories", N::Only2010And2013,
            {"Deletes any custom category names that you have created. Categories are restored "
             "to their default names."}),
      Plain("/cleanclientrules", N::None, {"Starts Outlook and deletes client-based rules."}),
      Plain("/cleanconvongoingactions", N::Only2010And2013,
            {"Deletes the table of ongoing conversation actions, such as Always Move and Ignore, "
             "so that they are no longer applied to new messages."}),
      Plain("/cleandmrecords", N::None,
            {"Deletes the logging records saved when a manager or a delegate declines a "
             "meeting."}),
      Plain("/cleanfinders", N::None, {"Removes Search Folders from the Exchange server store."}),
      RemovedIn2016(Plain("/cleanfreebusy", N::None,
                          {"Clears and regenerates free/busy information. Can be used only when "
                           "Outlook can connect to the Exchange server."})),
      Plain("/cleanfromaddress", N::Only2010And2013,
            {"Removes all From entries that were added by hand from the profile."}),
      Plain("/cleanmailtipcache", N::Only2010And2013, {"Removes all MailTips from the cache."}),
      Plain("/cleanprofile", N::RemovedIn2010,
            {"Removes invalid profile keys and recreates the default registry keys where "
             "applicable."}),
      Plain("/cleanpst", N::RemovedIn2007,
            {"Starts Outlook with a clean Personal Folders file (.pst)."}),
      Plain("/cleanreminders", N::None, {"Clears and regenerates reminders."}),
      Plain("/cleanroamedprefs", N::Only2007To2013,
            {"Deletes all roamed preferences and copies them again from the local settings of "
             "this computer: reminders, free/busy grid, working hours, calendar publishing and "
             "RSS rules."}),
      Plain("/cleanrules", N::None,
            {"Starts Outlook and deletes client-based and server-based rules."}),
      Plain("/cleanschedplus", N::RemovedIn2007,
            {"Deletes all Schedule+ data (free/busy, permissions and the .cal file) from the "
             "server, so that the free/busy information of the Outlook Calendar is used and can "
             "be viewed by all Schedule+ 1.0 users."}),
      Plain("/cleanserverrules", N::None, {"Starts Outlook and deletes server-based rules."}),
      Plain("/cleansharing", N::Only2007To2013,
            {"Removes all RSS, Internet Calendar and SharePoint subscriptions from Account "
             "Settings, but keeps the content already downloaded. Useful when a subscription "
             "cannot be deleted within Outlook."}),
      Plain("/cleansniff", N::None, {"Deletes duplicate reminder messages."}),
      Plain("/cleansubscriptions", N::None,
            {"Deletes the subscription messages and properties of the subscription features."}),
      Plain("/cleanweather", N::Only2013, {"Removes the weather locations that were added."}),
      Plain("/cleanviews", N::None,
            {"Restores the default views. All custom views that you created are lost."}),
      Plain("/designer", N::RemovedIn2007,
            {"Starts Outlook without checking whether Outlook should be the default mail client "
             "on the first run."}),
      Plain("/embedding", N::None,
            {"Starts Outlook as an OLE server, as programs do that automate it. Used without an "
             "argument for standard OLE co-creation."}),
      File("/f <msgfilename>", N::None,
           {"Opens the specified message file (.msg) or Office saved search (.oss)."}, ".msg",
           kMessageFilter),
      Plain("/finder", N::Only2007To2013, {"Opens the Advanced Find dialog box."}),
      Plain("/firstrun", N::RemovedIn2010,
            {"Starts Outlook as if it were run for the first time."}),
      File("/hol <holfilename>", N::None,
           {"Opens the specified holiday file (.hol), which adds its holidays to the "
            "Calendar."},
           ".hol", "Holiday Calendar File (.hol)|*.hol"),
      File("/ical <icsfilename>", N::None,
           {"Opens the specified iCalendar file (.ics) and offers to add it to the Calendar."},
           ".ics", "iCalendar Calendar File (.ics)|*.ics"),
      Plain("/importNK2", N::Only2010And2013,
            {"Imports the contents of an .nk2 file, the nickname list used by automatic name "
             "checking and Auto-Complete."}),
      File("/importprf <prffilename>", N::None,
           {"Starts Outlook and imports the MAPI profile defined in the specified .prf file. If "
            "Outlook is already open, the profile is imported at its next clean start."},
           ".prf", kProfileFilter),
      File("/l <olkfilename>", N::RemovedIn2007, {"Opens the specified address book file (.olk)."},
           ".olk", "Outlook Address Book File (.olk)|*.olk"),
      Text("/launchtraininghelp <assetid>", N::None,
           {"Opens a Help window with the Help topic whose asset ID is given."}),
      Text("/m <emailname>", N::None,
           {"Provides a way for the user to add an e-mail name to the item. Only works together "
            "with the /c command-line parameter.",
            "", "Example", "", "Outlook.exe /c ipm.note /m emailname"}),
      Plain("/nocustomize", N::RemovedIn2010,
            {"Starts Outlook without loading outcmd.dat (customized toolbars) and the *.fav "
             "file."}),
      Plain("/noextensions", N::RemovedIn2010,
            {"Starts Outlook with the extensions turned off, but listed in the Add-In Manager."}),
      Plain("/nopollmail", N::RemovedIn2007, {"Starts Outlook without checking mail at startup."}),
      Plain("/nopreview", N::None,
            {"Starts Outlook with the Reading Pane off, and without the command to turn it "
             "on."}),
      File("/p <msgfilename>", N::None,
           {"Prints the specified message file (.msg). Does not work with HTML messages."}, ".msg",
           kMessageFilter),
      Text("/profile <profilename>", N::None,
           {"Loads the specified profile. A profile name that contains a blank must be enclosed "
            "in quotation marks.",
            "", "Example", "", "Outlook.exe /profile \"Home Office\""}),
      Plain("/profiles", N::None,
            {"Opens the Choose Profile dialog box, whatever the profile setting in the Options "
             "says."}),
      File("/promptimportprf <prffilename>", N::Only2010And2013,
           {"Works as /importprf, except that Outlook first asks, and the user can cancel the "
            "import."},
           ".prf", kProfileFilter),
      Plain("/recycle", N::None,
            {"Starts Outlook in an existing Outlook window, if there is one."}),
      Plain("/remigratecategories", N::Only2007To2013,
            {"Upgrades the colored follow-up flags and calendar labels of the default mailbox to "
             "color categories, and adds every category used on items to the Master Category "
             "List."}),
      Plain("/resetfolders", N::None,
            {"Restores missing folders for the default delivery location."}),
      Plain("/resetfoldernames", N::None,
            {"Resets the default folder names (such as Inbox or Sent Items) to their names in "
             "the current Office user interface language."}),
      Plain("/resetformregions", N::Only2007To2013,
            {"Empties the form regions cache and loads the form region definitions again from "
             "the registry."}),
      Plain("/resetnavpane", N::None,
            {"Clears and regenerates the Navigation Pane for the current profile."}),
      Plain("/resetquicksteps", N::Only2010And2013,
            {"Restores the default Quick Steps. All Quick Steps that the user created are "
             "deleted."}),
      Plain("/resetsearchcriteria", N::Only2007To2013,
            {"Resets all Instant Search criteria, so that the default criteria are shown in "
             "each module."}),
      Plain("/resetsharedfolders", N::Only2007To2013,
            {"Removes all shared folders from the Navigation Pane."}),
      Plain("/resettodobar", N::Only2007And2010,
            {"Clears and regenerates the To-Do Bar task list for the current profile: its search "
             "folder is deleted and created again."}),
      Plain("/restore", N::Only2010And2013,
            {"Tries to open the same profile and folders that were open before Outlook ended "
             "abnormally."}),
      Plain("/rpcdiag", N::None,
            {"Opens Outlook and shows the dialog box with the status of its remote procedure "
             "call (RPC) connections."}),
      File("/s <filename>", N::RemovedIn2007,
           {"Loads the specified shortcuts file (.fav) into the Outlook Bar."}, ".fav",
           "Outlook Shortcuts File (.fav)|*.fav"),
      Plain("/safe", N::None,
            {"Starts Outlook without extensions, Reading Pane or toolbar customization. Native "
             "and COM add-ins are turned off."}),
      Plain("/safe:1", N::None, {"Starts Outlook with the Reading Pane off."}),
      Plain("/safe:2", N::RemovedIn2007, {"Starts Outlook without checking mail at startup."}),
      Plain("/safe:3", N::None,
            {"Starts Outlook with the extensions turned off, but listed in the Add-In Manager."}),
      Plain("/safe:4", N::RemovedIn2010,
            {"Starts Outlook without loading outcmd.dat (customized toolbars) and the *.fav "
             "file."}),
      Text("/select <foldername>", N::None,
           {"Starts Outlook and opens the specified folder in a new window.", "", "Example", "",
            "Outlook.exe /select outlook:calendar"}),
      Text("/share", N::Only2007To2013,
           {"/share feed://URL /filename", "/share stssync://URL", "/share web://URL /filename", "",
            "Specifies a sharing URL to connect to Outlook. For example, use stssync://URL to "
            "connect a SharePoint list to Outlook."}),
      Plain("/simplemapi", N::Only2013, {}),
      Plain("/sniff", N::None,
            {"Starts Outlook and looks for new meeting requests in the Inbox, and adds them to "
             "the Calendar."}),
      File("/t <oftfilename>", N::None,
           {"Opens the specified Outlook template file (.oft) as a new item."}, ".oft",
           "Outlook Template File (.oft)|*.oft"),
      File("/v <vcffilename>", N::None, {"Opens the specified vCard file (.vcf) as a new contact."},
           ".vcf", "Outlook vCard File (.vcf)|*.vcf"),
      File("/vcal <vcsffilename>", N::None,
           {"Opens the specified vCalendar file (.vcs) as a new appointment."}, ".vcs",
           "Outlook vCalendar File (.vcs)|*.vcs"),
      File("/x <xnkfilename>", N::RemovedIn2010,
           {"Opens the specified Exchange shortcut file (.xnk), which opens a folder in a window "
            "of its own."},
           ".xnk", "Exchange Shortcut File (.xnk)|*.xnk"),
  }};
}

}  // namespace

const std::array<CommandLineOption, 71>& CommandLineOptionCatalogue() {
  static const std::array<CommandLineOption, 71> catalogue = MakeCatalogue();
  return catalogue;
}

std::string_view VersionNoteText(VersionNote note, OfficeVersion version) {
  const bool later = Is2016OrLater(version);
  switch (note) {
    case VersionNote::None:
      break;
    case VersionNote::Only2013:
      return later ? "OUTLOOK 2013 AND LATER" : "OUTLOOK 2013 ONLY";
    case VersionNote::Only2007And2010:
      return "OUTLOOK 2007/2010 ONLY";
    case VersionNote::Only2010And2013:
      return later ? "OUTLOOK 2010 AND LATER" : "OUTLOOK 2010/2013 ONLY";
    case VersionNote::Only2007To2013:
      return later ? "OUTLOOK 2007 AND LATER" : "OUTLOOK 2007/2010/2013 ONLY";
    case VersionNote::RemovedIn2010:
      return later ? "REMOVED IN OUTLOOK 2010 AND LATER" : "REMOVED IN OUTLOOK 2010/2013";
    case VersionNote::RemovedIn2007:
      return later ? "REMOVED IN OUTLOOK 2007 AND LATER" : "REMOVED IN OUTLOOK 2007/2010/2013";
  }
  return {};
}

bool LaunchAllowed(VersionNote note, OfficeVersion version) {
  const bool v12 = version == OfficeVersion::V12;
  const bool v14 = version == OfficeVersion::V14;
  const bool v15_on = version == OfficeVersion::V15 || Is2016OrLater(version);
  switch (note) {
    case VersionNote::None:
      return true;
    case VersionNote::Only2013:
      return v15_on;
    case VersionNote::Only2007And2010:
      return v12 || v14;
    case VersionNote::Only2010And2013:
      return v14 || v15_on;
    case VersionNote::Only2007To2013:
      return v12 || v14 || v15_on;
    case VersionNote::RemovedIn2010:
      return !(v14 || v15_on);
    case VersionNote::RemovedIn2007:
      return !(v12 || v14 || v15_on);
  }
  return false;
}

std::string_view VersionNoteText(const CommandLineOption& option, OfficeVersion version) {
  return option.removed_in_2016 && Is2016OrLater(version) ? kRemovedIn2016
                                                          : VersionNoteText(option.note, version);
}

bool LaunchAllowed(const CommandLineOption& option, OfficeVersion version) {
  return !(option.removed_in_2016 && Is2016OrLater(version)) && LaunchAllowed(option.note, version);
}

}  // namespace tarnwell

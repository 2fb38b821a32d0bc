#include "attachments/extension_catalogue.h"

#include <string>

namespace tarnwell {
namespace {

constexpr std::string_view k2002Sp2And2000Sp3 =
    "(blocked only in Outlook 2002 SP-2  and Outlook 2000 SP-3 and later)";
constexpr std::string_view k2002Sp1And2000Sp3 =
    "(blocked only in Outlook 2002 SP-1  and Outlook 2000 SP-3 and later)";
constexpr std::string_view k2002Sp3AndHigher = "(Blocked in Outlook 2002 SP3 and higher)";
constexpr std::string_view k2002AndPatched2000 =
    "(blocked only in Outlook 2002 and a patched version of Outlook 2000)";
constexpr std::string_view k2002Only = "(blocked only in Outlook 2002)";

}  // namespace

const std::array<AttachmentExtension, 76> kAttachmentExtensionCatalogue{{
    {"ade", "Microsoft Access project extension", {}},
    {"adp", "Microsoft Access project", {}},
    {"app", "Visual FoxPro application",
     "(blocked only in Outlook 2002 SP-2 and Outlook 2000 SP-3)"},
    {"asp", "Active Server Page", k2002Sp3AndHigher},
    {"asx", "Windows Media audio or video shortcut",
     "(blocked only in Outlook 2002 builds earlier than 10.0.3005.x)"},
    {"bas", "Visual Basic class module", {}},
    {"bat", "Batch file", {}},
    {"cer", "Internet security certificate", "(blocked only in Outlook 2003 and later)"},
    {"chm", "Compiled HTML Help file", {}},
    {"cmd", "Windows command script", {}},
    {"com", "MS-DOS program", {}},
    {"cpl", "Control Panel extension", {}},
    {"crt", "Security certificate", {}},
    {"csh", "C shell script", k2002Sp2And2000Sp3},
    {"exe", "Program", {}},
    {"fxp", "Visual FoxPro compiled program", k2002Sp2And2000Sp3},
    {"hlp", "Help file", {}},
    {"hta", "HTML application", {}},
    {"inf", "Setup information", {}},
    {"ins", "Internet Naming Service settings", {}},
    {"isp", "Internet communication settings", {}},
    {"js", "JScript file", {}},
    {"jse", "JScript encoded script file", {}},
    {"ksh", "Korn shell script", k2002Sp2And2000Sp3},
    {"lnk", "Shortcut", {}},
    {"mda", "Microsoft Access add-in program", k2002AndPatched2000},
    {"mdb", "Microsoft Access database", {}},
    {"mdt", "Microsoft Access workgroup information", k2002Sp1And2000Sp3},
    {"mdw", "Microsoft Access workgroup information", k2002Sp1And2000Sp3},
    {"mde", "Microsoft Access MDE database", {}},
    {"mdz", "Microsoft Access wizard program", k2002AndPatched2000},
    {"msc", "Microsoft Management Console document", {}},
    {"msi", "Windows Installer package", {}},
    {"msp", "Windows Installer patch", {}},
    {"mst", "Windows Installer transform; Visual Test source file", {}},
    {"ops", "Office profile settings",
     "(blocked only in Outlook 2002 SP-1 and  and Outlook 2000 SP-3 later)"},
    {"pcd", "Photo CD image; Visual Test compiled script", {}},
    {"pif", "Shortcut to an MS-DOS program", {}},
    {"prf", "Outlook profile settings", k2002Only},
    {"prg", "Visual FoxPro program source",
     "(blocked only in Outlook 2002 SP-2  and Outlook 2000 SP-3)"},
    {"pst", "Outlook personal folders file", "(blocked only in Outlook 2000 SP-3)"},
    {"reg", "Registration entries", {}},
    {"scf", "Windows Explorer command", k2002Only},
    {"scr", "Screen saver", {}},
    {"sct", "Windows Script Component", {}},
    {"shb", "Shortcut into a document", {}},
    {"shs", "Shell scrap object", {}},
    {"tmp", "Temporary file", k2002Sp3AndHigher},
    {"url", "Internet shortcut", {}},
    {"vb", "VBScript file", {}},
    {"vbe", "VBScript encoded script file", {}},
    {"vbs", "VBScript script file", {}},
    {"vsmacros", "Visual Studio .NET binary macro project", k2002Sp3AndHigher},
    {"vss", "Visio stencil", k2002Sp3AndHigher},
    {"vst", "Visio template", k2002Sp3AndHigher},
    {"vsw", "Visio workspace", k2002Sp3AndHigher},
    {"ws", "Windows Script file", k2002Sp3AndHigher},
    {"wsc", "Windows Script Component", {}},
    {"wsf", "Windows Script file", {}},
    {"wsh", "Windows Script Host settings file", {}},
    {"der", {}, {}},
    {"gadget", {}, {}},
    {"msh", {}, {}},
    {"mshxml", {}, {}},
    {"msh1", {}, {}},
    {"msh1xml", {}, {}},
    {"msh2", {}, {}},
    {"msh2xml", {}, {}},
    {"plg", {}, {}},
    {"ps1", {}, {}},
    {"ps1xml", {}, {}},
    {"ps2", {}, {}},
    {"ps2xml", {}, {}},
    {"psc1", {}, {}},
    {"psc2", {}, {}},
    {"xnk", {}, {}},
}};

std::array<std::string, 60> AttachmentDescriptionLines() {
  std::array<std::string, 60> lines;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const AttachmentExtension& row = kAttachmentExtensionCatalogue[i];
    // Two lines begin with a blank where the others have the dot.
    const bool blank = row.extension == "app" || row.extension == "fxp";
    std::string line = (blank ? " " : ".") + std::string(row.extension);
    // Tabs put every description in one column, two tab stops in.
    line += line.size() < 8 ? " \t\t" : "\t";
    line += row.description;
    if (!row.note.empty()) {
      line += " " + std::string(row.note);
    }
    lines[i] = std::move(line);
  }
  return lines;
}

}  // namespace tarnwell

#include "settings/detection.h"

#include <gtest/gtest.h>

#include "fakes/memory_file_system.h"
#include "fakes/memory_form.h"
#include "platform/registry_object.h"
#include "support/registry_seed.h"
#include "ui/main_layout.h"

namespace tarnwell {
namespace {

using namespace tform1;
using Windows = MemoryRegistry::Windows;
using Seed = void (*)(MemoryRegistry&, MemoryFileSystem&);

// A Click-to-Run configuration (in the 64-bit branch) and its OUTLOOK.EXE in `folder`.
MemoryRegistry::KeyRef ClickToRun(MemoryRegistry& registry, MemoryFileSystem& files,
                                  std::string_view folder = "Office16",
                                  std::string_view path = "C:\\Program Files\\Microsoft Office") {
  files.AddFile("C:\\Program Files\\Microsoft Office\\root\\" + std::string(folder) +
                "\\OUTLOOK.EXE");
  return registry
      .Key(Root::LocalMachine, std::string("Software\\Microsoft\\Office\\") +
                                   (folder == "Office16" ? "" : "15.0\\") +
                                   "ClickToRun\\Configuration")
      .String("InstallationPath", path)
      .String("Platform", "x64")
      .String("ProductReleaseIds", "VisioProRetail,O365ProPlusRetail");
}

enum class On { Both, Windows64, Windows32 };
enum class ReadPath { View32, View64, ByWindows };  // ByWindows: native on 32-bit Windows
struct Row {
  const char* name;
  On on;
  const char* shown;  // the panel's text after "Microsoft Outlook "; empty: "..."
  bool found;
  ReadPath path;
  bool cache, dep;  // the document cache field and the DEP box are usable
  Seed seed;
};

// Installations on the machine -> the version detected, its read path and the controls.
TEST(Detection, InstallationsGiveTheVersionReadPathAndControls) {
  using P = ReadPath;
  // clang-format off
  const Row rows[] = {
      {"2003", On::Both, "2003 (32-bit)", true, P::View32, false, false,
       [](auto& r, auto&) { SeedNativeOutlook(r, "11"); }},
      {"2010 x86", On::Both, "2010 (32-bit)", true, P::View32, true, true,
       [](auto& r, auto&) { SeedNativeOutlook(r, "14").String("Bitness", "x86"); }},
      {"2013 x64", On::Both, "2013 (64-bit)", true, P::ByWindows, true, true,
       [](auto& r, auto&) { SeedNativeOutlook(r, "15").String("Bitness", "x64"); }},
      {"bitness in capitals", On::Both, "2013 (32-bit)", true, P::View32, true, true,
       [](auto& r, auto&) { SeedNativeOutlook(r, "15").String("Bitness", "X64"); }},
      {"key gone at the second look", On::Both, "", true, P::ByWindows, false, false,
       [](auto& r, auto&) {
         SeedNativeOutlook(r, "15").String("Bitness", "x86");
         r.FailOn(MemoryRegistry::Op::Open, Root::LocalMachine,
                  NativeMachinePath(r, OutlookKey("15")), kFileNotFound, {}, 1); }},
      {"2010 refusing full access", On::Windows64, "", false, P::ByWindows, false, false,
       [](auto& r, auto&) { SeedNativeOutlook(r, "14").RefuseAccess(Rights::Full); }},
      {"2010 refusing full access, found by the 64-bit view probe", On::Windows32,
       "2010 (32-bit)", true, P::View32, true, true, [](auto& r, auto&) {
         SeedNativeOutlook(r, "14").String("Bitness", "x86").RefuseAccess(Rights::Full); }},
      {"64-bit 2013 only", On::Windows64, "2013 (64-bit)", true, P::View64, true, true,
       [](auto& r, auto&) { Seed64BitOutlook(r, "15").String("Bitness", "x64"); }},
      {"left-over native 2007 first", On::Windows64, "2007 (32-bit)", true, P::View32, false,
       false, [](auto& r, auto&) {
         Seed64BitOutlook(r, "15").String("Bitness", "x64");
         SeedNativeOutlook(r, "12"); }},
      {"64-bit view bitness of a number", On::Windows64, "2010 (32-bit)", true, P::View32, true,
       true, [](auto& r, auto&) { Seed64BitOutlook(r, "14").Dword("Bitness", 64); }},
      {"64-bit view 2007", On::Windows64, "", false, P::ByWindows, false, false,
       [](auto& r, auto&) { Seed64BitOutlook(r, "12"); }},
      {"Click-to-Run", On::Windows64, "for Microsoft 365 (64-bit)", true, P::View64, true, false,
       [](auto& r, auto& f) {
         ClickToRun(r, f, "Office16", "C:\\Program Files\\Microsoft Office\\\\"); }},
      {"Click-to-Run 32-bit", On::Windows64, "2016 (32-bit)", true, P::View32, true, false,
       [](auto& r, auto& f) {
         f.AddFile("\\\\server\\office\\root\\Office16\\OUTLOOK.EXE");
         r.Key(Root::LocalMachine,
               NativeMachinePath(r, "Microsoft\\Office\\ClickToRun\\Configuration"))
             .String("InstallationPath", "\\\\server\\office")
             .String("Platform", "X64"); }},
      {"no full path", On::Windows64, "", false, P::ByWindows, false, false, [](auto& r, auto& f) {
         f.AddFile("\\root\\Office16\\OUTLOOK.EXE");
         ClickToRun(r, f).String("InstallationPath", "\\\\"); }},
      {"no OUTLOOK.EXE there", On::Windows64, "", false, P::ByWindows, false, false,
       [](auto& r, auto& f) { ClickToRun(r, f).String("InstallationPath", "D:\\Elsewhere"); }},
      {"Click-to-Run 2013 last", On::Windows64, "2013 (64-bit)", true, P::View64, true, true,
       [](auto& r, auto& f) { ClickToRun(r, f, "Office15"); }},
      {"16.0 in the 64-bit view before 2013", On::Windows64, "2016 (64-bit)", true, P::View64,
       true, false, [](auto& r, auto&) {
         SeedNativeOutlook(r, "15").String("Bitness", "x86");
         Seed64BitOutlook(r, "16").String("Bitness", "x64"); }},
      {"native 16.0 before the 64-bit view", On::Windows64, "2016 (32-bit)", true, P::View32,
       true, false, [](auto& r, auto&) {
         Seed64BitOutlook(r, "16").String("Bitness", "x64");
         SeedNativeOutlook(r, "16").String("Bitness", "x86"); }},
      {"Click-to-Run first", On::Windows64, "2021 (64-bit)", true, P::View64, true, false,
       [](auto& r, auto& f) {
         SeedNativeOutlook(r, "16").String("Bitness", "x86");
         ClickToRun(r, f).String("ProductReleaseIds", "ProPlus2021Volume"); }},
  };
  // clang-format on
  for (const Row& row : rows) {
    for (const Windows windows : {Windows::Bits64, Windows::Bits32}) {
      if (row.on != On::Both && (row.on == On::Windows64) != (windows == Windows::Bits64)) {
        continue;
      }
      const bool windows64 = windows == Windows::Bits64;
      SCOPED_TRACE(std::string(row.name) + (windows64 ? " on 64-bit" : " on 32-bit"));
      MemoryRegistry registry(windows);
      MemoryFileSystem files;
      MemoryForm form(MainWindowLayout());
      row.seed(registry, files);
      OutlookVersionInfo outlook;
      GetOutlookVersion(registry, files, form, outlook);
      EXPECT_EQ(0u, registry.OpenHandles());
      EXPECT_EQ(*row.shown ? "Microsoft Outlook " + std::string(row.shown) : "...",
                form.Text(pOutlookVersion));
      EXPECT_EQ(row.found, outlook.Found);
      EXPECT_EQ(row.path == ReadPath::View32 || (row.path == ReadPath::ByWindows && !windows64),
                ChooseUse32BitReadPath(windows64, outlook));
      if (!row.found) {
        continue;  // the controls are left as they were
      }
      EXPECT_EQ(row.cache, form.Enabled(edDocCachePath) && form.Enabled(btnBrowse5));
      EXPECT_EQ(row.cache ? FieldColour::Window : FieldColour::Silver, form.Colour(edDocCachePath));
      EXPECT_EQ(row.dep, form.Enabled(cbEnableDEP));
    }
  }
}

TEST(Detection, Outlook2000DisablesWhatItLacksAndANumberAsBitnessIsAnError) {
  MemoryRegistry registry;
  MemoryFileSystem files;
  MemoryForm form(MainWindowLayout());
  SeedNativeOutlook(registry, "9");
  OutlookVersionInfo outlook;
  GetOutlookVersion(registry, files, form, outlook);
  for (ControlId id : {cbDisablePST, cbPOP3, cbIMAP, cbExchange, cbHTTP, cbOther, cbReadAsPlain,
                       cbSaveMIME, edOSTPath, btnBrowse4}) {
    EXPECT_FALSE(form.Enabled(id)) << MainWindowLayout().Find(id)->name;
  }
  EXPECT_EQ(FieldColour::Window, form.Colour(edOSTPath));
  EXPECT_TRUE(form.Enabled(cbShowClipboard));

  SeedNativeOutlook(registry, "14").Dword("Bitness", 64);
  OutlookVersionInfo failed;
  try {
    GetOutlookVersion(registry, files, form, failed);
    ADD_FAILURE() << "no error raised";
  } catch (const RegistryError& error) {
    EXPECT_STREQ("Invalid data type for 'Bitness'", error.what());
  }
  EXPECT_FALSE(failed.Found);
  EXPECT_EQ(0u, registry.OpenHandles());
}

TEST(Detection, ReleaseIdsNameTheProductOfTheFirstRuleThatAnyIdMatches) {
  for (auto [ids, product] :
       {std::pair{"O365ProPlusRetail,VisioProRetail", Product::Microsoft365},
        std::pair{"m365businessretail", Product::Microsoft365},
        std::pair{"Outlook2019Volume,ProPlus2024Volume", Product::Outlook2024},
        std::pair{"ProPlus2021Volume", Product::Outlook2021},
        std::pair{"Outlook2019Volume", Product::Outlook2019},
        std::pair{"VisioPro2024Retail,HomeBusinessRetail", Product::OfVersion},
        std::pair{"", Product::OfVersion}}) {
    EXPECT_EQ(product, ReleaseOf(ids)) << ids;
  }
}

}  // namespace
}  // namespace tarnwell

#include "ui/about_layout.h"

#include <array>

#include "ui/application.h"
#include "ui/main_layout.h"
#include "version.h"

namespace tarnwell {
namespace {

using namespace tform2;
using K = ControlKind;

constexpr auto kControls = std::to_array<ControlLayout>({
    Control(Image1, "Image1", K::Picture, kNoControl, {8, 8, 61, 309}).Picture(kBannerPicture),
    Control(lblProduct, "lblProduct", K::Label, kNoControl, {80, 8}, kApplicationTitle).Bold(),
    Control(lblVersion, "lblVersion", K::Label, kNoControl, {80, 24},
            "Version " TARNWELL_VERSION_TEXT)
        .Bold(),
    Control(lblAuthor, "lblAuthor", K::Label, kNoControl, {80, 48, 251, 13},
            "Written by the Tarnwell developers"),
    Control(lblBuiltWith, "lblBuiltWith", K::Label, kNoControl, {80, 64, 251, 13},
            "Built with mingw-w64 and libjpeg-turbo"),
    Control(lblTrademark, "lblTrademark", K::Label, kNoControl, {80, 88, 251, 29},
            "Outlook\xAE is a registered trademark of Microsoft\xAE corporation, 1995-2013 ")
        .Bold()
        .Wrapped(),
    Control(lblVersions, "lblVersions", K::Label, kNoControl, {80, 124, 251, 65},
            "This program was designed to work with Microsoft Outlook versions 2000, 2002 (XP), "
            "2003, 2007, 2010, 2013, 2016, 2019, 2021, 2024 and Microsoft 365.")
        .Bold()
        .Wrapped(),
    Control(lblEmail, "lblEmail", K::Label, kNoControl, {80, 198},
            "Email questions or problems to :")
        .Bold(),
    Control(OHUrlLabel1, "OHUrlLabel1", K::Link, kNoControl, {80, 214, 129, 13},
            "tarnwell@example.org"),
    Control(btnClose, "btnClose", K::Button, kNoControl, {256, 297, 75, 25}, "&Close").Bold(),
});

constexpr WindowLayout kAboutWindow{"TForm2", "About Tarnwell",          339,
                                    330,      WindowBorder::FixedSingle, kControls};

}  // namespace

const WindowLayout& AboutWindowLayout() {
  return kAboutWindow;
}

}  // namespace tarnwell

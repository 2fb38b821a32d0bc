// The About window as the Win32 binding builds it, under Wine and Xvfb: against its table,
// and its mail link driven with real mouse messages, its colours followed as it is used.
#include <windows.h>

#include <gmock/gmock.h>
#include <string>

#include "support/main_window_harness.h"
#include "tools/help_file.h"
#include "ui/about_layout.h"
#include "ui/win32/hyperlink_label.h"
#include "windows/about_window.h"
#include "wine/layout_check.h"

namespace tarnwell {
namespace {

using testing::ElementsAre;

class AboutUi : public testing::Test, protected MainWindowHarness {
 protected:
  AboutUi() {
    window_.Connect(&logic_, &dialogs);
    window_.ShowCentred();
    link_ = window_.Control(tform2::OHUrlLabel1);
  }

  COLORREF LinkColour() const {
    return static_cast<COLORREF>(SendMessageA(link_, HyperlinkLabel::kGetColour, 0, 0));
  }
  void Mouse(UINT message, int x, int y) { SendMessageA(link_, message, 0, MAKELPARAM(x, y)); }

  HINSTANCE instance_ = GetModuleHandleA(nullptr);
  ResourcePictures pictures_{instance_};
  Win32Window window_{AboutWindowLayout(), {instance_, nullptr, &pictures_, false}};
  AboutWindow logic_{window_,
                     Services{registry, dialogs, elevation, files, processes, shell, clock}};
  HWND link_ = nullptr;
};

// The mail link shows a hand and is underlined.
TEST_F(AboutUi, TheMailLinkLooksLikeALink) {
  EXPECT_EQ(LoadCursor(nullptr, IDC_HAND),
            reinterpret_cast<HCURSOR>(GetClassLongPtrA(link_, GCLP_HCURSOR)));
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(link_, WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_TRUE(font.lfUnderline);
}

// Blue until pressed, red while held, blue again after a release elsewhere, and navy once a
// press and release on it has opened the mail program.
TEST_F(AboutUi, TheMailLinkColoursAndOpensOnlyOnAReleaseInside) {
  ASSERT_NE(nullptr, link_);
  EXPECT_EQ(HyperlinkLabel::kLinkColour, LinkColour());

  Mouse(WM_LBUTTONDOWN, 3, 3);
  EXPECT_EQ(HyperlinkLabel::kHotColour, LinkColour());
  Mouse(WM_LBUTTONUP, 3, 300);
  EXPECT_EQ(HyperlinkLabel::kLinkColour, LinkColour());
  EXPECT_THAT(journal.Entries(), ElementsAre());

  Mouse(WM_LBUTTONDOWN, 3, 3);
  Mouse(WM_LBUTTONUP, 4, 4);
  EXPECT_EQ(HyperlinkLabel::kFollowedColour, LinkColour());
  EXPECT_THAT(journal.Entries(), ElementsAre("shell open [" + std::string(kMailUrl) +
                                             "] parameters [] folder [] show 5"));

  SendMessageA(window_.Handle(), WM_COMMAND, MAKEWPARAM(tform2::btnClose, BN_CLICKED),
               reinterpret_cast<LPARAM>(window_.Control(tform2::btnClose)));
  EXPECT_EQ(nullptr, window_.Handle());
}

}  // namespace
}  // namespace tarnwell

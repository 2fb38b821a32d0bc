#include "windows/descriptions_window.h"

#include <gmock/gmock.h>

#include "support/main_window_harness.h"
#include "ui/descriptions_layout.h"

namespace tarnwell {
namespace {

using testing::StartsWith;

TEST(DescriptionsWindow, SixtyLinesWithTheVersionNotesAtTheirEnds) {
  MainWindowHarness harness;
  SeedNativeOutlook(harness.registry, "14");
  harness.Create();
  bool closed = false;
  harness.dialogs.ExpectWindow("Attachment Descriptions", [&](MemoryForm& form, EventSink& logic) {
    logic.OnEvent(form3::Button1, Event::Click);
    closed = form.Closed();
  });
  harness.window.OnEvent(tform1::btnSecHelp, Event::Click);
  EXPECT_TRUE(closed);
  const MemoryForm& window = *harness.dialogs.LastWindow();
  EXPECT_TRUE(window.CaretAtStart(form3::Memo1));
  const auto lines = window.Lines(form3::Memo1);
  ASSERT_EQ(60u, lines.size());
  EXPECT_THAT(lines[0], StartsWith(".ade "));
  EXPECT_THAT(lines[2], StartsWith(" app "));
  EXPECT_THAT(lines[15], StartsWith(" fxp "));
  EXPECT_EQ(".exe \t\tProgram", lines[14]);
  EXPECT_EQ(".bat \t\tBatch file", lines[6]);
  EXPECT_EQ(".reg \t\tRegistration entries", lines[41]);
  EXPECT_EQ(
      ".vsmacros\tVisual Studio .NET binary macro project (Blocked in Outlook 2002 SP3 and "
      "higher)",
      lines[52]);
  EXPECT_EQ(".wsh \t\tWindows Script Host settings file", lines[59]);
  int notes = 0;
  for (const auto& line : lines) {
    notes += line.back() == ')' ? 1 : 0;
  }
  EXPECT_EQ(22, notes);
  EXPECT_THAT(
      lines[35],
      testing::EndsWith("(blocked only in Outlook 2002 SP-1 and  and Outlook 2000 SP-3 later)"));
}

}  // namespace
}  // namespace tarnwell

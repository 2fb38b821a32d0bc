#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace tarnwell {

ScriptedDialogs::~ScriptedDialogs() {
  for (const auto& step : script_)
    ADD_FAILURE() << "expected message never shown: " << step.shown;
}

std::string ScriptedDialogs::Line(MessageKind kind, std::string_view text, Answer answer) {
  return Shown(kind, text) + (!AsksYesOrNo(kind)      ? ""
                              : answer == Answer::Yes ? " -> Yes"
                                                      : " -> No");
}

std::string ScriptedDialogs::FileLine(std::string_view kind, const FileDialogOptions& options) {
  return std::string(kind) + ": title [" + std::string(options.title) + "] name [" +
         std::string(options.file_name) + "] extension [" + std::string(options.default_extension) +
         "] filter [" + std::string(options.filter) + "]" +
         (options.initial_folder.empty() ? ""
                                         : " in [" + std::string(options.initial_folder) + "]");
}

ScriptedDialogs::Step ScriptedDialogs::Take(const std::string& shown) {
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected message: " << shown;
    return {shown, Answer::No, {}, {}};
  }
  Step step = script_.front();
  script_.pop_front();
  EXPECT_TRUE(shown.starts_with(step.shown)) << "expected: " << step.shown << "\nshown: " << shown;
  return step;
}

void ScriptedDialogs::ShowModal(const WindowLayout& layout, const WindowLogic& logic) {
  const std::string shown = "window: " + std::string(layout.caption);
  Step step = Take(shown);
  Note(shown);
  last_window_ = std::make_unique<MemoryForm>(layout);
  std::unique_ptr<EventSink> sink = logic(*last_window_);
  if (step.interact)
    step.interact(*last_window_, *sink);
}

}  // namespace tarnwell

#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

std::string Shown(MessageKind kind, std::string_view text) {
  return std::string(MessageKindName(kind)) + ": " + std::string(text);
}

std::string Shown(const FileDialogOptions& options, std::string_view kind = "open file") {
  return std::string(kind) + ": title [" + std::string(options.title) + "] name [" +
         std::string(options.file_name) + "] extension [" + std::string(options.default_extension) +
         "] filter [" + std::string(options.filter) + "]" +
         (options.initial_folder.empty() ? ""
                                         : " in [" + std::string(options.initial_folder) + "]");
}

}  // namespace

ScriptedDialogs::~ScriptedDialogs() {
  for (const auto& step : script_) {
    ADD_FAILURE() << "expected message never shown: " << step.shown;
  }
}

std::string ScriptedDialogs::Line(MessageKind kind, std::string_view text, Answer answer) {
  std::string line = Shown(kind, text);
  if (AsksYesOrNo(kind)) {
    line += answer == Answer::Yes ? " -> Yes" : " -> No";
  }
  return line;
}

std::string ScriptedDialogs::ErrorLine(std::string_view text) {
  return "error box: " + std::string(text);
}

ScriptedDialogs& ScriptedDialogs::Expect(MessageKind kind, std::string_view text, Answer answer) {
  script_.push_back({Shown(kind, text), answer, {}, {}});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectError(std::string_view text) {
  script_.push_back({ErrorLine(text), Answer::Ok, {}, {}});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectWindow(std::string_view caption, Interaction interact) {
  script_.push_back({"window: " + std::string(caption), Answer::Ok, std::move(interact), {}});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectOpenFile(const FileDialogOptions& options,
                                                 std::optional<std::string> chosen) {
  script_.push_back({Shown(options), Answer::Ok, {}, std::move(chosen)});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectSaveFile(const FileDialogOptions& options,
                                                 std::optional<std::string> chosen) {
  script_.push_back({Shown(options, "save file"), Answer::Ok, {}, std::move(chosen)});
  return *this;
}

std::optional<std::string> ScriptedDialogs::OpenFile(const FileDialogOptions& options) {
  return FileDialog(Shown(options));
}

std::optional<std::string> ScriptedDialogs::SaveFile(const FileDialogOptions& options) {
  return FileDialog(Shown(options, "save file"));
}

std::optional<std::string> ScriptedDialogs::FileDialog(const std::string& shown) {
  Step step = Take(shown);
  if (journal_ != nullptr) {
    journal_->Add(shown + " -> " + step.chosen.value_or("cancelled"));
  }
  return step.chosen;
}

ScriptedDialogs::Step ScriptedDialogs::Take(const std::string& shown) {
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected message: " << shown;
    return {shown, Answer::No, {}, {}};
  }
  Step step = script_.front();
  script_.pop_front();
  EXPECT_EQ(step.shown, shown) << "a message other than the expected one";
  return step;
}

void ScriptedDialogs::ShowModal(const WindowLayout& layout, const WindowLogic& logic) {
  const std::string shown = "window: " + std::string(layout.caption);
  Step step = Take(shown);
  if (journal_ != nullptr) {
    journal_->Add(shown);
  }
  last_window_ = std::make_unique<MemoryForm>(layout);
  std::unique_ptr<EventSink> sink = logic(*last_window_);
  if (step.interact) {
    step.interact(*last_window_, *sink);
  }
}

Answer ScriptedDialogs::Message(MessageKind kind, std::string_view text) {
  Answer answer = Take(Shown(kind, text)).answer;
  if (!AsksYesOrNo(kind)) {
    answer = Answer::Ok;
  }
  if (journal_ != nullptr) {
    journal_->Add(Line(kind, text, answer));
  }
  return answer;
}

void ScriptedDialogs::ShowError(std::string_view text) {
  Take(ErrorLine(text));
  if (journal_ != nullptr) {
    journal_->Add(ErrorLine(text));
  }
}

}  // namespace tarnwell

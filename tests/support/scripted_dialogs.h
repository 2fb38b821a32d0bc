#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "fakes/journal.h"
#include "fakes/memory_form.h"
#include "ui/dialogs.h"
#include "ui/events.h"

namespace tarnwell {

// Dialogs must begin as the script's next, are answered and journalled; extra or missing ones fail.
class ScriptedDialogs final : public Dialogs {
 public:
  using Interaction = std::function<void(MemoryForm& form, EventSink& logic)>;

  explicit ScriptedDialogs(Journal* journal = nullptr) : journal_(journal) {}
  ~ScriptedDialogs() override;

  ScriptedDialogs& Expect(MessageKind kind, std::string_view text, Answer answer = Answer::Ok) {
    return Push(Shown(kind, text), answer);
  }
  ScriptedDialogs& ExpectError(std::string_view text) { return Push(ErrorLine(text)); }
  ScriptedDialogs& ExpectWindow(std::string_view caption, Interaction interact = {}) {
    return Push("window: " + std::string(caption), Answer::Ok, std::move(interact));
  }
  // A file dialog with these settings, answered with `chosen` (nothing: cancelled).
  ScriptedDialogs& ExpectOpenFile(const FileDialogOptions& options,
                                  std::optional<std::string> chosen) {
    return Push(FileLine("open file", options), Answer::Ok, {}, std::move(chosen));
  }
  ScriptedDialogs& ExpectSaveFile(const FileDialogOptions& options,
                                  std::optional<std::string> chosen) {
    return Push(FileLine("save file", options), Answer::Ok, {}, std::move(chosen));
  }
  const MemoryForm* LastWindow() const { return last_window_.get(); }

  Answer Message(MessageKind kind, std::string_view text) override {
    const Answer scripted = Take(Shown(kind, text)).answer;
    const Answer answer = AsksYesOrNo(kind) ? scripted : Answer::Ok;
    Note(Line(kind, text, answer));
    return answer;
  }
  void ShowError(std::string_view text) override {
    Take(ErrorLine(text));
    Note(ErrorLine(text));
  }
  void ShowModal(const WindowLayout& layout, const WindowLogic& logic) override;
  std::optional<std::string> OpenFile(const FileDialogOptions& options) override {
    return FileDialog(FileLine("open file", options));
  }
  std::optional<std::string> SaveFile(const FileDialogOptions& options) override {
    return FileDialog(FileLine("save file", options));
  }

  // The journal line a message leaves: "warning: text", "confirmation: text -> Yes".
  static std::string Line(MessageKind kind, std::string_view text, Answer answer = Answer::Ok);
  static std::string ErrorLine(std::string_view text) { return "error box: " + std::string(text); }

 private:
  struct Step {
    std::string shown;
    Answer answer;
    Interaction interact;
    std::optional<std::string> chosen;
  };
  static std::string FileLine(std::string_view kind, const FileDialogOptions& options);
  static std::string Shown(MessageKind kind, std::string_view text) {
    return std::string(MessageKindName(kind)) + ": " + std::string(text);
  }
  ScriptedDialogs& Push(std::string shown, Answer answer = Answer::Ok, Interaction interact = {},
                        std::optional<std::string> chosen = std::nullopt) {
    script_.push_back({std::move(shown), answer, std::move(interact), std::move(chosen)});
    return *this;
  }
  // The next step, which must begin as `shown` does; none scripted is a failure.
  Step Take(const std::string& shown);
  void Note(const std::string& line) {
    if (journal_ != nullptr)
      journal_->Add(line);
  }
  std::optional<std::string> FileDialog(const std::string& shown) {
    std::optional<std::string> chosen = Take(shown).chosen;
    Note(shown + " -> " + chosen.value_or("cancelled"));
    return chosen;
  }

  Journal* journal_;
  std::deque<Step> script_;
  std::unique_ptr<MemoryForm> last_window_;
};

}  // namespace tarnwell

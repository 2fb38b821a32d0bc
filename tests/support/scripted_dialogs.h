#pragma once

#include <deque>
#include <string>
#include <string_view>

#include "fakes/journal.h"
#include "fakes/memory_form.h"
#include "ui/dialogs.h"
#include "ui/events.h"

namespace tarnwell {

// Dialogs that follow a script: each message must be the next one expected, and is
// answered as the script says. Every message is written to the journal in order, so that
// it stands among the registry writes. An unexpected message, or one left unshown when the
// test ends, fails the test.
class ScriptedDialogs final : public Dialogs {
 public:
  explicit ScriptedDialogs(Journal* journal = nullptr) : journal_(journal) {}
  ~ScriptedDialogs() override;

  ScriptedDialogs& Expect(MessageKind kind, std::string_view text, Answer answer = Answer::Ok);
  ScriptedDialogs& ExpectError(std::string_view text);
  // A secondary window with this caption; `interact` acts on it as the user would, while it
  // is shown. The last one shown stays for the test to look at.
  using Interaction = std::function<void(MemoryForm& form, EventSink& logic)>;
  ScriptedDialogs& ExpectWindow(std::string_view caption, Interaction interact = {});
  const MemoryForm* LastWindow() const { return last_window_.get(); }
  // The open-file dialog with these settings, answered with `chosen` (nothing: cancelled).
  ScriptedDialogs& ExpectOpenFile(const FileDialogOptions& options,
                                  std::optional<std::string> chosen);
  ScriptedDialogs& ExpectSaveFile(const FileDialogOptions& options,
                                  std::optional<std::string> chosen);

  Answer Message(MessageKind kind, std::string_view text) override;
  void ShowError(std::string_view text) override;
  void ShowModal(const WindowLayout& layout, const WindowLogic& logic) override;
  std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> SaveFile(const FileDialogOptions& options) override;

  // The journal line a message leaves: "warning: text", "confirmation: text -> Yes".
  static std::string Line(MessageKind kind, std::string_view text, Answer answer = Answer::Ok);
  static std::string ErrorLine(std::string_view text);

 private:
  struct Step {
    std::string shown;  // the journal line without the answer
    Answer answer;
    Interaction interact;
    std::optional<std::string> chosen;
  };
  Step Take(const std::string& shown);
  std::optional<std::string> FileDialog(const std::string& shown);

  Journal* journal_;
  std::deque<Step> script_;
  std::unique_ptr<MemoryForm> last_window_;
};

}  // namespace tarnwell

#pragma once

#include <deque>
#include <string>
#include <string_view>

#include "platform/memory/journal.h"
#include "ui/dialogs.h"

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

  Answer Message(MessageKind kind, std::string_view text) override;
  void ShowError(std::string_view text) override;

  // The journal line a message leaves: "warning: text", "confirmation: text -> Yes".
  static std::string Line(MessageKind kind, std::string_view text, Answer answer = Answer::Ok);
  static std::string ErrorLine(std::string_view text);

 private:
  struct Step {
    std::string shown;  // the journal line without the answer
    Answer answer;
  };
  Answer Take(const std::string& shown);

  Journal* journal_;
  std::deque<Step> script_;
};

}  // namespace tarnwell

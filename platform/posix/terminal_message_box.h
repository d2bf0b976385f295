// Message boxes where there is no window system: the title and text go to
// an output stream, and a question is answered on a terminal.
#ifndef BRANTVELL_PLATFORM_POSIX_TERMINAL_MESSAGE_BOX_H_
#define BRANTVELL_PLATFORM_POSIX_TERMINAL_MESSAGE_BOX_H_

#include <istream>
#include <ostream>
#include <string>

#include "platform/message_box.h"

namespace brantvell {

class TerminalMessageBox : public MessageBox {
 public:
  // `answers` is read only when `interactive`; otherwise every question is
  // answered with OK, so an unattended run never waits.
  TerminalMessageBox(std::istream* answers, std::ostream* out, bool interactive)
      : answers_(answers), out_(out), interactive_(interactive) {}

  // OK unless the answer line is "c", "cancel" or "storno" (any case).
  bool AskOkCancel(const std::string& text, const std::string& title) override;
  void ShowWarning(const std::string& text, const std::string& title) override;
  // One line on the output when there is no terminal to ask on.
  void NoteNothingChosen(const std::string& why) override;

 private:
  std::istream* answers_;
  std::ostream* out_;
  bool interactive_;
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_POSIX_TERMINAL_MESSAGE_BOX_H_

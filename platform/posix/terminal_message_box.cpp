#include "platform/posix/terminal_message_box.h"

#include "platform/posix/posix.h"

#include "platform/text.h"

namespace brantvell {

namespace {

void ShowText(std::ostream* out, const std::string& text, const std::string& title) {
  *out << "[" << title << "]\n" << text << "\n";
}

}  // namespace

bool TerminalMessageBox::AskOkCancel(const std::string& text, const std::string& title) {
  ShowText(out_, text, title);
  if (!interactive_) {
    out_->flush();
    return true;
  }
  *out_ << "OK / Cancel [OK]: " << std::flush;
  std::string answer;
  if (!std::getline(*answers_, answer)) return true;
  if (!answer.empty() && answer.back() == '\r') answer.pop_back();
  answer = ToLower(TrimSpaces(answer));
  return !(answer == "c" || answer == "cancel" || answer == "storno");
}

void TerminalMessageBox::ShowWarning(const std::string& text, const std::string& title) {
  ShowText(out_, text, title);
  out_->flush();
}

void TerminalMessageBox::NoteNothingChosen(const std::string& why) {
  if (interactive_) return;
  *out_ << "brantvell: nothing was chosen: " << why
        << "; there is no terminal to ask on (see brantvell --help)" << std::endl;
}

}  // namespace brantvell

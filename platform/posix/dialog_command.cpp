#include "platform/posix/dialog_command.h"

#include "platform/text.h"

namespace brantvell {

namespace {

DialogCommand Command(DialogCommand::Kind kind, int row = 0) {
  DialogCommand command;
  command.kind = kind;
  command.row = row;
  return command;
}

// Blanks, tabs and a carriage return left by a CR LF line end.
std::string TrimBlanks(const std::string& text) {
  const char kBlanks[] = " \t\r\n";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

}  // namespace

DialogCommand ParseDialogCommandLine(const std::string& line) {
  const std::string word = TrimBlanks(line);
  if (word.empty() || EqualsNoCase(word, "ok")) return Command(DialogCommand::kOk);
  if (word == "1" || word == "2" || word == "3") {
    return Command(DialogCommand::kSelectRow, word[0] - '0');
  }
  if (EqualsNoCase(word, "up")) return Command(DialogCommand::kUp);
  if (EqualsNoCase(word, "down")) return Command(DialogCommand::kDown);
  if (EqualsNoCase(word, "esc") || EqualsNoCase(word, "s")) return Command(DialogCommand::kCancel);
  return Command(DialogCommand::kNone);
}

DialogCommand DialogCommandFromKey(const TerminalKey& key) {
  switch (key.kind) {
    case TerminalKey::kDigit:
      if (key.digit >= 1 && key.digit <= 3) return Command(DialogCommand::kSelectRow, key.digit);
      return Command(DialogCommand::kNone);
    case TerminalKey::kUp:
      return Command(DialogCommand::kUp);
    case TerminalKey::kDown:
      return Command(DialogCommand::kDown);
    case TerminalKey::kEnter:
      return Command(DialogCommand::kOk);
    case TerminalKey::kEscape:
    case TerminalKey::kLetterS:
      return Command(DialogCommand::kCancel);
    case TerminalKey::kEnd:
      return Command(DialogCommand::kClose);
    case TerminalKey::kOther:
      break;
  }
  return Command(DialogCommand::kNone);
}

}  // namespace brantvell

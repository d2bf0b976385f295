// What the user asks of the choice dialog in a text terminal, from a key in
// raw mode or from a line when the input is not a terminal.
#ifndef BRANTVELL_PLATFORM_POSIX_DIALOG_COMMAND_H_
#define BRANTVELL_PLATFORM_POSIX_DIALOG_COMMAND_H_

#include <string>

#include "platform/posix/terminal.h"

namespace brantvell {

struct DialogCommand {
  enum Kind { kNone, kSelectRow, kUp, kDown, kOk, kCancel, kClose };
  Kind kind = kNone;
  int row = 0;  // kSelectRow: 1 to 3, the row's place on screen from the top
};

// "1" to "3" pick a row, "up" and "down" move, "ok" or an empty line is OK,
// "esc" or "s" is Storno; letter case and surrounding blanks do not matter.
// Anything else is kNone.
DialogCommand ParseDialogCommandLine(const std::string& line);

// Digits 1 to 3, the arrow keys, Enter (OK), Esc or "s" (Storno) and the end
// of the input (close); other keys are kNone.
DialogCommand DialogCommandFromKey(const TerminalKey& key);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_POSIX_DIALOG_COMMAND_H_

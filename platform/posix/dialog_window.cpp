#include "platform/dialog_window.h"

#include <iostream>
#include <memory>

#include "platform/posix/terminal.h"
#include "platform/posix/terminal_dialog_view.h"

namespace brantvell {

// The dialog drawn on the text terminal. Standard output stays free for the
// program's own output; the dialog is drawn on standard error.
std::unique_ptr<DialogWindow> DialogWindow::Make(DialogWindowEvents& events) {
  return std::make_unique<TerminalDialogView>(events, Terminal::Real(), std::cerr);
}

}  // namespace brantvell

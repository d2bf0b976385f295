#include <iostream>
#include <memory>

#include "platform/terminal.h"
#include "ui/dialog_view.h"
#include "ui/terminal_dialog_view.h"

namespace brantvell {

// Standard output stays free for the program's own output; the dialog is
// drawn on standard error.
DialogViewFactory DefaultDialogViewFactory() {
  return [](frmMain& owner) -> std::unique_ptr<DialogView> {
    return std::make_unique<TerminalDialogView>(owner, Terminal::Real(), std::cerr);
  };
}

}  // namespace brantvell

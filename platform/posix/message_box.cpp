#include "platform/message_box.h"

#include "platform/posix/posix.h"

#include <unistd.h>

#include <iostream>

#include "platform/posix/terminal_message_box.h"

namespace brantvell {

MessageBox& MessageBox::Real() {
  static TerminalMessageBox box(&std::cin, &std::cerr, isatty(STDIN_FILENO) != 0);
  return box;
}

}  // namespace brantvell

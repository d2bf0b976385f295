#include "platform/message_box.h"

#include "platform/linux/linux.h"

#include <unistd.h>

#include <iostream>

#include "platform/posix/terminal_message_box.h"
#include "platform/wineprefix/failure_cause.h"
#include "platform/wineprefix/prefix_check.h"

namespace brantvell {

namespace {

// The program's warning is that it could not install; a line after it
// names the cause: the prefix that is missing or no prefix at all, else
// what the prefix's objects last ran into.
class ProgramMessageBox : public TerminalMessageBox {
 public:
  using TerminalMessageBox::TerminalMessageBox;
  void ShowWarning(const std::string& text, const std::string& title) override {
    TerminalMessageBox::ShowWarning(text, title);
    std::string problem = WinePrefixProblem();
    if (problem.empty()) problem = FailureCause();
    if (!problem.empty()) std::cerr << problem << std::endl;
  }
};

}  // namespace

MessageBox& MessageBox::Real() {
  static ProgramMessageBox box(&std::cin, &std::cerr, isatty(STDIN_FILENO) != 0);
  return box;
}

}  // namespace brantvell

// The choice dialog drawn as text: the three rows with their two-line
// labels, the selected one marked and the unavailable one greyed. Keys drive
// it on an interactive terminal, lines of commands otherwise.
#ifndef BRANTVELL_PLATFORM_POSIX_TERMINAL_DIALOG_VIEW_H_
#define BRANTVELL_PLATFORM_POSIX_TERMINAL_DIALOG_VIEW_H_

#include <ostream>
#include <string>

#include "platform/choice_rows.h"
#include "platform/dialog_window.h"
#include "platform/posix/dialog_command.h"
#include "platform/posix/terminal.h"

namespace brantvell {

class TerminalDialogView : public DialogWindow {
 public:
  // Reads the user's input from `terminal` and draws on `out`.
  TerminalDialogView(DialogWindowEvents& events, Terminal& terminal, std::ostream& out);

  void Create(const std::string& caption) override;
  bool Exists() const override { return exists_; }
  void Destroy() override;
  void SetClickAreaVisible(int index, bool visible) override;
  void SetGreyedVisible(int index, bool visible) override;
  void SetOptionEnabled(int index, bool enabled) override;
  void SetOptionSelected(int index, bool selected) override;
  bool IsOptionSelected(int index) const override;
  void PlaceImage(bool greyed, int index, const ControlRect& rect) override;
  void ShowModal() override;
  void Hide() override { visible_ = false; }

 private:
  DialogCommand NextCommand();
  void Run(const DialogCommand& command);
  // Selects the next row that can be picked, one way (-1 up, +1 down).
  void MoveSelection(int step);
  void PickRowAt(int position);
  void Close();
  void Draw();

  DialogWindowEvents& events_;
  Terminal& terminal_;
  std::ostream& out_;
  std::string caption_;
  bool exists_ = false;
  bool visible_ = false;
  bool interactive_ = false;  // keys and ANSI colours, or lines and plain text
  int drawn_lines_ = 0;       // lines of the last drawing, to redraw in place
  ChoiceRows<ChoiceRowState> rows_;
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_POSIX_TERMINAL_DIALOG_VIEW_H_

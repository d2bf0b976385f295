// The option buttons of the choice window have no text of their own: the
// labels are in the picture, and a button's text would be drawn beside its
// circle and move the circle. A screen reader reads a button's text by
// asking for it, so each option answers with its row's label, except while
// the button is handling a message of its own, such as painting itself.
// (Subclassed through user32: the program imports nothing from comctl32.)
#ifndef BRANTVELL_PLATFORM_WIN32_OPTION_TEXT_H_
#define BRANTVELL_PLATFORM_WIN32_OPTION_TEXT_H_

#include <string>

#include "platform/win32/win32.h"

namespace brantvell {

struct OptionText {
  std::wstring name;              // the label's two lines, as the option's text
  int busy = 0;                   // messages of the option button under way
  WNDPROC button_proc = nullptr;  // the option's own window procedure
};

// Makes `option` answer with `text`'s name, which must outlive the button.
void AnswerWithText(HWND option, OptionText* text);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WIN32_OPTION_TEXT_H_

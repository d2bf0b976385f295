// Modal message boxes. An interface so it can be mocked out for tests.
#ifndef BRANTVELL_PLATFORM_MESSAGE_BOX_H_
#define BRANTVELL_PLATFORM_MESSAGE_BOX_H_

#include <string>

namespace brantvell {

struct MessageBox {
  virtual ~MessageBox() = default;

  // Shows `text` with OK and Cancel and waits; true when the answer is OK.
  virtual bool AskOkCancel(const std::string& text, const std::string& title) = 0;

  // Shows `text` with an exclamation icon and a single OK button and waits.
  virtual void ShowWarning(const std::string& text, const std::string& title) = 0;

  // Tells why a run that asked for a choice ended with none, where nobody
  // could have been asked (no terminal on Linux); `why` is one sentence.
  // Windows shows its dialog, so nothing is told there.
  virtual void NoteNothingChosen(const std::string& why) { (void)why; }

  static MessageBox& Real();
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_MESSAGE_BOX_H_

// The text terminal on the standard input: keys one at a time in raw mode,
// or whole lines when the input is not a terminal. An interface so it can be
// mocked out for tests.
#ifndef BRANTVELL_PLATFORM_POSIX_TERMINAL_H_
#define BRANTVELL_PLATFORM_POSIX_TERMINAL_H_

#include <memory>
#include <string>

namespace brantvell {

// One key press as the program tells keys apart.
struct TerminalKey {
  enum Kind { kOther, kDigit, kUp, kDown, kEnter, kEscape, kLetterS, kEnd };
  Kind kind = kOther;
  int digit = 0;  // 0 to 9 for kDigit
};

// Keeps the terminal in raw mode while it lives; restores the previous mode
// when destroyed.
struct TerminalRawMode {
  virtual ~TerminalRawMode() = default;
};

struct Terminal {
  virtual ~Terminal() = default;

  // True when the standard input is an interactive terminal.
  virtual bool InputIsTerminal() = 0;

  // Switches the input to raw mode (every key at once, no echo, no signal
  // keys); null when the mode cannot be changed.
  virtual std::unique_ptr<TerminalRawMode> EnterRawMode() = 0;

  // Waits for one key; kEnd at the end of the input (or Ctrl+C, Ctrl+D).
  virtual TerminalKey ReadKey() = 0;

  // Reads one line without its line end; false at the end of the input.
  virtual bool ReadLine(std::string* line) = 0;

  static Terminal& Real();
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_POSIX_TERMINAL_H_

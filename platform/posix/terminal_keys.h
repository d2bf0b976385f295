// Turns the bytes a terminal sends in raw mode into key presses: plain
// characters, and the escape sequences of the arrow keys.
#ifndef BRANTVELL_PLATFORM_POSIX_TERMINAL_KEYS_H_
#define BRANTVELL_PLATFORM_POSIX_TERMINAL_KEYS_H_

#include <functional>

#include "platform/posix/terminal.h"

namespace brantvell {

// `next_byte(wait)` gives the next input byte (0 to 255), or -1 when the
// input has ended or, with `wait` false, when no byte follows at once. A lone
// Escape byte is the Esc key; Escape followed at once by "[" or "O" starts a
// key's escape sequence.
TerminalKey DecodeTerminalKey(const std::function<int(bool wait)>& next_byte);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_POSIX_TERMINAL_KEYS_H_

#include "platform/terminal.h"

#include "platform/posix/posix.h"

#include <cerrno>
#include <iostream>

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "platform/posix/terminal_keys.h"
#include "platform/service_instance.h"

namespace brantvell {

namespace {

// How long the bytes of one escape sequence may lag behind its Escape byte;
// a lone Escape is the Esc key.
constexpr int kSequenceGapMs = 50;

class PosixRawMode : public TerminalRawMode {
 public:
  explicit PosixRawMode(const termios& saved) : saved_(saved) {}
  ~PosixRawMode() override { tcsetattr(STDIN_FILENO, TCSANOW, &saved_); }

 private:
  termios saved_;
};

int ReadByte(bool wait) {
  if (!wait) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    int ready = 0;
    do {
      ready = poll(&input, 1, kSequenceGapMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return -1;
  }
  unsigned char byte = 0;
  ssize_t n = 0;
  do {
    n = read(STDIN_FILENO, &byte, 1);
  } while (n < 0 && errno == EINTR);
  return n == 1 ? byte : -1;
}

class PosixTerminal : public Terminal {
 public:
  bool InputIsTerminal() override { return isatty(STDIN_FILENO) == 1; }

  std::unique_ptr<TerminalRawMode> EnterRawMode() override {
    termios saved{};
    if (tcgetattr(STDIN_FILENO, &saved) != 0) return nullptr;
    termios raw = saved;
    // Ctrl+C arrives as a key, so the mode is always restored on the way out.
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) return nullptr;
    return std::make_unique<PosixRawMode>(saved);
  }

  TerminalKey ReadKey() override { return DecodeTerminalKey(ReadByte); }

  bool ReadLine(std::string* line) override {
    if (!std::getline(std::cin, *line)) return false;
    if (!line->empty() && line->back() == '\r') line->pop_back();
    return true;
  }
};

}  // namespace

Terminal& Terminal::Real() { return ServiceInstance<PosixTerminal>(); }

}  // namespace brantvell

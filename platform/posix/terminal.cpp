#include "platform/posix/terminal.h"

#include "platform/posix/posix.h"

#include <cerrno>
#include <iostream>
#include <iterator>

#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include "platform/posix/terminal_keys.h"
#include "platform/service_instance.h"

namespace brantvell {

namespace {

// How long the bytes of one escape sequence may lag behind its Escape byte;
// a lone Escape is the Esc key.
constexpr int kSequenceGapMs = 50;

// The terminal's settings before raw mode, for a signal that ends the run
// while the mode is on.
termios g_saved_for_signal{};
constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Gives the terminal its settings back, then ends the process with the
// signal, as a terminal program is expected to (only calls that are safe in
// a signal handler).
void RestoreAndEnd(int signal_number) {
  tcsetattr(STDIN_FILENO, TCSANOW, &g_saved_for_signal);
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

class PosixRawMode : public TerminalRawMode {
 public:
  explicit PosixRawMode(const termios& saved) : saved_(saved) {
    g_saved_for_signal = saved;
    struct sigaction action {};
    action.sa_handler = RestoreAndEnd;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(kEndingSignals); ++i)
      sigaction(kEndingSignals[i], &action, &old_[i]);
  }
  ~PosixRawMode() override {
    tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
    for (size_t i = 0; i < std::size(kEndingSignals); ++i)
      sigaction(kEndingSignals[i], &old_[i], nullptr);
  }

 private:
  termios saved_;
  struct sigaction old_[std::size(kEndingSignals)]{};
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

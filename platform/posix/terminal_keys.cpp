#include "platform/posix/terminal_keys.h"

#include "platform/posix/posix.h"

namespace brantvell {

namespace {

constexpr int kEscape = 0x1b;
constexpr int kCtrlC = 0x03;
constexpr int kCtrlD = 0x04;

// Longest escape sequence read before giving up on it; keeps a stream of
// garbage from being swallowed as one key.
constexpr int kMaxSequenceBytes = 16;

TerminalKey Key(TerminalKey::Kind kind) {
  TerminalKey key;
  key.kind = kind;
  return key;
}

// The rest of a sequence after Escape and its introducer: parameter bytes,
// then one final byte from '@' to '~'.
TerminalKey DecodeSequence(const std::function<int(bool wait)>& next_byte) {
  for (int i = 0; i < kMaxSequenceBytes; ++i) {
    const int c = next_byte(false);
    if (c < 0) return Key(TerminalKey::kOther);
    if (c >= 0x40 && c <= 0x7e) {
      if (c == 'A') return Key(TerminalKey::kUp);
      if (c == 'B') return Key(TerminalKey::kDown);
      return Key(TerminalKey::kOther);
    }
  }
  return Key(TerminalKey::kOther);
}

}  // namespace

TerminalKey DecodeTerminalKey(const std::function<int(bool wait)>& next_byte) {
  const int c = next_byte(true);
  if (c < 0 || c == kCtrlC || c == kCtrlD) return Key(TerminalKey::kEnd);
  if (c == '\r' || c == '\n') return Key(TerminalKey::kEnter);
  if (c >= '0' && c <= '9') {
    TerminalKey key = Key(TerminalKey::kDigit);
    key.digit = c - '0';
    return key;
  }
  if (c == 's' || c == 'S') return Key(TerminalKey::kLetterS);
  if (c != kEscape) return Key(TerminalKey::kOther);
  const int introducer = next_byte(false);
  if (introducer < 0) return Key(TerminalKey::kEscape);
  if (introducer == '[' || introducer == 'O') return DecodeSequence(next_byte);
  return Key(TerminalKey::kOther);  // Alt with a key
}

}  // namespace brantvell

#include "platform/posix/terminal_keys.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace brantvell {
namespace {

// Bytes that all arrive at once, followed by the end of the input. Records
// whether each read was allowed to wait.
class ByteFeed {
 public:
  explicit ByteFeed(std::string bytes) : bytes_(std::move(bytes)) {}

  int Next(bool wait) {
    waits.push_back(wait);
    if (pos_ >= bytes_.size()) return -1;
    return static_cast<unsigned char>(bytes_[pos_++]);
  }
  TerminalKey Decode() {
    return DecodeTerminalKey([this](bool wait) { return Next(wait); });
  }

  std::vector<bool> waits;

 private:
  std::string bytes_;
  size_t pos_ = 0;
};

TerminalKey::Kind KindOf(const std::string& bytes) { return ByteFeed(bytes).Decode().kind; }

TEST(TerminalKeysTest, PlainKeys) {
  EXPECT_EQ(TerminalKey::kEnter, KindOf("\r"));
  EXPECT_EQ(TerminalKey::kEnter, KindOf("\n"));
  EXPECT_EQ(TerminalKey::kLetterS, KindOf("s"));
  EXPECT_EQ(TerminalKey::kLetterS, KindOf("S"));
  EXPECT_EQ(TerminalKey::kOther, KindOf("x"));
  EXPECT_EQ(TerminalKey::kOther, KindOf("\xc5"));  // first byte of a UTF-8 letter
  EXPECT_EQ(TerminalKey::kEnd, KindOf(""));
  EXPECT_EQ(TerminalKey::kEnd, KindOf("\x03"));
  EXPECT_EQ(TerminalKey::kEnd, KindOf("\x04"));

  ByteFeed digit("7");
  const TerminalKey key = digit.Decode();
  EXPECT_EQ(TerminalKey::kDigit, key.kind);
  EXPECT_EQ(7, key.digit);
}

TEST(TerminalKeysTest, EscapeSequences) {
  EXPECT_EQ(TerminalKey::kUp, KindOf("\x1b[A"));
  EXPECT_EQ(TerminalKey::kDown, KindOf("\x1b[B"));
  EXPECT_EQ(TerminalKey::kUp, KindOf("\x1bOA"));  // application cursor mode
  EXPECT_EQ(TerminalKey::kDown, KindOf("\x1bOB"));
  EXPECT_EQ(TerminalKey::kOther, KindOf("\x1b[C"));
  EXPECT_EQ(TerminalKey::kUp, KindOf("\x1b[1;5A"));    // Ctrl+Up moves as Up does
  EXPECT_EQ(TerminalKey::kOther, KindOf("\x1b[1;5"));  // cut short
  EXPECT_EQ(TerminalKey::kOther, KindOf("\x1bx"));     // Alt+x
  EXPECT_EQ(TerminalKey::kEscape, KindOf("\x1b"));
}

TEST(TerminalKeysTest, OnlyTheFirstByteWaitsAndASequenceIsReadWhole) {
  ByteFeed feed("\x1b[B2\x1b");
  EXPECT_EQ(TerminalKey::kDown, feed.Decode().kind);
  EXPECT_EQ((std::vector<bool>{true, false, false}), feed.waits);

  const TerminalKey next = feed.Decode();
  EXPECT_EQ(TerminalKey::kDigit, next.kind);
  EXPECT_EQ(2, next.digit);
  EXPECT_EQ(TerminalKey::kEscape, feed.Decode().kind);
  EXPECT_EQ(TerminalKey::kEnd, feed.Decode().kind);
}

TEST(TerminalKeysTest, EndlessSequenceStopsAfterABoundedRead) {
  ByteFeed feed("\x1b[" + std::string(100, '1') + "A");
  EXPECT_EQ(TerminalKey::kOther, feed.Decode().kind);
  EXPECT_LT(feed.waits.size(), 30u);
}

}  // namespace
}  // namespace brantvell

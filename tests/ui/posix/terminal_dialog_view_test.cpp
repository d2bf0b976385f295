#include "platform/posix/terminal_dialog_view.h"

#include <deque>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/posix/dialog_command.h"
#include "platform/posix/terminal.h"
#include "tests/support/capture_log.h"
#include "ui/frm_main.h"

namespace brantvell {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(DialogCommandTest, ParsesCommandLines) {
  struct Case {
    const char* line;
    DialogCommand::Kind kind;
    int row;
  };
  const Case cases[] = {
      {"1", DialogCommand::kSelectRow, 1}, {" 2 \r", DialogCommand::kSelectRow, 2},
      {"3", DialogCommand::kSelectRow, 3}, {"0", DialogCommand::kNone, 0},
      {"4", DialogCommand::kNone, 0},      {"12", DialogCommand::kNone, 0},
      {"up", DialogCommand::kUp, 0},       {"UP", DialogCommand::kUp, 0},
      {"\tdown", DialogCommand::kDown, 0}, {"ok", DialogCommand::kOk, 0},
      {"OK\r", DialogCommand::kOk, 0},     {"", DialogCommand::kOk, 0},
      {"  ", DialogCommand::kOk, 0},       {"esc", DialogCommand::kCancel, 0},
      {"Esc", DialogCommand::kCancel, 0},  {"s", DialogCommand::kCancel, 0},
      {"S", DialogCommand::kCancel, 0},    {"storno", DialogCommand::kNone, 0},
      {"o k", DialogCommand::kNone, 0},
  };
  for (const Case& c : cases) {
    const DialogCommand command = ParseDialogCommandLine(c.line);
    EXPECT_EQ(c.kind, command.kind) << '"' << c.line << '"';
    EXPECT_EQ(c.row, command.row) << c.line;
  }
}

TEST(DialogCommandTest, MapsKeys) {
  auto key = [](TerminalKey::Kind kind, int digit = 0) {
    TerminalKey k;
    k.kind = kind;
    k.digit = digit;
    return DialogCommandFromKey(k);
  };
  EXPECT_EQ(DialogCommand::kSelectRow, key(TerminalKey::kDigit, 1).kind);
  EXPECT_EQ(3, key(TerminalKey::kDigit, 3).row);
  EXPECT_EQ(DialogCommand::kNone, key(TerminalKey::kDigit, 0).kind);
  EXPECT_EQ(DialogCommand::kNone, key(TerminalKey::kDigit, 4).kind);
  EXPECT_EQ(DialogCommand::kUp, key(TerminalKey::kUp).kind);
  EXPECT_EQ(DialogCommand::kDown, key(TerminalKey::kDown).kind);
  EXPECT_EQ(DialogCommand::kOk, key(TerminalKey::kEnter).kind);
  EXPECT_EQ(DialogCommand::kCancel, key(TerminalKey::kEscape).kind);
  EXPECT_EQ(DialogCommand::kCancel, key(TerminalKey::kLetterS).kind);
  EXPECT_EQ(DialogCommand::kClose, key(TerminalKey::kEnd).kind);
  EXPECT_EQ(DialogCommand::kNone, key(TerminalKey::kOther).kind);
}

TerminalKey Key(TerminalKey::Kind kind, int digit = 0) {
  TerminalKey key;
  key.kind = kind;
  key.digit = digit;
  return key;
}

// A terminal whose lines come from a text, or whose keys come from a list
// when it plays an interactive one.
class FakeTerminal : public Terminal {
 public:
  explicit FakeTerminal(const std::string& lines) : lines_(lines) {}
  explicit FakeTerminal(std::vector<TerminalKey> keys)
      : interactive_(true), keys_(keys.begin(), keys.end()) {}

  int raw_modes_entered = 0;
  int raw_modes_left = 0;

  bool InputIsTerminal() override { return interactive_; }
  std::unique_ptr<TerminalRawMode> EnterRawMode() override {
    ++raw_modes_entered;
    return std::make_unique<Guard>(this);
  }
  TerminalKey ReadKey() override {
    if (keys_.empty()) return Key(TerminalKey::kEnd);
    const TerminalKey key = keys_.front();
    keys_.pop_front();
    return key;
  }
  bool ReadLine(std::string* line) override {
    return static_cast<bool>(std::getline(lines_, *line));
  }

 private:
  struct Guard : TerminalRawMode {
    explicit Guard(FakeTerminal* t) : terminal(t) {}
    ~Guard() override { ++terminal->raw_modes_left; }
    FakeTerminal* terminal;
  };

  bool interactive_ = false;
  std::istringstream lines_;
  std::deque<TerminalKey> keys_;
};

class TerminalDialogViewTest : public ::testing::Test {
 protected:
  // Runs the dialog over `terminal` with `disabled` greyed out, then unloads it.
  int32_t Run(FakeTerminal& terminal, int32_t disabled) {
    frmMain dialog([&](DialogWindowEvents& owner) {
      return std::make_unique<TerminalDialogView>(owner, terminal, out_);
    });
    const int32_t choice = dialog.Start(disabled);
    records_after_start_ = log_->Lines().size();
    dialog.Unload();
    return choice;
  }
  int32_t RunLines(const std::string& lines, int32_t disabled) {
    FakeTerminal terminal(lines);
    return Run(terminal, disabled);
  }
  int CountRecordsWith(const std::string& part) {
    int n = 0;
    for (const std::string& record : log_->Lines()) n += record.find(part) != std::string::npos;
    return n;
  }
  // The output line that holds `text`.
  std::string LineWith(const std::string& text) {
    std::istringstream lines(out_.str());
    std::string line;
    std::string found;
    while (std::getline(lines, line)) {
      if (line.find(text) != std::string::npos) found = line;
    }
    return found;
  }

  ScopedCaptureLog log_;
  std::ostringstream out_;
  size_t records_after_start_ = 0;
};

TEST_F(TerminalDialogViewTest, DigitsPickRowsByTheirPlaceOnScreen) {
  EXPECT_EQ(2, RunLines("1\nok\n", 0));
  EXPECT_EQ(3, RunLines("2\nok\n", 0));
  EXPECT_EQ(1, RunLines("3\nok\n", 0));
  EXPECT_EQ(1, RunLines("2\n3\n\n", 0));  // empty line = Enter
  EXPECT_EQ(5, CountRecordsWith("(imgChoiceOn_Click)\tEVENT USER"));
}

TEST_F(TerminalDialogViewTest, GreyedRowCannotBePicked) {
  EXPECT_EQ(2, RunLines("3\nok\n", 1));
  EXPECT_EQ(0, CountRecordsWith("(imgChoiceOn_Click)"));
  EXPECT_EQ(3, RunLines("1\nok\n", 2));
  EXPECT_EQ(0, CountRecordsWith("(imgChoiceOn_Click)"));
}

TEST_F(TerminalDialogViewTest, ArrowsMoveOverAvailableRowsOnly) {
  EXPECT_EQ(1, RunLines("down\ndown\nok\n", 0));
  EXPECT_EQ(1, RunLines("down\ndown\ndown\nok\n", 0));  // stays on the bottom row
  EXPECT_EQ(3, RunLines("down\ndown\nok\n", 1));        // the greyed bottom row is skipped
  EXPECT_EQ(1, RunLines("down\nok\n", 3));              // the greyed middle row is skipped
  EXPECT_EQ(3, RunLines("up\nok\n", 2));                // nothing to go to above
  EXPECT_EQ(2, RunLines("3\nup\nup\nok\n", 0));
}

TEST_F(TerminalDialogViewTest, StornoCommandsReturnZero) {
  EXPECT_EQ(0, RunLines("2\nesc\n", 0));
  EXPECT_EQ(0, RunLines("3\ns\n", 0));
  EXPECT_EQ(2, CountRecordsWith("(cmdCancel_Click)\tEVENT USER"));
  EXPECT_EQ(0, CountRecordsWith("(cmdOK_Click)"));
}

TEST_F(TerminalDialogViewTest, EndOfInputClosesTheWindow) {
  EXPECT_EQ(0, RunLines("2\n", 0));
  EXPECT_EQ(1, CountRecordsWith("(Form_QueryUnload)\tEVENT FORM\tUnloadMode=0"));
  EXPECT_EQ(0, CountRecordsWith("(cmdOK_Click)"));
  EXPECT_EQ(0, CountRecordsWith("(cmdCancel_Click)"));
  // The program's unload finds no window.
  EXPECT_EQ(records_after_start_, log_->Lines().size());
  EXPECT_EQ(0, CountRecordsWith("UnloadMode=1"));
}

TEST_F(TerminalDialogViewTest, UnknownCommandsAreIgnoredWithAHint) {
  EXPECT_EQ(2, RunLines("hello\n4\nok\n", 0));
  EXPECT_THAT(out_.str(), HasSubstr("? 1, 2, 3, up, down, ok, esc, s"));
  EXPECT_EQ(0, CountRecordsWith("(imgChoiceOn_Click)"));
}

TEST_F(TerminalDialogViewTest, LineModeDrawsPlainTextWithTheUnavailableMarker) {
  RunLines("ok\n", 1);
  const std::string text = out_.str();
  EXPECT_THAT(text, HasSubstr("Brantvell\n"));
  EXPECT_THAT(text, HasSubstr("Slovak republic"));
  EXPECT_THAT(text, HasSubstr("Czech republic and Slovak republic"));
  EXPECT_THAT(text, HasSubstr("Česká republika i Slovenská republika"));
  EXPECT_THAT(text, HasSubstr("[ OK ]  [ Storno ]"));
  EXPECT_EQ(std::string::npos, text.find('\x1b'));
  EXPECT_THAT(LineWith("1  Slovenská republika"), HasSubstr("(*)"));
  EXPECT_THAT(LineWith("1  Slovenská republika"), Not(HasSubstr("(nedostupné)")));
  const std::string czech = LineWith("3  Česká republika");
  EXPECT_THAT(czech, HasSubstr("(nedostupné)"));
  EXPECT_THAT(czech, HasSubstr("( )"));
}

TEST_F(TerminalDialogViewTest, RowsAreDrawnTopToBottomSkCzskCz) {
  RunLines("ok\n", 0);
  const std::string text = out_.str();
  const size_t sk = text.find("1  Slovenská republika");
  const size_t both = text.find("2  Česká republika i Slovenská republika");
  const size_t cz = text.find("3  Česká republika\n");
  ASSERT_NE(std::string::npos, sk);
  ASSERT_NE(std::string::npos, both);
  ASSERT_NE(std::string::npos, cz);
  EXPECT_LT(sk, both);
  EXPECT_LT(both, cz);
  EXPECT_LT(text.find("Slovak republic\n"), both);
  EXPECT_LT(text.find("Czech republic and Slovak republic\n"), cz);
  EXPECT_GT(text.find("Czech republic\n"), cz);
}

TEST_F(TerminalDialogViewTest, KeysDriveTheDialogInRawMode) {
  FakeTerminal terminal(
      {Key(TerminalKey::kDown), Key(TerminalKey::kOther), Key(TerminalKey::kEnter)});
  EXPECT_EQ(3, Run(terminal, 0));
  FakeTerminal digits(
      {Key(TerminalKey::kDigit, 3), Key(TerminalKey::kDigit, 0), Key(TerminalKey::kEnter)});
  EXPECT_EQ(1, Run(digits, 0));
  EXPECT_EQ(1, terminal.raw_modes_entered);
  EXPECT_EQ(1, terminal.raw_modes_left);
}

TEST_F(TerminalDialogViewTest, KeysForStornoAndClose) {
  FakeTerminal escape({Key(TerminalKey::kDigit, 2), Key(TerminalKey::kEscape)});
  EXPECT_EQ(0, Run(escape, 0));
  FakeTerminal letter({Key(TerminalKey::kLetterS)});
  EXPECT_EQ(0, Run(letter, 0));
  FakeTerminal end({Key(TerminalKey::kEnd)});
  EXPECT_EQ(0, Run(end, 0));
  EXPECT_EQ(2, CountRecordsWith("(cmdCancel_Click)"));
  EXPECT_EQ(1, CountRecordsWith("UnloadMode=0"));
}

TEST_F(TerminalDialogViewTest, TerminalDrawingDimsTheGreyedRowAndRedrawsInPlace) {
  FakeTerminal terminal({Key(TerminalKey::kDown), Key(TerminalKey::kEnter)});
  EXPECT_EQ(3, Run(terminal, 1));
  const std::string text = out_.str();
  // Dimmed, and named unavailable in words as well.
  EXPECT_THAT(text, HasSubstr("\x1b[2m  ( ) 3  Česká republika  (nedostupné)\x1b[0m"));
  EXPECT_THAT(text, HasSubstr("\x1b[2m         Czech republic\x1b[0m"));
  EXPECT_EQ(std::string::npos, text.find("Slovenská republika  (nedostupné)"));
  // The second drawing goes back over the first one.
  EXPECT_THAT(text, HasSubstr("\x1b[12A\r\x1b[J"));
}

}  // namespace
}  // namespace brantvell

#include "platform/posix/terminal_message_box.h"

#include <gtest/gtest.h>

#include <sstream>

namespace brantvell {
namespace {

TEST(TerminalMessageBoxTest, UnattendedQuestionIsOkWithoutReading) {
  std::istringstream answers("cancel\n");
  std::ostringstream out;
  TerminalMessageBox box(&answers, &out, false);
  EXPECT_TRUE(box.AskOkCancel("Záznam\tdruhý řádek", "clsLogShare"));
  EXPECT_NE(out.str().find("clsLogShare"), std::string::npos);
  EXPECT_NE(out.str().find("Záznam\tdruhý řádek"), std::string::npos);
  std::string left;
  std::getline(answers, left);
  EXPECT_EQ(left, "cancel");
}

TEST(TerminalMessageBoxTest, CancelWordsAnswerCancelAnythingElseOk) {
  struct Case {
    const char* input;
    bool ok;
  };
  const Case cases[] = {{"c\n", false}, {"Cancel\n", false}, {"  STORNO \r\n", false}, {"\n", true},
                        {"ok\n", true}, {"", true},          {"cancelled\n", true}};
  for (const Case& c : cases) {
    std::istringstream answers(c.input);
    std::ostringstream out;
    TerminalMessageBox box(&answers, &out, true);
    EXPECT_EQ(box.AskOkCancel("text", "title"), c.ok) << "answer: " << c.input;
    EXPECT_NE(out.str().find("title"), std::string::npos);
  }
}

TEST(TerminalMessageBoxTest, OneAnswerLinePerQuestion) {
  std::istringstream answers("c\n\n");
  std::ostringstream out;
  TerminalMessageBox box(&answers, &out, true);
  EXPECT_FALSE(box.AskOkCancel("first", "t"));
  EXPECT_TRUE(box.AskOkCancel("second", "t"));
}

TEST(TerminalMessageBoxTest, WarningShowsTitleAndTextWithoutReading) {
  std::istringstream answers("c\n");
  std::ostringstream out;
  TerminalMessageBox box(&answers, &out, true);
  box.ShowWarning("Aplikace Veldramona není nainstalována.", "Brantvell");
  EXPECT_NE(out.str().find("Brantvell"), std::string::npos);
  EXPECT_NE(out.str().find("Aplikace Veldramona není nainstalována."), std::string::npos);
  EXPECT_EQ(answers.tellg(), 0);
}

// Only where nobody could be asked: one line, with the reason.
TEST(TerminalMessageBoxTest, NothingChosenIsOneLineOnlyWithoutTerminal) {
  for (bool interactive : {false, true}) {
    std::istringstream answers;
    std::ostringstream out;
    TerminalMessageBox box(&answers, &out, interactive);
    box.NoteNothingChosen("no action word was given");
    if (interactive) {
      EXPECT_EQ("", out.str());
    } else {
      EXPECT_EQ(
          "brantvell: nothing was chosen: no action word was given; there is no terminal to ask "
          "on (see brantvell --help)\n",
          out.str());
    }
  }
}

}  // namespace
}  // namespace brantvell

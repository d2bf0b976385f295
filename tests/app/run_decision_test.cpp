#include "app/run_decision.h"

#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "tests/support/capture_log.h"

namespace brantvell {
namespace {

RunDecision Decide(const std::string& command) {
  ScopedCaptureLog log;
  ParamInfoDat dat;
  GetParamInfoDat(command, &dat);
  return DecideAction(dat);
}

TEST(RunDecisionTest, ActionWordsInAnyCaseChooseTheOperation) {
  const struct {
    const char* command;
    int action;
    int variant;
  } kCases[] = {
      {"/action=clear", 0, 0},
      {"/action=CLEAR", 0, 0},
      {"/action=cz", 1, 1},
      {"/action=Sk", 2, 2},
      {"/action=czsk", 3, 3},
      {"/action= CzSk ", 3, 3},
      {"", -1, 0},
      {"/action=", -1, 0},
      {"/action=foo", -1, 0},
      {"/action=cz sk", -1, 0},
      {"/action", -1, 0},
      {"/action=cz /action=sk", -1, 0},
      {"/mode=q /target=D:\\", -1, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.command);
    RunDecision decision = Decide(c.command);
    EXPECT_EQ(decision.action, c.action);
    EXPECT_EQ(decision.variant, c.variant);
  }
}

TEST(RunDecisionTest, QuietOnlyForOneModeQ) {
  EXPECT_TRUE(Decide("/mode=q").quiet);
  EXPECT_TRUE(Decide("/action=cz /mode=Q").quiet);
  EXPECT_FALSE(Decide("/mode=quiet").quiet);
  EXPECT_FALSE(Decide("/mode=q /mode=q").quiet);
  EXPECT_FALSE(Decide("/mode").quiet);
  EXPECT_FALSE(Decide("/action=cz").quiet);
}

TEST(RunDecisionTest, TargetGivenOnceIsTakenEvenWhenEmpty) {
  RunDecision quoted = Decide("/action=clear /target=\"D:\\My Apps\"");
  EXPECT_TRUE(quoted.has_target);
  EXPECT_EQ(quoted.target, "D:\\My Apps");
  RunDecision empty = Decide("/target=");
  EXPECT_TRUE(empty.has_target);
  EXPECT_EQ(empty.target, "");
  EXPECT_FALSE(Decide("/target=D:\\A /target=D:\\B").has_target);
  // A lone quote cannot be cut out: the switch counts as not given.
  EXPECT_FALSE(Decide("/target=\"").has_target);
  EXPECT_FALSE(Decide("/action=cz").has_target);
}

TEST(RunDecisionTest, LettersWrittenInOverlongBytesAreNotLetters) {
  // "\xC1\x81" and "\xC1\x83" are overlong forms of "A" and "C": read as
  // letters they would turn /action and cz into switches the user never
  // wrote.
  ScopedCaptureLog log;
  ParamInfoDat dat;
  GetParamInfoDat(
      "/\xC1\x81"
      "ction=cz",
      &dat);
  EXPECT_EQ(dat.Action.Present, 0);
  EXPECT_EQ(dat.Rest,
            "/\xC1\x81"
            "ction=cz");
  EXPECT_EQ(DecideAction(dat).action, kActionAsk);

  RunDecision decision = Decide("/action=\xC1\x83z /mode=\xC1\x91");
  EXPECT_EQ(decision.action, kActionAsk);
  EXPECT_EQ(decision.variant, 0);
  EXPECT_FALSE(decision.quiet);
}

}  // namespace
}  // namespace brantvell

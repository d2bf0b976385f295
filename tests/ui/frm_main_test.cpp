#include "ui/frm_main.h"

#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/dialog_window.h"
#include "platform/error.h"
#include "tests/support/capture_log.h"
#include "tests/support/scripted_dialog_view.h"

namespace brantvell {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class FrmMainTest : public ::testing::Test {
 protected:
  // A dialog whose window plays `script`; `configure` may inject failures.
  std::unique_ptr<frmMain> Dialog(std::vector<UserAction> script,
                                  std::function<void(ScriptedView&)> configure = nullptr) {
    return std::make_unique<frmMain>([this, script, configure](DialogWindowEvents& owner) {
      ++factory_calls_;
      auto view = std::make_unique<ScriptedView>(owner, script, &seen_);
      if (configure) configure(*view);
      return view;
    });
  }

  std::vector<std::string> records() { return log_->Lines(); }
  bool HasRecordWith(const std::string& part) {
    for (const std::string& record : records()) {
      if (record.find(part) != std::string::npos) return true;
    }
    return false;
  }

  ScopedCaptureLog log_;
  ScriptedView::Observed seen_;
  int factory_calls_ = 0;
};

TEST_F(FrmMainTest, PickAndOkWritesEveryRecordInOrder) {
  auto dialog = Dialog({ClickLabel(3), PressOk()});
  EXPECT_EQ(3, dialog->Start(1));
  dialog->Unload();

  EXPECT_THAT(records(),
              ElementsAre("D Brantvell[frmMain] (Start)\t |S:START\t1",
                          "D Brantvell[frmMain] (SetImgChoice)\t |L:1",
                          "E0 Brantvell[frmMain] (Form_Load)\tEVENT FORM",
                          "E0 Brantvell[frmMain] (Form_Show)\tEVENT FORM\tBrantvell",
                          "E0 Brantvell[frmMain] (imgChoiceOn_Click)\tEVENT USER",
                          "E0 Brantvell[frmMain] (cmdOK_Click)\tEVENT USER",
                          "E0 Brantvell[frmMain] (Form_Hide)\tEVENT FORM",
                          "D Brantvell[frmMain] (Start)\t |S:END\t3",
                          "E0 Brantvell[frmMain] (Form_QueryUnload)\tEVENT FORM\tUnloadMode=1"));
  EXPECT_EQ(3, dialog->intChoice());
  EXPECT_EQ("Brantvell", seen_.caption);
  EXPECT_EQ(1, seen_.creations);
  EXPECT_EQ(1, seen_.destructions);
  EXPECT_FALSE(seen_.exists);
}

TEST_F(FrmMainTest, WindowIsCreatedOnFirstUseAndFormLoadPlacesTheImages) {
  auto dialog = Dialog({PressOk()});
  EXPECT_EQ(0, factory_calls_);
  EXPECT_EQ(0, seen_.creations);

  dialog->Start(0);
  EXPECT_EQ(1, factory_calls_);
  EXPECT_EQ(1, seen_.creations);
  ASSERT_EQ(6u, seen_.placements.size());
  const int expected_index[] = {2, 2, 3, 3, 1, 1};
  const int expected_top[] = {175, 175, 233, 233, 292, 292};
  for (size_t i = 0; i < 6; ++i) {
    const ScriptedView::Placement& p = seen_.placements[i];
    EXPECT_EQ(i % 2 == 1, p.greyed) << i;
    EXPECT_EQ(expected_index[i], p.index) << i;
    EXPECT_EQ(146, p.rect.left) << i;
    EXPECT_EQ(expected_top[i], p.rect.top) << i;
    EXPECT_EQ(301, p.rect.width) << i;
    EXPECT_EQ(42, p.rect.height) << i;
  }
}

// For each variant to disable: which row is greyed, which one is selected at
// first, and what OK without a change returns.
struct DefaultCase {
  int32_t disabled;
  int greyed;  // 0 = none
  int selected;
};

class FrmMainDefaultTest : public FrmMainTest, public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(FrmMainDefaultTest, GreysTheDisabledRowAndSelectsTheDefault) {
  const DefaultCase c = GetParam();
  auto dialog = Dialog({PressOk()});
  EXPECT_EQ(c.selected, dialog->Start(c.disabled));

  for (int k = 1; k <= 3; ++k) {
    const bool available = k != c.greyed;
    EXPECT_EQ(available, seen_.rows[k].click_area_visible) << k;
    EXPECT_EQ(!available, seen_.rows[k].greyed_visible) << k;
    EXPECT_EQ(available, seen_.rows[k].enabled) << k;
    EXPECT_EQ(k == c.selected, seen_.rows[k].selected) << k;
  }
}

INSTANTIATE_TEST_SUITE_P(Variants, FrmMainDefaultTest,
                         ::testing::Values(DefaultCase{1, 1, 2}, DefaultCase{2, 2, 3},
                                           DefaultCase{3, 3, 2}, DefaultCase{0, 0, 2},
                                           DefaultCase{-1, 0, 2}, DefaultCase{7, 0, 2}));

TEST_F(FrmMainTest, ClickOnTheGreyedRowSelectsNothing) {
  auto dialog = Dialog({ClickLabel(1), PressOk()});
  EXPECT_EQ(2, dialog->Start(1));
  EXPECT_FALSE(HasRecordWith("(imgChoiceOn_Click)"));
}

TEST_F(FrmMainTest, ClickOnAnAvailableRowSelectsItsButtonOnly) {
  auto dialog = Dialog({ClickLabel(1), ClickLabel(3), PressOk()});
  EXPECT_EQ(3, dialog->Start(0));
  EXPECT_FALSE(seen_.rows[1].selected);
  EXPECT_FALSE(seen_.rows[2].selected);
  EXPECT_TRUE(seen_.rows[3].selected);
}

TEST_F(FrmMainTest, StornoAfterAPickReturnsZero) {
  auto dialog = Dialog({ClickLabel(1), PressCancel()});
  EXPECT_EQ(0, dialog->Start(2));
  EXPECT_EQ(0, dialog->intChoice());
  EXPECT_THAT(records(),
              ::testing::Contains("E0 Brantvell[frmMain] (cmdCancel_Click)\tEVENT USER"));
  EXPECT_FALSE(HasRecordWith("(cmdOK_Click)"));
  EXPECT_EQ("D Brantvell[frmMain] (Start)\t |S:END\t0", records().back());
}

TEST_F(FrmMainTest, StornoClearsAChoiceOfAnEarlierRun) {
  auto dialog = Dialog({PressOk(), PressCancel()});
  EXPECT_EQ(2, dialog->Start(0));
  EXPECT_EQ(0, dialog->Start(0));
}

TEST_F(FrmMainTest, ClosingTheWindowReturnsZeroAndLaterUnloadWritesNothing) {
  auto dialog = Dialog({ClickLabel(1), CloseWindow()});
  EXPECT_EQ(0, dialog->Start(0));
  EXPECT_FALSE(seen_.exists);
  EXPECT_THAT(records(), ::testing::Contains(
                             "E0 Brantvell[frmMain] (Form_QueryUnload)\tEVENT FORM\tUnloadMode=0"));
  EXPECT_FALSE(HasRecordWith("(cmdOK_Click)"));
  EXPECT_FALSE(HasRecordWith("(cmdCancel_Click)"));
  EXPECT_FALSE(HasRecordWith("(Form_Hide)"));
  EXPECT_EQ("D Brantvell[frmMain] (Start)\t |S:END\t0", records().back());

  const size_t before = records().size();
  dialog->Unload();
  EXPECT_EQ(before, records().size());
  EXPECT_EQ(1, seen_.destructions);
}

TEST_F(FrmMainTest, UnloadWithoutAWindowDoesNothing) {
  auto dialog = Dialog({});
  dialog->Unload();
  EXPECT_THAT(records(), IsEmpty());
  EXPECT_EQ(0, factory_calls_);
}

TEST_F(FrmMainTest, FailingSelectionIsSkippedAndOkKeepsTheChoice) {
  auto dialog = Dialog({PressOk(), PressOk()});
  EXPECT_EQ(2, dialog->Start(0));
  dialog->Unload();

  // A fresh window in which no button can be selected: OK finds no choice
  // and the earlier one stays.
  seen_.fail_selecting = true;
  log_->received.clear();
  EXPECT_EQ(2, dialog->Start(1));
  EXPECT_EQ(2, seen_.creations);
  EXPECT_FALSE(seen_.rows[2].selected);
  // The steps after the failing one still ran.
  EXPECT_TRUE(seen_.rows[1].greyed_visible);
  EXPECT_FALSE(seen_.rows[1].click_area_visible);
  EXPECT_FALSE(HasRecordWith("E2 "));
  EXPECT_TRUE(HasRecordWith("(Form_Hide)"));
}

TEST_F(FrmMainTest, FailureWhileShowingIsLoggedAndStartStillEnds) {
  auto dialog = Dialog({}, [](ScriptedView& view) { view.fail_show = true; });
  EXPECT_EQ(0, dialog->Start(0));
  ASSERT_GE(records().size(), 2u);
  const std::string error = records()[records().size() - 2];
  EXPECT_EQ(0u, error.find("E2 Brantvell[frmMain] (Start)\t\t")) << error;
  EXPECT_THAT(error, HasSubstr("out of memory"));
  EXPECT_EQ("D Brantvell[frmMain] (Start)\t |S:END\t0", records().back());
}

TEST_F(FrmMainTest, FailingPlacementSkipsTheRestOfFormLoad) {
  auto dialog = Dialog({ClickLabel(3), PressOk()},
                       [](ScriptedView& view) { view.fail_placement_number = 3; });
  EXPECT_EQ(3, dialog->Start(0));
  EXPECT_EQ(2u, seen_.placements.size());
  ASSERT_GE(records().size(), 4u);
  EXPECT_EQ("E0 Brantvell[frmMain] (Form_Load)\tEVENT FORM", records()[2]);
  EXPECT_EQ(0u, records()[3].find("E2 Brantvell[frmMain] (Form_Load)\t\t")) << records()[3];
  EXPECT_THAT(records()[3], HasSubstr("cannot place"));
}

}  // namespace
}  // namespace brantvell

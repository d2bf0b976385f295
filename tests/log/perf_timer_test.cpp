#include <gtest/gtest.h>

#include "log/cls_log_share.h"
#include "tests/support/log_test_support.h"

namespace brantvell {
namespace {

class PerfTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    UseOneFile();
    log_->SetEnable(-1, "", 1);
    id_ = log_->GetComponentId("Brantvell");
  }
  const ComponentEntry& Entry() { return log_->Components()[id_]; }
  int32_t id_ = 0;
};

TEST_F(PerfTest, StartAndStopRecords) {
  counter_.now = 6000000;
  ASSERT_TRUE(log_->StartPerf("A", "loading", 0, id_));
  EXPECT_TRUE(log_->IsPerfOpen("A", id_));
  counter_.now = 6500000;
  ASSERT_TRUE(log_->StopPerf("A", id_));
  EXPECT_FALSE(log_->IsPerfOpen("A", id_));
  std::string stamp = kStamp;
  EXPECT_EQ(OneFile(), "InfoLog:  " + stamp + "\tPerformance started, id=\"A\"\r\n" +
                           "InfoLog:  " + stamp + "\tPerformance finished, id=\"A\"\r\n\t\t" +
                           "loading\r\n\t\t================================\r\n\t\t" +
                           "Running time=500.000 ms\r\n\t\t\r\n");
}

TEST_F(PerfTest, PerformanceKindsCarryTheTimestamp) {
  counter_.now = 7000000;
  ASSERT_TRUE(log_->StartPerf("A", "", 6, id_));
  EXPECT_EQ(OneFile(), "Perf_II:  " + std::string(kStamp) +
                           " \"Timestamp=0:00:02.000000\"  \tPerformance started, id=\"A\"\r\n");
}

TEST_F(PerfTest, FreedSlotStaysInTheRange) {
  ASSERT_TRUE(log_->StartPerf("A", "", 0, id_));
  ASSERT_TRUE(log_->StartPerf("B", "", 0, id_));
  ASSERT_TRUE(log_->StopPerf("A", id_));
  EXPECT_EQ(Entry().PerfCount, 2);
  EXPECT_EQ(Entry().PerfSlots[0].ComponentID, -1);
  EXPECT_EQ(Entry().PerfSlots[0].PerfID, "");
  ASSERT_TRUE(log_->StopPerf("B", id_));
  EXPECT_EQ(Entry().PerfCount, 0);
}

TEST_F(PerfTest, RangeShrinksFromTheTopPastFreedSlots) {
  for (const char* id : {"A", "B", "C"}) ASSERT_TRUE(log_->StartPerf(id, "", 0, id_));
  ASSERT_TRUE(log_->StopPerf("B", id_));
  EXPECT_EQ(Entry().PerfCount, 3);
  ASSERT_TRUE(log_->StopPerf("C", id_));
  EXPECT_EQ(Entry().PerfCount, 1);
  EXPECT_TRUE(log_->IsPerfOpen("A", id_));
  EXPECT_TRUE(log_->StopPerf("A", id_));
  EXPECT_EQ(Entry().PerfCount, 0);
  // The next timer takes slot 0 again.
  ASSERT_TRUE(log_->StartPerf("D", "", 0, id_));
  EXPECT_EQ(Entry().PerfSlots[0].PerfID, "D");
}

TEST_F(PerfTest, NewestTimerOfOneIdStopsFirst) {
  ASSERT_TRUE(log_->StartPerf("A", "first", 0, id_));
  ASSERT_TRUE(log_->StartPerf("A", "second", 0, id_));
  OneFile().clear();
  ASSERT_TRUE(log_->StopPerf("A", id_));
  EXPECT_NE(OneFile().find("second"), std::string::npos);
  EXPECT_EQ(OneFile().find("first"), std::string::npos);
  EXPECT_TRUE(log_->IsPerfOpen("A", id_));
  EXPECT_EQ(Entry().PerfCount, 1);
}

TEST_F(PerfTest, StopAllFinishesNewestFirstAndSkipsFreedSlots) {
  for (const char* id : {"A", "B", "C"}) ASSERT_TRUE(log_->StartPerf(id, id, 0, id_));
  ASSERT_TRUE(log_->StopPerf("B", id_));
  OneFile().clear();
  EXPECT_TRUE(log_->StopPerf("", id_));
  const std::string& file = OneFile();
  size_t c = file.find("finished, id=\"C\"");
  size_t a = file.find("finished, id=\"A\"");
  ASSERT_NE(c, std::string::npos);
  ASSERT_NE(a, std::string::npos);
  EXPECT_LT(c, a);
  EXPECT_EQ(file.find("id=\"B\""), std::string::npos);
  EXPECT_EQ(Entry().PerfCount, 0);
  EXPECT_FALSE(log_->StopPerf("", id_));
}

TEST_F(PerfTest, FinishRecordUsesTheTimersOwnKind) {
  ASSERT_TRUE(log_->StartPerf("A", "", 2, id_));
  OneFile().clear();
  ASSERT_TRUE(log_->StopPerf("", id_));
  EXPECT_EQ(OneFile().compare(0, 10, "#ERRLOG#: "), 0);
}

TEST_F(PerfTest, TableGrowsBy256KeepingItsSlots) {
  for (int i = 0; i < 256; ++i) ASSERT_TRUE(log_->StartPerf("T" + std::to_string(i), "", 0, id_));
  EXPECT_EQ(Entry().PerfCount, 256);
  EXPECT_EQ(Entry().PerfCapacity, 256);
  EXPECT_EQ(Entry().PerfSlots.size(), 257u);
  ASSERT_TRUE(log_->StartPerf("T256", "", 0, id_));
  EXPECT_EQ(Entry().PerfCount, 257);
  EXPECT_EQ(Entry().PerfCapacity, 512);
  EXPECT_EQ(Entry().PerfSlots.size(), 513u);
  EXPECT_EQ(Entry().PerfSlots[0].PerfID, "T0");
  EXPECT_EQ(Entry().PerfSlots[255].PerfID, "T255");
  EXPECT_EQ(Entry().PerfSlots[256].PerfID, "T256");
  EXPECT_TRUE(log_->IsPerfOpen("T0", id_));
  EXPECT_TRUE(log_->StopPerf("T0", id_));
}

TEST_F(PerfTest, InvalidStartsOpenAndWriteNothing) {
  EXPECT_FALSE(log_->StartPerf("", "", 0, id_));
  EXPECT_FALSE(log_->StartPerf("A", "", 9, id_));
  EXPECT_FALSE(log_->StartPerf("A", "", -1, id_));
  EXPECT_FALSE(log_->StartPerf("A", "", 0, -1));
  EXPECT_FALSE(log_->StartPerf("A", "", 0, 5));
  log_->SetEnable(4, "Brantvell", 0);
  EXPECT_FALSE(log_->StartPerf("A", "", 4, id_));
  EXPECT_EQ(Entry().PerfCount, 0);
  EXPECT_EQ(fakes_.files.append_calls, 0);
  EXPECT_FALSE(log_->StopPerf("A", id_));
  EXPECT_FALSE(log_->StopPerf("never", id_));
  EXPECT_FALSE(log_->StopPerf("A", 7));
  EXPECT_EQ(fakes_.files.append_calls, 0);
}

TEST_F(PerfTest, IsPerfOpenComparesExactly) {
  ASSERT_TRUE(log_->StartPerf("Load", "", 0, id_));
  EXPECT_TRUE(log_->IsPerfOpen("Load", id_));
  EXPECT_FALSE(log_->IsPerfOpen("load", id_));
  EXPECT_FALSE(log_->IsPerfOpen("", id_));
  EXPECT_FALSE(log_->IsPerfOpen("Load", 0));  // another component's table
  EXPECT_FALSE(log_->IsPerfOpen("Load", -1));
  EXPECT_FALSE(log_->IsPerfOpen("Load", 2));
}

TEST_F(PerfTest, StartRecordFailureStillOpensTheTimer) {
  log_->SetDirectory("C:\\Missing");
  EXPECT_TRUE(log_->StartPerf("A", "", 0, id_));
  EXPECT_TRUE(log_->IsPerfOpen("A", id_));
  EXPECT_TRUE(log_->StopPerf("A", id_));
}

}  // namespace
}  // namespace brantvell

#include <gtest/gtest.h>

#include <algorithm>

#include "log/cls_log_share.h"
#include "tests/support/log_test_support.h"

namespace brantvell {
namespace {

// Today is 7 December 2026 (the fake clock's date).
class DeleteOldLogsTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    log_->SetDirectory("C:\\Logs");
    log_->SetFileNamePrefix("Brantvell");
    log_->SetFileNameMode(1);
  }
  void Add(std::initializer_list<const char*> names) {
    for (const char* name : names) fakes_.files.AddFile(std::string("C:\\Logs\\") + name);
  }
  bool Exists(const std::string& name) {
    return fakes_.files.files.count("C:\\Logs\\" + name) != 0;
  }
};

TEST_F(DeleteOldLogsTest, OlderThanTheLimitGoes) {
  Add({"Brantvell_261129.TXT", "Brantvell_261130.TXT", "Brantvell_261207.TXT",
       "Brantvell_261208.TXT", "Brantvell_251231.TXT"});
  EXPECT_TRUE(log_->DeleteOldLogs(7, 0));
  EXPECT_FALSE(Exists("Brantvell_261129.TXT"));
  EXPECT_FALSE(Exists("Brantvell_251231.TXT"));
  EXPECT_TRUE(Exists("Brantvell_261130.TXT"));
  EXPECT_TRUE(Exists("Brantvell_261207.TXT"));
  EXPECT_TRUE(Exists("Brantvell_261208.TXT"));
}

TEST_F(DeleteOldLogsTest, ZeroDaysKeepsTodayAndNegativeDaysReachAhead) {
  Add({"Brantvell_261206.TXT", "Brantvell_261207.TXT", "Brantvell_261208.TXT",
       "Brantvell_261209.TXT"});
  log_->DeleteOldLogs(0, 0);
  EXPECT_FALSE(Exists("Brantvell_261206.TXT"));
  EXPECT_TRUE(Exists("Brantvell_261207.TXT"));
  log_->DeleteOldLogs(-2, 0);  // limit 9 December: strictly earlier dates go
  EXPECT_FALSE(Exists("Brantvell_261207.TXT"));
  EXPECT_FALSE(Exists("Brantvell_261208.TXT"));
  EXPECT_TRUE(Exists("Brantvell_261209.TXT"));
}

TEST_F(DeleteOldLogsTest, YearIsOfThisCentury) {
  Add({"Brantvell_991231.TXT", "Brantvell_000101.TXT"});
  log_->DeleteOldLogs(7, 0);
  EXPECT_TRUE(Exists("Brantvell_991231.TXT"));
  EXPECT_FALSE(Exists("Brantvell_000101.TXT"));
}

TEST_F(DeleteOldLogsTest, MonthsAndDaysCarry) {
  // Day 0 of December is 30 November; month 13 of 2026 is January 2027;
  // month 0 of 2027 is December 2026.
  Add({"Brantvell_261200.TXT", "Brantvell_261301.TXT", "Brantvell_270015.TXT"});
  log_->DeleteOldLogs(7, 0);
  EXPECT_TRUE(Exists("Brantvell_261200.TXT"));
  log_->DeleteOldLogs(6, 0);
  EXPECT_FALSE(Exists("Brantvell_261200.TXT"));
  log_->DeleteOldLogs(-8, 0);  // limit 15 December
  EXPECT_TRUE(Exists("Brantvell_270015.TXT"));
  log_->DeleteOldLogs(-9, 0);
  EXPECT_FALSE(Exists("Brantvell_270015.TXT"));
  log_->DeleteOldLogs(-25, 0);  // limit 1 January 2027
  EXPECT_TRUE(Exists("Brantvell_261301.TXT"));
  log_->DeleteOldLogs(-26, 0);
  EXPECT_FALSE(Exists("Brantvell_261301.TXT"));
}

TEST_F(DeleteOldLogsTest, NamesOfEveryModeAndKindAreRecognised) {
  Add({"DEBUG_Brantvell_261101.TXT", "PERFORMANCE_II_Brantvell_261101.TXT", "_Brantvell_261101.TXT",
       "sys_brantvell_261101.txt", "USER_Brantvell_261101.TXT"});
  log_->DeleteOldLogs(7, 0);
  EXPECT_EQ(fakes_.files.deleted.size(), 5u);
}

TEST_F(DeleteOldLogsTest, OtherProgramsFilesStay) {
  const char* others[] = {"Brantvell.TXT",         // the undated log itself
                          "other_261101.TXT",      // another program's dated file
                          "setup_log_251231.txt",  //
                          "261101.TXT",            // no prefix, but ours has one
                          "FOO_Brantvell_261101.TXT",
                          "BrantvellX_261101.TXT",
                          "Brantvell_261101.LOG",  // another extension
                          "Brantvell_261101.TXT.bak",
                          "Brantvell_2611011.TXT",  // seven digits
                          "Brantvell_26110.TXT",    // five digits
                          "Brantvell_26110a.TXT",
                          "Brantvell_report.TXT",
                          "Brantvell_261101"};
  for (const char* name : others) Add({name});
  EXPECT_TRUE(log_->DeleteOldLogs(7, 0));
  EXPECT_TRUE(fakes_.files.deleted.empty());
  for (const char* name : others) EXPECT_TRUE(Exists(name)) << name;
}

TEST_F(DeleteOldLogsTest, WithoutPrefixTheNameStartsWithTheDateOrKind) {
  log_->SetFileNamePrefix("");
  Add({"261101.TXT", "SYS_261101.TXT", "other_261101.TXT", "Brantvell_261101.TXT"});
  log_->DeleteOldLogs(7, 0);
  EXPECT_FALSE(Exists("261101.TXT"));
  EXPECT_FALSE(Exists("SYS_261101.TXT"));
  EXPECT_TRUE(Exists("other_261101.TXT"));
  EXPECT_TRUE(Exists("Brantvell_261101.TXT"));
}

TEST_F(DeleteOldLogsTest, EmptyExtensionMeansTheNameEndsWithTheDate) {
  log_->SetFileNameExtension("");
  Add({"Brantvell_261101", "Brantvell_261101.TXT"});
  log_->DeleteOldLogs(7, 0);
  EXPECT_FALSE(Exists("Brantvell_261101"));
  EXPECT_TRUE(Exists("Brantvell_261101.TXT"));
}

// Our own dated names are deleted only where the date cut (after the last
// "_", at most as long as the position of the last ".") gives six characters.
TEST_F(DeleteOldLogsTest, OwnNamesGoOnlyWhereTheDateCutFindsSixCharacters) {
  struct {
    const char* prefix;
    const char* extension;
    const char* name;
    bool stays;
  } cases[] = {{"x.y", "", "x.y_261101", true},
               {"v1.2", "", "v1.2_261101", true},
               {"Brantvell", "T_X", "Brantvell_261101.T_X", true},
               {"v1.2", "TXT", "v1.2_261101.TXT", false}};
  for (const auto& c : cases) {
    log_->SetFileNamePrefix(c.prefix);
    log_->SetFileNameExtension(c.extension);
    Add({c.name});
    log_->DeleteOldLogs(7, 0);
    EXPECT_EQ(Exists(c.name), c.stays) << c.name;
  }
}

TEST_F(DeleteOldLogsTest, SubFoldersStay) {
  fakes_.files.AddFolder("C:\\Logs\\Brantvell_261101.TXT");
  Add({"Brantvell_261102.TXT"});
  log_->DeleteOldLogs(7, 0);
  EXPECT_TRUE(fakes_.files.folders.count("C:\\Logs\\Brantvell_261101.TXT"));
  EXPECT_EQ(fakes_.files.deleted, std::vector<std::string>{"C:\\Logs\\Brantvell_261102.TXT"});
}

TEST_F(DeleteOldLogsTest, UndeletableFileDoesNotStopTheScan) {
  Add({"Brantvell_261101.TXT", "Brantvell_261102.TXT", "Brantvell_261103.TXT"});
  fakes_.files.locked.insert("C:\\Logs\\Brantvell_261102.TXT");
  EXPECT_TRUE(log_->DeleteOldLogs(7, 0));
  EXPECT_FALSE(Exists("Brantvell_261101.TXT"));
  EXPECT_TRUE(Exists("Brantvell_261102.TXT"));
  EXPECT_FALSE(Exists("Brantvell_261103.TXT"));
}

TEST_F(DeleteOldLogsTest, MissingFolderDeletesNothing) {
  log_->SetDirectory("C:\\Nowhere");
  Add({"Brantvell_261101.TXT"});
  EXPECT_TRUE(log_->DeleteOldLogs(7, 0));
  EXPECT_TRUE(fakes_.files.deleted.empty());
}

TEST_F(DeleteOldLogsTest, KindArgumentDoesNotMatter) {
  Add({"DEBUG_Brantvell_261101.TXT", "USER_Brantvell_261101.TXT"});
  log_->DeleteOldLogs(7, 5);
  EXPECT_EQ(fakes_.files.deleted.size(), 2u);
}

}  // namespace
}  // namespace brantvell

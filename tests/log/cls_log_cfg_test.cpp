#include "log/cls_log_cfg.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "log/mdl_path_sup.h"
#include "tests/support/fake_services.h"

namespace brantvell {
namespace {

constexpr char kIni[] = "C:\\App\\log.ini";
constexpr int32_t kNotSet = -1;

class LogCfgTest : public ::testing::Test {
 protected:
  LogCfgTest() : cfg_(&profile_, &files_) {
    files_.AddFolder("C:\\App");
    cfg_.SetINIFile(kIni);
  }

  void Set(const std::string& section, const std::string& key, const std::string& value) {
    profile_.Set(kIni, section, key, value);
  }
  // The debug state a value of the component's own DebugLog key gives, or
  // -1 when the value says nothing (the caller's -1 comes back).
  int32_t DebugStateOf(const std::string& value) {
    Set("Brantvell", "DebugLog", value);
    return cfg_.GetSetting(3, kNotSet, "Brantvell");
  }

  FakeProfileReader profile_;
  FakeFileSystem files_;
  clsLogCfg cfg_;
};

TEST_F(LogCfgTest, SingleWords) {
  EXPECT_EQ(DebugStateOf("MSGBOX"), 3);
  for (const char* on : {"TRUE", "FILE", "1", "ENABLE", "ON"}) EXPECT_EQ(DebugStateOf(on), 1) << on;
  for (const char* off : {"FALSE", "NONE", "DISABLE", "OFF"})
    EXPECT_EQ(DebugStateOf(off), 0) << off;
  EXPECT_EQ(DebugStateOf("YES"), kNotSet);
  EXPECT_EQ(DebugStateOf("2"), kNotSet);
}

TEST_F(LogCfgTest, WordsMatchWithoutRegardToCase) {
  EXPECT_EQ(DebugStateOf("off"), 0);
  EXPECT_EQ(DebugStateOf("File"), 1);
  EXPECT_EQ(DebugStateOf("msgbox,Off"), 2);
}

TEST_F(LogCfgTest, CommaListsAddBits) {
  EXPECT_EQ(DebugStateOf("MSGBOX,OFF"), 2);
  EXPECT_EQ(DebugStateOf("ON,ON"), 3);
  EXPECT_EQ(DebugStateOf("1,1"), 3);
  EXPECT_EQ(DebugStateOf("FILE,TRUE"), 3);
  EXPECT_EQ(DebugStateOf("TRUE,FILE"), 1);
  EXPECT_EQ(DebugStateOf(",ON"), 2);  // an empty first item still counts as item 0
  EXPECT_EQ(DebugStateOf("MSGBOX,FILE,"), 3);
}

TEST_F(LogCfgTest, CommaListsThatAddNothingAreNotSet) {
  EXPECT_EQ(DebugStateOf("OFF,OFF"), kNotSet);
  EXPECT_EQ(DebugStateOf(","), kNotSet);
  EXPECT_EQ(DebugStateOf("YES,NO"), kNotSet);
}

TEST_F(LogCfgTest, BlanksInsideListsAreKept) {
  EXPECT_EQ(DebugStateOf("FILE, MSGBOX"), 1);
  // The platform's reader trims only the ends, so neither item matches.
  EXPECT_EQ(DebugStateOf("FILE , MSGBOX"), kNotSet);
}

TEST_F(LogCfgTest, ComponentDefaultKeyStandsInForAMissingKindKey) {
  Set("Brantvell", "default", "OFF");
  Set("Default", "DebugLog", "FILE");
  EXPECT_EQ(cfg_.GetSetting(3, 3, "Brantvell"), 0);
}

TEST_F(LogCfgTest, UnknownWordSkipsTheComponentDefaultKey) {
  Set("Brantvell", "DebugLog", "YES");
  Set("Brantvell", "default", "FILE");
  EXPECT_EQ(cfg_.GetSetting(3, 2, "Brantvell"), 2);  // nothing in [Default]: caller's value
  Set("Default", "DebugLog", "MSGBOX");
  EXPECT_EQ(cfg_.GetSetting(3, 2, "Brantvell"), 3);
}

TEST_F(LogCfgTest, LookUpOrder) {
  // [C] K, [C] default, [Default] K, [Default] default: each source is
  // removed in turn to reveal the next one.
  Set("Brantvell", "InfoLog", "MSGBOX");
  Set("Brantvell", "default", "MSGBOX,OFF");
  Set("Default", "InfoLog", "OFF");
  Set("Default", "default", "FILE");
  EXPECT_EQ(cfg_.GetSetting(0, kNotSet, "Brantvell"), 3);
  Set("Brantvell", "InfoLog", "");
  EXPECT_EQ(cfg_.GetSetting(0, kNotSet, "Brantvell"), 2);
  Set("Brantvell", "default", "");
  EXPECT_EQ(cfg_.GetSetting(0, kNotSet, "Brantvell"), 0);
  Set("Default", "InfoLog", "");
  EXPECT_EQ(cfg_.GetSetting(0, kNotSet, "Brantvell"), 1);
  Set("Default", "default", "");
  EXPECT_EQ(cfg_.GetSetting(0, kNotSet, "Brantvell"), kNotSet);
}

TEST_F(LogCfgTest, EachKindReadsItsOwnKey) {
  const char* keys[] = {"InfoLog", "SysLog",  "ERRLOG",   "DebugLog", "Post",
                        "Perf_I",  "Perf_II", "Perf_III", "Perf_SQL"};
  for (int32_t kind = 0; kind < 9; ++kind) {
    Set("Default", keys[kind], kind % 2 ? "MSGBOX" : "OFF");
  }
  for (int32_t kind = 0; kind < 9; ++kind)
    EXPECT_EQ(cfg_.GetSetting(kind, kNotSet, "Any"), kind % 2 ? 3 : 0) << kind;
}

TEST_F(LogCfgTest, KindOutsideTheTableReadsTheDefaultKey) {
  Set("Default", "default", "MSGBOX");
  EXPECT_EQ(cfg_.GetSetting(9, kNotSet, ""), 3);
  EXPECT_EQ(cfg_.GetSetting(-5, kNotSet, "Brantvell"), 3);
}

TEST_F(LogCfgTest, NamedComponentKeepsItsValueEvenWithMarkerFiles) {
  files_.AddFile("C:\\App\\debugon");
  EXPECT_EQ(cfg_.GetSetting(3, 2, "Brantvell"), 2);
  EXPECT_EQ(cfg_.GetSetting(3, 0, "Brantvell"), 0);
}

TEST_F(LogCfgTest, MarkerFilesBesideTheIniSwitchTheUnnamedComponent) {
  EXPECT_EQ(cfg_.GetSetting(3, 2, ""), 0);
  EXPECT_EQ(cfg_.GetSetting(5, 2, ""), 0);
  EXPECT_EQ(cfg_.GetSetting(8, 2, ""), 0);
  files_.AddFile("C:\\App\\debugon");
  EXPECT_EQ(cfg_.GetSetting(3, 2, ""), 1);
  EXPECT_EQ(cfg_.GetSetting(5, 2, ""), 0);
  files_.AddFile("C:\\App\\performanceon");
  for (int32_t kind : {5, 6, 7}) EXPECT_EQ(cfg_.GetSetting(kind, 2, ""), 1) << kind;
  EXPECT_EQ(cfg_.GetSetting(8, 2, ""), 0);
  files_.AddFile("C:\\App\\performanceSQLon");
  EXPECT_EQ(cfg_.GetSetting(8, 2, ""), 1);
}

TEST_F(LogCfgTest, MarkerLookUpOnADriveThatIsNotThereMeansFileOutput) {
  cfg_.SetINIFile("Q:\\App\\log.ini");
  EXPECT_EQ(cfg_.GetSetting(3, 0, ""), 1);
  EXPECT_EQ(cfg_.GetSetting(8, 0, ""), 1);
}

TEST_F(LogCfgTest, KindsWithoutMarkerFileAreOnForTheUnnamedComponent) {
  for (int32_t kind : {0, 1, 2, 4, 9}) {
    EXPECT_EQ(cfg_.GetSetting(kind, 0, ""), 1) << kind;
  }
  EXPECT_EQ(files_.exists_calls, 0);
}

TEST_F(LogCfgTest, IniBeatsMarkerFiles) {
  files_.AddFile("C:\\App\\debugon");
  Set("Default", "DebugLog", "OFF");
  EXPECT_EQ(cfg_.GetSetting(3, 1, ""), 0);
}

TEST_F(LogCfgTest, WithoutIniFileNothingIsReadAndMarkersAreInTheCurrentFolder) {
  clsLogCfg fresh(&profile_, &files_);
  Set("Default", "DebugLog", "MSGBOX");
  files_.AddFile(".\\debugon");
  EXPECT_EQ(fresh.GetSetting(3, 0, ""), 1);
  EXPECT_EQ(fresh.GetSetting(3, 2, "Brantvell"), 2);
  EXPECT_EQ(profile_.reads, 0);
  EXPECT_EQ(fresh.INIFile(), "");
}

TEST_F(LogCfgTest, IniFileIsReadAgainOnEveryQuestion) {
  Set("Default", "DebugLog", "FILE");
  EXPECT_EQ(cfg_.GetSetting(3, 0, ""), 1);
  Set("Default", "DebugLog", "OFF");
  EXPECT_EQ(cfg_.GetSetting(3, 1, ""), 0);
}

struct ThrowingFileSystem : FakeFileSystem {
  bool FileExists(const std::string&) override { throw std::runtime_error("drive not ready"); }
};

struct ThrowingProfileReader : FakeProfileReader {
  std::string Read(const std::string&, const std::string&, const std::string&) override {
    throw std::runtime_error("cannot read");
  }
};

TEST(LogCfgFailureTest, FailingMarkerLookUpMeansFileOutput) {
  FakeProfileReader profile;
  ThrowingFileSystem files;
  clsLogCfg cfg(&profile, &files);
  cfg.SetINIFile("Q:\\gone\\log.ini");
  EXPECT_EQ(cfg.GetSetting(3, 0, ""), 1);
}

TEST(LogCfgFailureTest, FailingIniReadCountsAsNotSet) {
  ThrowingProfileReader profile;
  FakeFileSystem files;
  files.AddFolder("C:\\App");
  clsLogCfg cfg(&profile, &files);
  cfg.SetINIFile("C:\\App\\log.ini");
  EXPECT_EQ(cfg.GetSetting(3, 2, "Brantvell"), 2);
  EXPECT_EQ(cfg.GetSetting(3, 2, ""), 0);  // then the marker file decides
}

TEST(GetParentFolderTest, FolderWithItsBackslash) {
  EXPECT_EQ(GetParentFolder("C:\\App\\log.ini"), "C:\\App\\");
  EXPECT_EQ(GetParentFolder("C:\\log.ini"), "C:\\");
  EXPECT_EQ(GetParentFolder("\\\\server\\share\\x"), "\\\\server\\share\\");
  EXPECT_EQ(GetParentFolder("C:\\App\\"), "C:\\App\\");
}

TEST(GetParentFolderTest, CurrentFolderWithoutBackslash) {
  EXPECT_EQ(GetParentFolder("log.ini"), ".\\");
  EXPECT_EQ(GetParentFolder(""), ".\\");
  EXPECT_EQ(GetParentFolder("C:/App/log.ini"), ".\\");
}

}  // namespace
}  // namespace brantvell

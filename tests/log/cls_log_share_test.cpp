#include "log/cls_log_share.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "tests/support/log_test_support.h"

namespace brantvell {
namespace {

// ---- Properties and file names ---------------------------------------------

TEST_F(WriterTest, StartsWithItsDocumentedSettings) {
  EXPECT_EQ(log_->Name(), "clsLogShare");
  EXPECT_EQ(log_->FileNameMode(), 3);
  EXPECT_EQ(log_->FileNameExtension(), "TXT");
  EXPECT_EQ(log_->FileNamePrefix(), "");
  EXPECT_EQ(log_->Directory(), "");
  ASSERT_EQ(log_->Components().size(), 1u);
  EXPECT_EQ(log_->Components()[0].Name, "");
  // No INI file and no marker files: all but the debug and performance kinds.
  std::array<int32_t, 9> expected{1, 1, 1, 0, 1, 0, 0, 0, 0};
  EXPECT_EQ(log_->Components()[0].States, expected);
}

TEST_F(WriterTest, DirectoryAlwaysEndsWithABackslash) {
  log_->SetDirectory("C:\\Temp");
  EXPECT_EQ(log_->Directory(), "C:\\Temp\\");
  log_->SetDirectory("C:\\Temp\\");
  EXPECT_EQ(log_->Directory(), "C:\\Temp\\");
  log_->SetDirectory("");
  EXPECT_EQ(log_->Directory(), ".\\");
  log_->SetDirectory("/tmp/x");
  EXPECT_EQ(log_->Directory(), "/tmp/x\\");
}

TEST_F(WriterTest, FileNameModes) {
  struct Case {
    int32_t mode;
    const char* prefix;
    const char* expected;
  } cases[] = {
      {0, "Brantvell", "C:\\Logs\\Brantvell.TXT"},
      {0, "", "C:\\Logs\\.TXT"},
      {1, "Brantvell", "C:\\Logs\\Brantvell_261207.TXT"},
      {1, "", "C:\\Logs\\261207.TXT"},
      {2, "Brantvell", "C:\\Logs\\DEBUG_Brantvell.TXT"},
      {2, "", "C:\\Logs\\DEBUG.TXT"},
      {3, "Brantvell", "C:\\Logs\\DEBUG_Brantvell_261207.TXT"},
      {3, "", "C:\\Logs\\DEBUG_261207.TXT"},
  };
  log_->SetDirectory("C:\\Logs");
  for (const Case& c : cases) {
    log_->SetFileNameMode(c.mode);
    log_->SetFileNamePrefix(c.prefix);
    EXPECT_EQ(log_->GetLogFileName(3), c.expected) << c.mode << " " << c.prefix;
  }
}

TEST_F(WriterTest, FileNameKindParts) {
  log_->SetDirectory("C:\\Logs");
  log_->SetFileNameMode(2);
  const char* parts[] = {"USER",           "SYS",          "SYS",        "DEBUG", "", "PERFORMANCE",
                         "PERFORMANCE_II", "PERFORMANCES", "PERFORMANCE"};
  for (int32_t kind = 0; kind < 9; ++kind)
    EXPECT_EQ(log_->GetLogFileName(kind), std::string("C:\\Logs\\") + parts[kind] + ".TXT");
  EXPECT_EQ(log_->GetLogFileName(9), "C:\\Logs\\.TXT");
  log_->SetFileNamePrefix("P");
  EXPECT_EQ(log_->GetLogFileName(4), "C:\\Logs\\_P.TXT");
}

TEST_F(WriterTest, ProgramSettingsGiveOneFileForEveryKind) {
  UseOneFile();
  for (int32_t kind = -1; kind <= 9; ++kind)
    EXPECT_EQ(log_->GetLogFileName(kind), "C:\\Logs\\Brantvell.TXT") << kind;
}

TEST_F(WriterTest, FileNameWithoutExtension) {
  log_->SetDirectory("C:\\Logs");
  log_->SetFileNameExtension("");
  log_->SetFileNamePrefix("B");
  log_->SetFileNameMode(1);
  EXPECT_EQ(log_->GetLogFileName(0), "C:\\Logs\\B_261207");
  log_->SetFileNamePrefix("");
  log_->SetFileNameMode(0);
  EXPECT_EQ(log_->GetLogFileName(0), "C:\\Logs\\");
}

TEST_F(WriterTest, DateIsTakenForEveryName) {
  log_->SetDirectory("C:\\Logs");
  log_->SetFileNameMode(1);
  fakes_.clock.now = {2027, 3, 5, 0, 0, 1};
  EXPECT_EQ(log_->GetLogFileName(0), "C:\\Logs\\270305.TXT");
  fakes_.clock.now = {2030, 11, 30, 23, 59, 59};
  EXPECT_EQ(log_->GetLogFileName(0), "C:\\Logs\\301130.TXT");
}

// ---- Record lines ----------------------------------------------------------

TEST_F(WriterTest, RecordLineOfEveryKind) {
  UseOneFile();
  log_->SetEnable(-1, "", 1);
  counter_.now = 5000000 + 1234567;  // 1.234567 s after construction
  const char* prefixes[] = {"InfoLog:  ", "SysLog:   ", "#ERRLOG#: ", "DebugLog: ", "",
                            "Perf_I:   ", "Perf_II:  ", "Perf_III: ", "Perf_SQL: "};
  for (int32_t kind = 0; kind < 9; ++kind) {
    OneFile().clear();
    ASSERT_TRUE(log_->SetEvent("text", kind, 0)) << kind;
    std::string elapsed = kind >= 5 ? " \"Timestamp=0:00:01.234567\"  " : "";
    EXPECT_EQ(OneFile(), prefixes[kind] + std::string(kStamp) + elapsed + "\ttext\r\n") << kind;
  }
}

TEST_F(WriterTest, RecordLineUsesTheLocaleSeparators) {
  UseOneFile();
  log_->SetEnable(-1, "", 1);
  fakes_.clock.separators = {".", "-", ","};
  fakes_.clock.now = {2027, 1, 2, 3, 4, 5};
  counter_.now = 5000000 + 3725500000LL;
  ASSERT_TRUE(log_->SetEvent("x", 5, 0));
  EXPECT_EQ(OneFile(), "Perf_I:   2027.01.02 03-04-05 \"Timestamp=1:02:05,500000\"  \tx\r\n");
}

// Every line that does not start a record starts with two TABs, and no
// control character but TAB reaches the file: a text cannot forge a record
// or steer the terminal that shows the log.
TEST_F(WriterTest, TextCannotLeaveItsRecord) {
  const std::string record = "InfoLog:  " + std::string(kStamp) + "\t";
  const struct {
    const char* text;
    const char* written;
  } cases[] = {
      {"one\ntwo\r\nthree", "one\n\t\ttwo\r\n\t\tthree"},
      {"a\rDebugLog: 2026/01/01 00:00:00\tEND", "a\r\t\tDebugLog: 2026/01/01 00:00:00\tEND"},
      {"end\r", "end\r\t\t"},
      {"\x1b[2J\x07x\x7f", "\xEF\xBF\xBD[2J\xEF\xBF\xBDx\xEF\xBF\xBD"},
      {"c1 \xC2\x9B"
       "31m \xC2\xA0",
       "c1 \xEF\xBF\xBD"
       "31m \xC2\xA0"},
      {"tab\tstays", "tab\tstays"},
  };
  for (const auto& c : cases) {
    UseOneFile();
    OneFile().clear();
    ASSERT_TRUE(log_->SetEvent(c.text, 0, 0));
    EXPECT_EQ(OneFile(), record + c.written + "\r\n") << c.text;
  }
}

TEST_F(WriterTest, RecordsAreAppended) {
  UseOneFile();
  OneFile() = "old\r\n";
  ASSERT_TRUE(log_->SetEvent("a", 0, 0));
  ASSERT_TRUE(log_->SetEvent("b", 1, 0));
  EXPECT_EQ(OneFile(), "old\r\nInfoLog:  " + std::string(kStamp) +
                           "\ta\r\nSysLog:   " + std::string(kStamp) + "\tb\r\n");
  EXPECT_EQ(fakes_.files.append_calls, 2);
}

// ---- SetEvent --------------------------------------------------------------

TEST_F(WriterTest, KindThatIsOffWritesNothingAndSucceeds) {
  UseOneFile();
  log_->SetEnable(0, "", 0);
  EXPECT_TRUE(log_->SetEvent("x", 0, 0));
  EXPECT_EQ(fakes_.files.append_calls, 0);
  EXPECT_TRUE(fakes_.message_box.shown.empty());
}

// A writer says a record may be written exactly when SetEvent writes or
// shows it; an id or kind it does not know is left to SetEvent to refuse.
TEST_F(WriterTest, MayWriteIsFalseOnlyForAKindThatIsOff) {
  UseOneFile();
  for (int32_t state : {0, 1, 2, 3}) {
    SCOPED_TRACE(state);
    log_->SetEnable(3, "", state);
    const bool may = log_->MayWrite(3, 0);
    fakes_.files.append_calls = 0;
    fakes_.message_box.shown.clear();
    EXPECT_TRUE(log_->SetEvent("x", 3, 0) || state != 0);
    EXPECT_EQ(may, fakes_.files.append_calls > 0 || !fakes_.message_box.shown.empty());
  }
  EXPECT_TRUE(log_->MayWrite(3, 7));
  EXPECT_TRUE(log_->MayWrite(-1, 0));
  EXPECT_TRUE(log_->MayWrite(9, 0));
}

TEST_F(WriterTest, InvalidArgumentsWriteNothing) {
  UseOneFile();
  log_->SetEnable(-1, "", 3);
  EXPECT_FALSE(log_->SetEvent("x", 0, 1));  // no such component
  EXPECT_FALSE(log_->SetEvent("x", 0, -1));
  EXPECT_FALSE(log_->SetEvent("x", -1, 0));
  EXPECT_FALSE(log_->SetEvent("x", 9, 0));
  EXPECT_EQ(fakes_.files.append_calls, 0);
  EXPECT_TRUE(fakes_.message_box.shown.empty());
}

TEST_F(WriterTest, FailedAppendIsReportedAndTheNextRecordTriesAgain) {
  log_->SetDirectory("C:\\Missing");
  log_->SetFileNameMode(0);
  EXPECT_FALSE(log_->SetEvent("lost", 0, 0));
  EXPECT_EQ(fakes_.files.folders.count("C:\\Missing"), 0u);
  fakes_.files.AddFolder("C:\\Missing");
  EXPECT_TRUE(log_->SetEvent("kept", 0, 0));
  EXPECT_EQ(fakes_.files.files["C:\\Missing\\.TXT"],
            "InfoLog:  " + std::string(kStamp) + "\tkept\r\n");
}

TEST_F(WriterTest, DebugCopyWhenTheKindIsInTheFileName) {
  log_->SetDirectory("C:\\Logs");
  log_->SetFileNameMode(2);
  log_->SetEnable(3, "", 1);
  ASSERT_TRUE(log_->SetEvent("event", 0, 0));
  std::string line = "InfoLog:  " + std::string(kStamp) + "\tevent\r\n";
  EXPECT_EQ(File("USER.TXT"), line);
  EXPECT_EQ(File("DEBUG.TXT"), line);
  // A debug record is never copied onto itself.
  ASSERT_TRUE(log_->SetEvent("debug", 3, 0));
  EXPECT_EQ(File("DEBUG.TXT"), line + "DebugLog: " + kStamp + "\tdebug\r\n");
}

TEST_F(WriterTest, NoDebugCopyWithoutTheKindInTheNameOrWithDebugOff) {
  UseOneFile();
  log_->SetEnable(3, "", 1);
  ASSERT_TRUE(log_->SetEvent("event", 0, 0));
  EXPECT_EQ(fakes_.files.append_calls, 1);
  log_->SetFileNameMode(2);
  log_->SetEnable(3, "", 2);  // message box only: no file bit for the copy
  ASSERT_TRUE(log_->SetEvent("event", 0, 0));
  EXPECT_EQ(fakes_.files.append_calls, 2);
}

TEST_F(WriterTest, DebugCopyDecidesTheResultWhenTheOwnFileFails) {
  log_->SetDirectory("C:\\Logs");
  log_->SetFileNameMode(2);
  log_->SetEnable(3, "", 1);
  fakes_.files.locked.insert("C:\\Logs\\USER.TXT");
  EXPECT_TRUE(log_->SetEvent("x", 0, 0));
  fakes_.files.locked = {"C:\\Logs\\DEBUG.TXT"};
  EXPECT_FALSE(log_->SetEvent("x", 0, 0));  // the last append counts
}

TEST_F(WriterTest, MessageBoxOnlyShowsTheLineAndAnswersFalse) {
  UseOneFile();
  log_->SetEnable(1, "", 2);
  EXPECT_FALSE(log_->SetEvent("a\nb", 1, 0));
  EXPECT_EQ(fakes_.files.append_calls, 0);
  ASSERT_EQ(fakes_.message_box.shown.size(), 1u);
  EXPECT_EQ(fakes_.message_box.shown[0].first, "SysLog:   " + std::string(kStamp) + "\ta\nb");
  EXPECT_EQ(fakes_.message_box.shown[0].second, "clsLogShare");
  EXPECT_EQ(log_->Enable(1, ""), 2);  // OK changes nothing
}

TEST_F(WriterTest, MessageBoxWithFileReportsTheAppend) {
  UseOneFile();
  log_->SetEnable(0, "", 3);
  EXPECT_TRUE(log_->SetEvent("x", 0, 0));
  EXPECT_EQ(fakes_.message_box.shown.size(), 1u);
  EXPECT_FALSE(OneFile().empty());
}

TEST_F(WriterTest, CancelOnTheDefaultComponentSwitchesEveryComponentToFile) {
  UseOneFile();
  int32_t a = log_->GetComponentId("A");
  log_->SetEnable(0, "", 2);
  fakes_.message_box.answers = {false};
  EXPECT_FALSE(log_->SetEvent("x", 0, 0));
  EXPECT_EQ(log_->Enable(0, ""), 1);
  EXPECT_EQ(log_->Components()[a].States[0], 1);
  EXPECT_TRUE(log_->SetEvent("y", 0, 0));
  EXPECT_EQ(fakes_.message_box.shown.size(), 1u);
}

TEST_F(WriterTest, CancelOnANamedComponentChangesOnlyThatComponent) {
  UseOneFile();
  log_->SetEnable(0, "", 3);
  int32_t a = log_->GetComponentId("A");
  int32_t b = log_->GetComponentId("B");
  fakes_.message_box.answers = {false};
  EXPECT_TRUE(log_->SetEvent("x", 0, b));
  EXPECT_EQ(log_->Components()[b].States[0], 1);
  EXPECT_EQ(log_->Components()[a].States[0], 3);
  EXPECT_EQ(log_->Components()[0].States[0], 3);
}

// ---- Component table -------------------------------------------------------

TEST_F(WriterTest, ComponentNamesMatchWithoutRegardToCase) {
  EXPECT_EQ(log_->GetComponentId(""), 0);
  EXPECT_EQ(log_->GetComponentId("Brantvell"), 1);
  EXPECT_EQ(log_->GetComponentId("BRANTVELL"), 1);
  EXPECT_EQ(log_->GetComponentId("Other"), 2);
  EXPECT_EQ(log_->GetComponentId("brantvell"), 1);
  ASSERT_EQ(log_->Components().size(), 3u);
  EXPECT_EQ(log_->Components()[1].Name, "Brantvell");
  EXPECT_EQ(log_->GetComponentId("ČÁST"), 3);
  EXPECT_EQ(log_->GetComponentId("část"), 3);
}

TEST_F(WriterTest, NewComponentCopiesTheDefaultThenTakesItsOwnSettings) {
  fakes_.profile.Set("C:\\App\\log.ini", "Brantvell", "SysLog", "MSGBOX");
  ASSERT_TRUE(log_->Init("C:\\App\\log.ini"));
  int32_t early = log_->GetComponentId("Early");
  log_->SetEnable(3, "", 1);
  log_->SetEnable(0, "", 0);
  int32_t id = log_->GetComponentId("Brantvell");
  const ComponentEntry& entry = log_->Components()[id];
  std::array<int32_t, 9> expected{0, 3, 1, 1, 1, 0, 0, 0, 0};
  EXPECT_EQ(entry.States, expected);
  EXPECT_EQ(entry.Name, "Brantvell");
  EXPECT_EQ(entry.PerfCount, 0);
  EXPECT_EQ(entry.PerfSlots.size(), 257u);
  // Registered before the change: got it directly.
  EXPECT_EQ(log_->Components()[early].States[3], 1);
  EXPECT_EQ(log_->Components()[early].States[0], 0);
}

class FailingLoadWriter : public clsLogShare {
 public:
  using clsLogShare::clsLogShare;
  std::string failing_name = "Broken";

 protected:
  bool LoadComponentSettings(ComponentEntry* entry) override {
    if (entry->Name == failing_name) return false;
    return clsLogShare::LoadComponentSettings(entry);
  }
};

TEST_F(WriterTest, FailedRegistrationIsRolledBack) {
  FailingLoadWriter writer(fakes_.Services());
  EXPECT_EQ(writer.GetComponentId("A"), 1);
  EXPECT_EQ(writer.GetComponentId("Broken"), -1);
  EXPECT_EQ(writer.Components().size(), 2u);
  EXPECT_EQ(writer.GetComponentId("B"), 2);
  EXPECT_EQ(writer.Components()[2].Name, "B");
  // Neither Enable let nor get can use the name.
  writer.SetEnable(-1, "Broken", 3);
  EXPECT_EQ(writer.Components().size(), 3u);
  try {
    writer.Enable(0, "Broken");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), kErrLogNoComponent);
  }
  // A failing reload makes Init answer False but keeps the other entries.
  writer.failing_name = "A";
  EXPECT_FALSE(writer.Init("C:\\App\\log.ini"));
  EXPECT_EQ(writer.Components().size(), 3u);
}

// ---- Enable ----------------------------------------------------------------

TEST_F(WriterTest, EnableLetChangesOneKindAllKindsOrNothing) {
  int32_t id = log_->GetComponentId("A");
  log_->SetEnable(-1, "A", 0);
  std::array<int32_t, 9> off{};
  EXPECT_EQ(log_->Components()[id].States, off);
  log_->SetEnable(5, "a", 3);
  EXPECT_EQ(log_->Enable(5, "A"), 3);
  auto before = log_->Components()[id].States;
  log_->SetEnable(9, "A", 1);
  log_->SetEnable(-2, "A", 1);
  EXPECT_EQ(log_->Components()[id].States, before);
  EXPECT_NE(log_->Components()[0].States, off);  // other components untouched
}

TEST_F(WriterTest, EnableLetWithEmptyNameChangesEveryComponent) {
  log_->GetComponentId("A");
  log_->GetComponentId("B");
  log_->SetEnable(7, "", 2);
  for (const ComponentEntry& entry : log_->Components()) EXPECT_EQ(entry.States[7], 2);
}

TEST_F(WriterTest, EnableLetAndGetRegisterNewNames) {
  log_->SetEnable(2, "New", 0);
  EXPECT_EQ(log_->Components().size(), 2u);
  EXPECT_EQ(log_->Enable(2, "NEW"), 0);
  EXPECT_EQ(log_->Enable(1, "Newer"), 1);
  EXPECT_EQ(log_->Components().size(), 3u);
}

TEST_F(WriterTest, EnableGetErrors) {
  log_->GetComponentId("A");
  auto number_of = [&](int32_t kind, const std::string& name) {
    try {
      log_->Enable(kind, name);
    } catch (const Error& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(number_of(-1, "A"), kErrLogAllKinds);
  EXPECT_EQ(number_of(-1, ""), static_cast<int32_t>(0x80041802u));
  EXPECT_EQ(number_of(9, "A"), kErrSubscriptOutOfRange);
  EXPECT_EQ(number_of(-2, ""), 9);
  EXPECT_EQ(number_of(8, "A"), 0);
}

// ---- Init ------------------------------------------------------------------

TEST_F(WriterTest, InitReloadsEveryComponentAndDropsTimers) {
  int32_t id = log_->GetComponentId("Brantvell");
  log_->SetEnable(-1, "", 1);
  ASSERT_TRUE(log_->StartPerf("T", "d", 0, id));
  fakes_.profile.Set("C:\\App\\log.ini", "Default", "default", "OFF");
  fakes_.profile.Set("C:\\App\\log.ini", "Brantvell", "InfoLog", "MSGBOX");
  EXPECT_TRUE(log_->Init("C:\\App\\log.ini"));
  std::array<int32_t, 9> off{};
  EXPECT_EQ(log_->Components()[0].States, off);
  EXPECT_EQ(log_->Components()[id].States[0], 3);
  EXPECT_EQ(log_->Components()[id].States[1], 0);
  EXPECT_EQ(log_->Components()[id].PerfCount, 0);
  EXPECT_FALSE(log_->IsPerfOpen("T", id));
}

TEST_F(WriterTest, ProgramSetUpSequence) {
  fakes_.files.AddFolder("C:\\Temp");
  log_->SetDirectory("C:\\Temp");
  log_->SetFileNamePrefix("Brantvell");
  log_->SetFileNameMode(0);
  ASSERT_TRUE(log_->Init("C:\\App\\log.ini"));
  log_->SetEnable(3, "", 1);
  int32_t id = log_->GetComponentId("Brantvell");
  ASSERT_EQ(id, 1);
  EXPECT_TRUE(log_->SetEvent("Brantvell[mdlMain] (Main)\tSTART", 3, id));
  EXPECT_EQ(fakes_.files.files["C:\\Temp\\Brantvell.TXT"],
            "DebugLog: " + std::string(kStamp) + "\tBrantvell[mdlMain] (Main)\tSTART\r\n");
}

}  // namespace
}  // namespace brantvell

#include "log/mdl_log.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/error.h"
#include "platform/process.h"
#include "resources/version.h"
#include "tests/support/capture_log.h"

namespace brantvell {
namespace {

struct EventCall {
  std::string text;
  int32_t kind;
  int32_t component;
};

struct DebugCall {
  std::string text;
  Value params;
  int32_t component;
};

// A writer that records what the facade sends it.
class RecordingLog : public SettingsFreeLog {
 public:
  std::vector<std::string> component_names;
  std::vector<EventCall> events;
  std::vector<DebugCall> debugs;
  int32_t component_id = 7;
  bool result = true;
  bool fail = false;

  std::string Name() override { return "RecordingLog"; }
  int32_t Enable(int32_t, const std::string&) override { return 0; }
  bool SetEvent(const std::string& text, int32_t kind, int32_t component) override {
    if (fail) throw Error(91, "RecordingLog", "Object variable not set");
    events.push_back({text, kind, component});
    return result;
  }
  bool SetDebug(const std::string& text, const Value& params, int32_t component) override {
    if (fail) throw std::runtime_error("writer broken");
    debugs.push_back({text, params, component});
    return result;
  }
  bool StartPerf(const std::string&, const std::string&, int32_t, int32_t) override {
    return false;
  }
  bool StopPerf(const std::string&, int32_t) override { return false; }
  int32_t GetComponentId(const std::string& name) override {
    component_names.push_back(name);
    if (fail) throw Error(5, "RecordingLog", "Invalid procedure call or argument");
    return component_id;
  }
};

class FixedVersion : public Process {
 public:
  explicit FixedVersion(VersionInfo version) : version_(std::move(version)) {}
  std::string Environment(const std::string&) override { return ""; }
  std::string ProgramFolder() override { return ""; }
  std::string CommandText() override { return ""; }
  VersionInfo Version() override { return version_; }

 private:
  VersionInfo version_;
};

class MdlLogTest : public testing::Test {
 protected:
  void SetUp() override {
    LogInit(nullptr, "");
    LogUseProcess(&version_);
  }
  void TearDown() override {
    LogInit(nullptr, "");
    LogUseProcess(nullptr);
  }

  // Installs `log_` and forgets the version line it wrote.
  void Install(const std::string& component = "Brantvell") {
    ASSERT_TRUE(LogInit(log_, component));
    log_->events.clear();
  }

  FixedVersion version_{VersionInfo{1, 0, 17, ""}};
  std::shared_ptr<RecordingLog> log_ = std::make_shared<RecordingLog>();
};

TEST_F(MdlLogTest, NothingIsWrittenBeforeAWriterIsInstalled) {
  EXPECT_FALSE(LogReady());
  EXPECT_FALSE(LogEvent("[mdlMain] (Main)", "text", kDebugLog));
  EXPECT_FALSE(LogDebug("[mdlMain] (Main)", {Value::String("START")}));
  EXPECT_FALSE(LogDebugText("[mdlMain] (Main)", "START"));
  try {
    throw Error(9, "Brantvell", "Subscript out of range");
  } catch (...) {
    EXPECT_FALSE(LogError("[mdlMain] (Main)", "", ""));
  }
}

TEST_F(MdlLogTest, InitRegistersTheComponentAndWritesTheVersionLine) {
  EXPECT_TRUE(LogInit(log_, "Brantvell"));
  EXPECT_TRUE(LogReady());
  EXPECT_EQ(log_->component_names, std::vector<std::string>{"Brantvell"});
  ASSERT_EQ(log_->events.size(), 1u);
  EXPECT_EQ(log_->events[0].text, "Brantvell verze 1.0.17");
  EXPECT_EQ(log_->events[0].kind, kSysLog);
  EXPECT_EQ(log_->events[0].component, 7);
}

TEST_F(MdlLogTest, VersionLineCarriesTheCommentsWhenThereAreAny) {
  FixedVersion commented(VersionInfo{2, 10, 305, "zkušební verze"});
  LogUseProcess(&commented);
  EXPECT_TRUE(LogInit(log_, "Brantvell"));
  LogUseProcess(&version_);
  ASSERT_EQ(log_->events.size(), 1u);
  EXPECT_EQ(log_->events[0].text, "Brantvell verze 2.10.305 (zkušební verze)");
}

TEST_F(MdlLogTest, VersionLineOfTheRunningProgram) {
  LogUseProcess(nullptr);
  EXPECT_TRUE(LogInit(log_, "Brantvell"));
  ASSERT_EQ(log_->events.size(), 1u);
  EXPECT_EQ(log_->events[0].text, "Brantvell verze " + std::to_string(BRANTVELL_VERSION_MAJOR) +
                                      "." + std::to_string(BRANTVELL_VERSION_MINOR) + "." +
                                      std::to_string(BRANTVELL_VERSION_REVISION));
}

TEST_F(MdlLogTest, VersionLineOnlyWhenNoWriterWasInstalled) {
  auto second = std::make_shared<RecordingLog>();
  second->component_id = 3;
  EXPECT_TRUE(LogInit(log_, "Brantvell"));
  EXPECT_TRUE(LogInit(second, "Jiný"));
  EXPECT_EQ(log_->events.size(), 1u);
  EXPECT_TRUE(second->events.empty());
  EXPECT_EQ(second->component_names, std::vector<std::string>{"Jiný"});

  // The replacement gets the records, with its own component id and name.
  EXPECT_TRUE(LogEvent("[mdlMain] (Main)", "x", kInfoLog));
  ASSERT_EQ(second->events.size(), 1u);
  EXPECT_EQ(second->events[0].text, "Jiný[mdlMain] (Main)\tx");
  EXPECT_EQ(second->events[0].component, 3);
  EXPECT_EQ(log_->events.size(), 1u);

  // After an uninstall the next writer counts as the first again.
  EXPECT_FALSE(LogInit(nullptr, "Brantvell"));
  EXPECT_TRUE(LogInit(log_, "Brantvell"));
  EXPECT_EQ(log_->events.size(), 2u);
}

TEST_F(MdlLogTest, UninstalledFacadeTouchesNoWriter) {
  Install();
  EXPECT_FALSE(LogInit(nullptr, "Brantvell"));
  EXPECT_FALSE(LogReady());
  EXPECT_FALSE(LogEvent("[frmMain] (cmdOK_Click)", "EVENT USER", kInfoLog));
  EXPECT_FALSE(LogDebug("[frmMain] (cmdOK_Click)", {}));
  EXPECT_FALSE(LogDebugText("[frmMain] (cmdOK_Click)", "END"));
  EXPECT_FALSE(LogError("[frmMain] (cmdOK_Click)", "", ""));
  EXPECT_TRUE(log_->events.empty());
  EXPECT_TRUE(log_->debugs.empty());
}

TEST_F(MdlLogTest, EventTextIsNameTagTabText) {
  Install();
  EXPECT_TRUE(LogEvent("[frmMain] (Form_Show)", "EVENT FORM", kInfoLog));
  EXPECT_TRUE(LogEvent("[mdlMain] (Main)", "", kDebugLog));
  log_->result = false;
  EXPECT_FALSE(LogEvent("[mdlMain] (ArgParse)", "START: ", kDebugLog));
  ASSERT_EQ(log_->events.size(), 3u);
  EXPECT_EQ(log_->events[0].text, "Brantvell[frmMain] (Form_Show)\tEVENT FORM");
  EXPECT_EQ(log_->events[0].kind, kInfoLog);
  EXPECT_EQ(log_->events[1].text, "Brantvell[mdlMain] (Main)\t");
  EXPECT_EQ(log_->events[1].kind, kDebugLog);
  EXPECT_EQ(log_->events[2].component, 7);
}

TEST_F(MdlLogTest, DebugHandsTheValuesOverAsOneArray) {
  Install();
  EXPECT_TRUE(LogDebug("[frmMain] (SetImgChoice)", {Value::ByRef(Value::Long(2))}));
  EXPECT_TRUE(LogDebug("[mdlMain] (RefreshIcon)", {}));
  EXPECT_TRUE(LogDebugText("[mdlMain] (Main)", "START\t/action=cz"));
  ASSERT_EQ(log_->debugs.size(), 3u);

  EXPECT_EQ(log_->debugs[0].text, "Brantvell[frmMain] (SetImgChoice)\t");
  EXPECT_EQ(log_->debugs[0].params.type(), Value::kArray | Value::kVariant);
  ASSERT_EQ(log_->debugs[0].params.items().size(), 1u);
  EXPECT_EQ(log_->debugs[0].params.items()[0].inner().integer(), 2);
  EXPECT_EQ(log_->debugs[0].component, 7);

  EXPECT_EQ(log_->debugs[1].params.type(), Value::kArray | Value::kVariant);
  EXPECT_TRUE(log_->debugs[1].params.items().empty());

  ASSERT_EQ(log_->debugs[2].params.items().size(), 1u);
  EXPECT_EQ(log_->debugs[2].params.items()[0].type(), Value::kString);
  EXPECT_EQ(log_->debugs[2].params.items()[0].text(), "START\t/action=cz");
}

TEST_F(MdlLogTest, ErrorRecordCarriesTheErrorBeingHandled) {
  Install();
  try {
    throw Error(-2147024894, "[clsBrantvell] (GetShortCut)", "Soubor nebyl nalezen.");
  } catch (...) {
    EXPECT_TRUE(LogError("[mdlMain] (Main)", "", ""));
  }
  try {
    throw Error(5, "WshShell.RegRead", "Invalid procedure call");
  } catch (const Error&) {
    EXPECT_TRUE(LogError("[mdlMain] (ArgParse)", "nxt=12", "zbytek"));
  }
  ASSERT_EQ(log_->events.size(), 2u);
  EXPECT_EQ(log_->events[0].text,
            "Brantvell[mdlMain] (Main)\t\t-2147024894\t[clsBrantvell] (GetShortCut)\t"
            "Soubor nebyl nalezen.");
  EXPECT_EQ(log_->events[0].kind, kErrLog);
  EXPECT_EQ(log_->events[0].component, 7);
  EXPECT_EQ(log_->events[1].text,
            "Brantvell[mdlMain] (ArgParse)\tnxt=12\t5\tWshShell.RegRead\tInvalid procedure call\t"
            "zbytek");
}

TEST_F(MdlLogTest, OtherExceptionsCountAsErrorsOfTheProgram) {
  Install();
  try {
    throw std::runtime_error("vector too long");
  } catch (const std::exception&) {
    LogError("[mdlMain] (Main)", "", "");
  }
  try {
    throw 42;
  } catch (...) {
    LogError("[mdlMain] (Main)", "", "");
  }
  ASSERT_EQ(log_->events.size(), 2u);
  EXPECT_EQ(log_->events[0].text, "Brantvell[mdlMain] (Main)\t\t440\tBrantvell\tvector too long");
  EXPECT_EQ(log_->events[1].text, "Brantvell[mdlMain] (Main)\t\t440\tBrantvell\t");
}

TEST_F(MdlLogTest, ErrorOutsideAHandlerIsNumberZero) {
  Install();
  EXPECT_TRUE(LogError("[mdlMain] (Main)", "", ""));
  ASSERT_EQ(log_->events.size(), 1u);
  EXPECT_EQ(log_->events[0].text, "Brantvell[mdlMain] (Main)\t\t0\t\t");
}

TEST_F(MdlLogTest, EmptyComponentNameSendsBareTags) {
  Install("");
  EXPECT_EQ(log_->component_names, std::vector<std::string>{""});
  LogEvent("[mdlMain] (Main)", "INFO: ", kDebugLog);
  ASSERT_EQ(log_->events.size(), 1u);
  EXPECT_EQ(log_->events[0].text, "[mdlMain] (Main)\tINFO: ");
}

TEST_F(MdlLogTest, FailingWriterNeverReachesTheCaller) {
  log_->fail = true;
  // Registration fails: the writer is still installed, with component 0.
  EXPECT_TRUE(LogInit(log_, "Brantvell"));
  EXPECT_TRUE(LogReady());
  EXPECT_FALSE(LogEvent("[mdlMain] (Main)", "x", kDebugLog));
  EXPECT_FALSE(LogDebugText("[mdlMain] (Main)", "x"));
  EXPECT_FALSE(LogError("[mdlMain] (Main)", "", ""));
  log_->fail = false;
  EXPECT_TRUE(LogEvent("[mdlMain] (Main)", "x", kDebugLog));
  ASSERT_EQ(log_->events.size(), 1u);
  EXPECT_EQ(log_->events[0].component, 0);
}

}  // namespace
}  // namespace brantvell

#include "app/mdl_main.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "log/mdl_log.h"
#include "platform/error.h"
#include "platform/process.h"
#include "platform/run_lock.h"
#include "setup/string_table.h"
#include "tests/support/capture_log.h"
#include "tests/support/fake_script_host.h"
#include "tests/support/fake_services.h"
#include "tests/support/machine_paths.h"
#include "tests/support/scripted_dialog_view.h"

namespace brantvell {
namespace {

constexpr char kApp[] = "C:\\Veldramona";
constexpr char kLogFile[] = "C:\\Temp\\Brantvell.TXT";
constexpr char kCzWebSite[] = "www.veldramona-bank.example.url";
constexpr char kSkWebSite[] = "www.veldramona-bank-sk.example.url";

struct FakeProcess : Process {
  std::string command;
  std::map<std::string, std::string> variables{{"TEMP", "C:\\Temp"}};

  std::string Environment(const std::string& name) override {
    auto it = variables.find(name);
    return it == variables.end() ? "" : it->second;
  }
  std::string ProgramFolder() override { return "C:\\Program Files\\Brantvell"; }
  std::string CommandText() override { return command; }
  VersionInfo Version() override { return VersionInfo{1, 0, 17, ""}; }
};

// A machine lock that is free or held by another run for the whole wait.
struct FakeRunLock : RunLock {
  bool busy = false;
  bool held = false;
  int32_t waited_ms = -1;

  bool Acquire(int32_t wait_ms) override {
    waited_ms = wait_ms;
    held = !busy;
    return held;
  }
  void Release() override { held = false; }
};

class MainTest : public ::testing::Test {
 protected:
  MainTest() {
    host_.registry[kRegistryAppPath] = Value::String(kApp);
    host_.AddFolder(kApp);
    log_services_.files.AddFolder("C:\\Temp");
  }
  ~MainTest() override { LogInit(nullptr, ""); }

  int Run(const std::string& command) {
    process_.command = command;
    RunEnvironment env;
    env.process = &process_;
    env.script_host = &host_;
    env.strings = &StringTable::Real();
    env.make_path = [this](const std::string& path) { return host_.MakePath(path); };
    env.probe_folder = [this](const std::string& folder) { host_.ProbeFolder(folder); };
    env.message_box = &warnings_;
    env.log_services = log_services_.Services();
    env.dialog_views = ScriptedDialogs(answer_, &dialog_);
    env.run_lock = &lock_;
    env.notify_shell = [this] {
      ++refreshes_;
      locked_at_refresh_ = lock_.held;
      if (refresh_error_) throw *refresh_error_;
    };
    return Main(env);
  }

  // The records of the log file, each without its kind prefix and time.
  std::vector<std::string> Records() const {
    std::vector<std::string> records;
    auto file = log_services_.files.files.find(kLogFile);
    if (file == log_services_.files.files.end()) return records;
    size_t begin = 0;
    const std::string& text = file->second;
    while (begin < text.size()) {
      size_t end = text.find('\n', begin);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(begin, end - begin);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      size_t tab = line.find('\t');
      if (tab != std::string::npos) records.push_back(line.substr(tab + 1));
      begin = end + 1;
    }
    return records;
  }

  // Records whose text starts with `prefix`, with the prefix removed.
  std::vector<std::string> RecordsOf(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& record : Records()) {
      if (record.compare(0, prefix.size(), prefix) == 0)
        found.push_back(record.substr(prefix.size()));
    }
    return found;
  }

  std::vector<std::string> MainRecords() const { return RecordsOf("Brantvell[mdlMain] (Main)\t"); }

  // The setup operations that started, in order ("SetupMake 1", ...).
  std::vector<std::string> SetupStarts() const {
    std::vector<std::string> starts;
    for (const std::string& record : Records()) {
      for (const std::string op : {"SetupCheck", "SetupMake", "SetupClear"}) {
        const std::string prefix = "Brantvell[clsBrantvell] (" + op + ")\tSTART";
        if (record.compare(0, prefix.size(), prefix) != 0) continue;
        std::string argument = record.substr(prefix.size());
        starts.push_back(op + (argument.empty() ? "" : " " + argument.substr(1)));
      }
    }
    return starts;
  }

  int RefreshRecords() const {
    return static_cast<int>(RecordsOf("Brantvell[mdlMain] (RefreshIcon)\t").size());
  }

  bool MessageShown() const {
    return warnings_.shown == std::vector<std::pair<std::string, std::string>>{
                                  {"Aplikace Veldramona není nainstalována.", "Brantvell"}};
  }

  FakeScriptHost host_;
  FakeProcess process_;
  FakeMessageBox warnings_;
  FakeLogServices log_services_;
  std::vector<UserAction> answer_{PressOk()};
  ScriptedView::Observed dialog_;
  int refreshes_ = 0;
  std::optional<Error> refresh_error_;
  FakeRunLock lock_;
  bool locked_at_refresh_ = false;
};

TEST_F(MainTest, ClearRemovesShortcutsAndRefreshesOnce) {
  host_.AddFile(InGroup(kCzWebSite));
  host_.AddFile(std::string(kDesktop) + "\\Veldramona.lnk", /*read_only=*/true);

  EXPECT_EQ(0, Run("/action=CLEAR"));

  EXPECT_EQ(std::vector<std::string>{"SetupClear"}, SetupStarts());
  EXPECT_FALSE(host_.HasFile(InGroup(kCzWebSite)));
  EXPECT_FALSE(host_.HasFile(std::string(kDesktop) + "\\Veldramona.lnk"));
  EXPECT_FALSE(host_.HasFolder(kGroup));
  EXPECT_EQ(1, refreshes_);
  EXPECT_EQ(1, RefreshRecords());
  EXPECT_EQ(0, dialog_.creations);
  EXPECT_TRUE(warnings_.shown.empty());
  EXPECT_EQ((std::vector<std::string>{"START\t/action=CLEAR", "INFO\taction=0\toption=0", "END"}),
            MainRecords());
}

struct MakeCase {
  std::string command;
  int variant;
  std::vector<std::string> web_sites;  // files expected in the group
};

void PrintTo(const MakeCase& c, std::ostream* os) { *os << "[" << c.command << "]"; }

class MainMakeTest : public MainTest, public ::testing::WithParamInterface<MakeCase> {};

TEST_P(MainMakeTest, MakesNamedVariantWithoutDialog) {
  const MakeCase& c = GetParam();
  EXPECT_EQ(0, Run(c.command));

  const std::string n = std::to_string(c.variant);
  EXPECT_EQ((std::vector<std::string>{"SetupMake " + n, "SetupClear"}), SetupStarts());
  for (const std::string file : {kCzWebSite, kSkWebSite}) {
    bool expected = std::find(c.web_sites.begin(), c.web_sites.end(), file) != c.web_sites.end();
    EXPECT_EQ(expected, host_.HasFile(InGroup(file))) << file;
  }
  EXPECT_EQ(0, dialog_.creations);
  EXPECT_EQ(1, refreshes_);
  EXPECT_TRUE(warnings_.shown.empty());
  EXPECT_EQ((std::vector<std::string>{"START\t" + c.command, "INFO\taction=" + n + "\toption=" + n,
                                      "END"}),
            MainRecords());
}

INSTANTIATE_TEST_SUITE_P(Variants, MainMakeTest,
                         ::testing::Values(MakeCase{"/action=cz", 1, {kCzWebSite}},
                                           MakeCase{"/mode=q /action=SK", 2, {kSkWebSite}},
                                           MakeCase{"/action=CzSk", 3, {kCzWebSite, kSkWebSite}}));

class MainAskTest : public MainTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(MainAskTest, NoUsableActionAsksTheUser) {
  answer_ = {PressOk()};
  EXPECT_EQ(0, Run(GetParam()));

  // Nothing installed: the check reports CZ, which is greyed; SK is
  // selected and OK installs it.
  EXPECT_EQ((std::vector<std::string>{"SetupCheck", "SetupMake 2", "SetupClear"}), SetupStarts());
  EXPECT_EQ(1, dialog_.shows);
  EXPECT_EQ(1, dialog_.greyed_row);
  EXPECT_GT(dialog_.destructions, 0);
  EXPECT_TRUE(host_.HasFile(InGroup(kSkWebSite)));
  EXPECT_EQ(1, refreshes_);
  EXPECT_EQ("INFO\taction=-1\toption=0", MainRecords().at(1));
  EXPECT_EQ((std::vector<std::string>{"START\t1", "END\tRETURN=2"}),
            RecordsOf("Brantvell[mdlMain] (GetChoice)\t"));
}

INSTANTIATE_TEST_SUITE_P(Commands, MainAskTest,
                         ::testing::Values("", "   ", "/action=foo", "/action=", "/action cz",
                                           "/action=cz /action=sk", "/mode=q", "/mode=Q"));

TEST_F(MainTest, DialogStartsFromInstalledVariant) {
  host_.AddFile(InGroup(kSkWebSite));
  answer_ = {ClickLabel(1), PressOk()};
  EXPECT_EQ(0, Run(""));

  EXPECT_EQ(2, dialog_.greyed_row);
  EXPECT_EQ((std::vector<std::string>{"SetupCheck", "SetupMake 1", "SetupClear"}), SetupStarts());
  EXPECT_TRUE(host_.HasFile(InGroup(kCzWebSite)));
  EXPECT_FALSE(host_.HasFile(InGroup(kSkWebSite)));
}

TEST_F(MainTest, StornoAndCloseChangeNothing) {
  for (UserAction answer : {PressCancel(), CloseWindow()}) {
    SCOPED_TRACE(answer.kind);
    LogInit(nullptr, "");
    log_services_.files.files.clear();
    host_.AddFile(InGroup(kCzWebSite));
    answer_ = {ClickLabel(2), answer};
    dialog_ = ScriptedView::Observed();
    refreshes_ = 0;

    warnings_.nothing_chosen.clear();

    // Nothing chosen is not a finished install: an installer must tell.
    EXPECT_EQ(2, Run(""));
    EXPECT_EQ(std::vector<std::string>{"no action word was given"}, warnings_.nothing_chosen);
    EXPECT_EQ(std::vector<std::string>{"SetupCheck"}, SetupStarts());
    EXPECT_EQ(1, dialog_.shows);
    EXPECT_TRUE(host_.HasFile(InGroup(kCzWebSite)));
    EXPECT_EQ(0, refreshes_);
    EXPECT_EQ(0, RefreshRecords());
    EXPECT_TRUE(warnings_.shown.empty());
    EXPECT_EQ("END", MainRecords().back());
  }
}

struct NothingChosenCase {
  std::string command;
  std::string why;
};

class MainNothingChosenTest : public MainTest,
                              public ::testing::WithParamInterface<NothingChosenCase> {};

// The reason given where nobody could be asked names what the command line
// lacked; an OK in the same runs installs and says nothing.
TEST_P(MainNothingChosenTest, CancelExitsTwoAndSaysWhy) {
  answer_ = {PressCancel()};
  EXPECT_EQ(2, Run(GetParam().command));
  EXPECT_EQ(std::vector<std::string>{GetParam().why}, warnings_.nothing_chosen);
  EXPECT_FALSE(host_.HasFolder(kGroup));
  EXPECT_TRUE(warnings_.shown.empty());

  warnings_.nothing_chosen.clear();
  answer_ = {PressOk()};
  EXPECT_EQ(0, Run(GetParam().command));
  EXPECT_TRUE(warnings_.nothing_chosen.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, MainNothingChosenTest,
    ::testing::Values(
        NothingChosenCase{"/action=cz-sk /mode=q",
                          "the action word \"cz-sk\" was not understood (clear, cz, sk or czsk)"},
        NothingChosenCase{"/action=Bogus",
                          "the action word \"Bogus\" was not understood (clear, "
                          "cz, sk or czsk)"},
        NothingChosenCase{"", "no action word was given"},
        NothingChosenCase{"/?", "no action word was given"},
        NothingChosenCase{"/action=", "no action word was given"},
        NothingChosenCase{"/action=cz /action=sk", "/action was given more than once"}));

TEST_F(MainTest, TargetReplacesRegistryFolder) {
  host_.registry.clear();
  host_.AddFolder("D:\\My App");
  EXPECT_EQ(0, Run("/action=cz /target=\"D:\\My App\\\""));

  const FakeFile* app = host_.File(InGroup("Veldramona.lnk"));
  ASSERT_NE(nullptr, app);
  EXPECT_EQ("D:\\My App\\Loader.exe", app->target_path);
  EXPECT_EQ("D:\\My App", app->working_directory);
  EXPECT_TRUE(host_.CallsStartingWith("IWshShell3.RegRead").empty());
}

TEST_F(MainTest, TargetIsSetForClearToo) {
  host_.registry.clear();
  host_.AddFile(InGroup("Nápověda.lnk"));
  EXPECT_EQ(0, Run("/action=clear /target=D:\\App"));
  EXPECT_FALSE(host_.HasFile(InGroup("Nápověda.lnk")));
  EXPECT_TRUE(warnings_.shown.empty());
}

TEST_F(MainTest, TargetGivenTwiceIsIgnored) {
  EXPECT_EQ(0, Run("/action=cz /target=D:\\A /target=D:\\B"));
  const FakeFile* app = host_.File(InGroup("Veldramona.lnk"));
  ASSERT_NE(nullptr, app);
  EXPECT_EQ(std::string(kApp) + "\\Loader.exe", app->target_path);
}

struct FailureCase {
  const char* why;
  std::string command;
  bool message;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.why << ": [" << c.command << "]"; }

class MainFailureTest : public MainTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(MainFailureTest, MissingApplicationStopsTheRun) {
  const FailureCase& c = GetParam();
  host_.registry.clear();

  EXPECT_EQ(1, Run(c.command)) << c.why;

  EXPECT_EQ(c.message, MessageShown()) << c.why;
  if (!c.message) {
    EXPECT_TRUE(warnings_.shown.empty());
  }
  EXPECT_EQ(0, refreshes_);
  EXPECT_EQ(0, dialog_.creations);
  const std::vector<std::string> main = MainRecords();
  ASSERT_EQ(4u, main.size());
  EXPECT_EQ("\t-2147024894\tWshShell.RegRead\tUnable to open registry key \"" +
                std::string(kRegistryAppPath) + "\" for reading.",
            main[2]);
  EXPECT_EQ("END", main[3]);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, MainFailureTest,
    ::testing::Values(FailureCase{"make, not quiet", "/action=cz", true},
                      FailureCase{"make, quiet", "/action=cz /mode=q", false},
                      FailureCase{"make, quiet in capitals", "/MODE=Q /action=sk", false},
                      FailureCase{"quiet only when the value is q", "/action=cz /mode=quiet", true},
                      FailureCase{"quiet given twice counts as absent",
                                  "/action=cz /mode=q /mode=q", true},
                      FailureCase{"check before the dialog", "", true}));

TEST_F(MainTest, ClearWithoutApplicationFolderStillRemoves) {
  EXPECT_EQ(0, Run("/action=czsk /mode=q"));
  host_.registry.clear();
  EXPECT_EQ(0, Run("/action=clear /mode=q"));

  EXPECT_FALSE(host_.HasFolder(kGroup));
  EXPECT_EQ(2, refreshes_);
  EXPECT_TRUE(warnings_.shown.empty());
  EXPECT_EQ("END", MainRecords().back());
  EXPECT_TRUE(RecordsOf("#ERRLOG#").empty());

  // A make still needs the value.
  EXPECT_EQ(1, Run("/action=cz /mode=q"));
  EXPECT_FALSE(host_.HasFolder(kGroup));
}

TEST_F(MainTest, MissingApplicationFolderFailsBeforeTheDialog) {
  host_.registry[kRegistryAppPath] = Value::String("C:\\Nowhere");
  EXPECT_EQ(1, Run(""));

  EXPECT_EQ(0, dialog_.creations);
  EXPECT_EQ(std::vector<std::string>{"SetupCheck"}, SetupStarts());
  EXPECT_TRUE(MessageShown());
  const std::vector<std::string> main = MainRecords();
  ASSERT_EQ(4u, main.size());
  EXPECT_EQ(0u, main[2].find("\t76\t[clsBrantvell] (CheckFolders)\tCesta nebyla nalezena:"))
      << main[2];
}

TEST_F(MainTest, SaveFailureSkipsRefresh) {
  host_.member_failures.emplace("Save", Error(70, "ScriptHost", "Permission denied"));
  EXPECT_EQ(1, Run("/action=sk /mode=q"));

  EXPECT_EQ(0, refreshes_);
  EXPECT_EQ(0, RefreshRecords());
  EXPECT_TRUE(warnings_.shown.empty());
  EXPECT_EQ("\t70\tScriptHost\tPermission denied", MainRecords().at(2));
}

TEST_F(MainTest, RefreshFailureIsReported) {
  refresh_error_ = Error(-2147467259, "Shell", "Unspecified error");
  EXPECT_EQ(1, Run("/action=czsk"));

  EXPECT_EQ(1, refreshes_);
  EXPECT_TRUE(MessageShown());
  EXPECT_TRUE(host_.HasFile(InGroup(kSkWebSite)));
  EXPECT_EQ("\t-2147467259\tShell\tUnspecified error", MainRecords().at(2));
}

// The machine is held from before the check until after the refresh, and
// let go before the message waits for the user.
TEST_F(MainTest, HoldsTheMachineFromCheckToRefresh) {
  EXPECT_EQ(0, Run("/action=czsk"));
  EXPECT_EQ(60000, lock_.waited_ms);
  EXPECT_TRUE(locked_at_refresh_);
  EXPECT_FALSE(lock_.held);
  EXPECT_TRUE(host_.HasFile(InGroup(kSkWebSite)));
}

// A run that waited in vain for another changes nothing and says why.
TEST_F(MainTest, BusyMachineFailsWithoutTouchingShortcuts) {
  for (const char* command : {"/action=clear", "/action=cz /mode=q", ""}) {
    SCOPED_TRACE(command);
    host_.AddFile(InGroup(kCzWebSite));
    lock_.busy = true;
    warnings_.shown.clear();
    log_services_.files.files.erase(kLogFile);
    refreshes_ = 0;
    EXPECT_EQ(1, Run(command));

    EXPECT_TRUE(SetupStarts().empty());
    EXPECT_EQ(0, dialog_.creations);
    EXPECT_TRUE(host_.HasFile(InGroup(kCzWebSite)));
    EXPECT_FALSE(host_.HasFile(InGroup(kSkWebSite)));
    EXPECT_EQ(0, refreshes_);
    EXPECT_EQ(std::string(command).find("/mode=q") == std::string::npos, MessageShown());
    const std::vector<std::string> main = MainRecords();
    ASSERT_EQ(4u, main.size());
    EXPECT_EQ(
        "\t-2147024638\tBrantvell\tAnother run of Brantvell kept the shortcuts busy for the "
        "whole wait",
        main[2]);
    EXPECT_EQ("END", main[3]);
  }
}

TEST_F(MainTest, RecordsFollowTheRun) {
  EXPECT_EQ(0, Run("/action=cz"));
  const std::vector<std::string> records = Records();
  ASSERT_FALSE(records.empty());
  EXPECT_EQ("Brantvell verze 1.0.17", records.front());

  auto index_of = [&records](const std::string& prefix) {
    for (size_t i = 0; i < records.size(); ++i) {
      if (records[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
    }
    return -1;
  };
  const int start = index_of("Brantvell[mdlMain] (Main)\tSTART");
  const int parser = index_of("Brantvell[mdlMain] (GetParamInfoDat)");
  const int info = index_of("Brantvell[mdlMain] (Main)\tINFO");
  const int make = index_of("Brantvell[clsBrantvell] (SetupMake)");
  const int refresh = index_of("Brantvell[mdlMain] (RefreshIcon)");
  const int end = index_of("Brantvell[mdlMain] (Main)\tEND");
  EXPECT_LT(0, start);
  EXPECT_LT(start, parser);
  EXPECT_LT(parser, info);
  EXPECT_LT(info, make);
  EXPECT_LT(make, refresh);
  EXPECT_EQ(static_cast<int>(records.size()) - 1, end);
  EXPECT_LT(refresh, end);
}

TEST(GetChoiceTest, ReturnsChoiceAndUnloadsTheDialog) {
  ScopedCaptureLog log;
  ScriptedView::Observed seen;
  EXPECT_EQ(3, GetChoice(2, ScriptedDialogs({PressOk()}, &seen)));
  EXPECT_EQ(2, seen.greyed_row);
  EXPECT_GT(seen.destructions, 0);

  std::vector<CapturedRecord> own;
  for (const CapturedRecord& r : log->Records()) {
    if (r.text.find("[mdlMain]") != std::string::npos) own.push_back(r);
  }
  const std::vector<CapturedRecord> expected = {
      {kCapturedDebug, "Brantvell[mdlMain] (GetChoice)\t", {"START\t2"}},
      {kCapturedDebug, "Brantvell[mdlMain] (GetChoice)\t", {"END\tRETURN=3"}}};
  EXPECT_EQ(expected, own);
}

TEST(GetChoiceTest, BrokenWindowGivesNoChoice) {
  ScopedCaptureLog log;
  DialogWindowFactory broken = [](DialogWindowEvents&) -> std::unique_ptr<DialogWindow> {
    throw Error(7, "Brantvell", "Out of memory");
  };
  EXPECT_EQ(0, GetChoice(1, broken));

  std::vector<CapturedRecord> own;
  for (const CapturedRecord& r : log->Records()) {
    if (r.text.find("[mdlMain]") != std::string::npos) own.push_back(r);
  }
  const std::vector<CapturedRecord> expected = {
      {kCapturedDebug, "Brantvell[mdlMain] (GetChoice)\t", {"START\t1"}},
      {kCapturedDebug, "Brantvell[mdlMain] (GetChoice)\t", {"END\tRETURN=0"}}};
  EXPECT_EQ(expected, own);
}

TEST(RefreshIconTest, WritesBareRecordThenNotifies) {
  ScopedCaptureLog log;
  int notified = 0;
  size_t records_when_notified = 0;
  RefreshIcon([&] {
    ++notified;
    records_when_notified = log->Records().size();
  });
  EXPECT_EQ(1, notified);
  EXPECT_EQ(1u, records_when_notified);
  const std::vector<CapturedRecord> expected = {
      {kCapturedDebug, "Brantvell[mdlMain] (RefreshIcon)\t", {}}};
  EXPECT_EQ(expected, log->Records());
}

}  // namespace
}  // namespace brantvell

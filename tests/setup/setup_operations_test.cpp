#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/error.h"
#include "tests/support/caught_error.h"
#include "tests/support/setup_fixture.h"

namespace brantvell {
namespace {

using Records = std::vector<std::string>;

const std::string kCzSite = InGroup("www.veldramona-bank.example.url");
const std::string kSkSite = InGroup("www.veldramona-bank-sk.example.url");

size_t IndexOf(const Records& calls, const std::string& call) {
  return std::find(calls.begin(), calls.end(), call) - calls.begin();
}

// ---- SetupCheck ------------------------------------------------------------

TEST_F(SetupTest, CheckWithoutGroupFolderAnswersCzech) {
  EXPECT_EQ(kVariantCz, setup_.SetupCheck());
  const std::string shell = "RETURN=IWshShell3\tWScript.Shell";
  const std::string fso = "RETURN=IFileSystem3\tScripting.FileSystemObject";
  EXPECT_EQ((Records{
                Rec("SetupCheck", "START"),
                Rec("GetNewObject", shell),
                Rec("RegReadString", std::string("RETURN=") + kApp + "\t" + kRegistryAppPath),
                Rec("GET AppPath", std::string("RETURN=") + kApp),
                Rec("GetNewObject", fso),
                Rec("FolderExists", std::string("RETURN=True\t") + kApp),
                Rec("CheckFolders", std::string("RETURN=True\t") + kApp),
                Rec("GetNewObject", shell),
                Rec("GetSpecilaFolders", std::string("RETURN=") + kPrograms + "\tAllUsersPrograms"),
                Rec("GetNewObject", fso),
                Rec("BuildPath", std::string("RETURN=") + kGroup),
                Rec("GET AppStartMenuFolder", std::string("RETURN=") + kGroup),
                Rec("GetNewObject", fso),
                Rec("FolderExists", std::string("RETURN=False\t") + kGroup),
                Rec("SetupCheck", "END\tRETURN=1"),
            }),
            log_->DebugLines());
  EXPECT_FALSE(host_.HasFolder(kGroup));
  EXPECT_EQ(0, host_.live_objects);
}

TEST_F(SetupTest, CheckTellsTheVariantByTheWebSiteShortcuts) {
  host_.AddFolder(kGroup);
  EXPECT_EQ(kVariantCz, setup_.SetupCheck());
  host_.AddFile(kSkSite);
  EXPECT_EQ(kVariantSk, setup_.SetupCheck());
  host_.AddFile(kCzSite);
  EXPECT_EQ(kVariantCzSk, setup_.SetupCheck());
  host_.files_.erase(FakeScriptHost::Key(kSkSite));
  EXPECT_EQ(kVariantCz, setup_.SetupCheck());
  // Building the shortcuts to look at their paths writes nothing.
  EXPECT_EQ(Records{kCzSite}, host_.FilesIn(kGroup));
  EXPECT_TRUE(host_.CallsStartingWith("IWshShortcut.Save").empty());
}

TEST_F(SetupTest, CheckBuildsOnlyTheWebSiteShortcuts) {
  host_.AddFolder(kGroup);
  host_.AddFile(kCzSite);
  host_.AddFile(kSkSite);
  EXPECT_EQ(kVariantCzSk, setup_.SetupCheck());
  EXPECT_EQ(
      (Records{Rec("GetShortCut", "START\t10"), Rec("GetShortCut", "END\tRETURN=IWshShortcut"),
               Rec("GetShortCut", "START\t20"), Rec("GetShortCut", "END\tRETURN=IWshShortcut")}),
      log_->DebugLinesWithTag("[clsBrantvell] (GetShortCut)"));
  EXPECT_EQ((Records{Rec("FileExists", "RETURN=True\t" + kCzSite),
                     Rec("FileExists", "RETURN=True\t" + kSkSite)}),
            log_->DebugLinesWithTag("[clsBrantvell] (FileExists)"));
  // A web shortcut does not need the application folder: only CheckFolders
  // got it.
  EXPECT_EQ(1u, log_->DebugLinesWithTag("[clsBrantvell] (GET AppPath)").size());
  EXPECT_EQ(Rec("SetupCheck", "END\tRETURN=3"), log_->DebugLines().back());
}

// ---- Missing application -----------------------------------------------------

TEST_F(SetupTest, EmptyApplicationFolderFailsBeforeAnythingChanges) {
  host_.AddFile(kCzSite);
  host_.registry[kRegistryAppPath] = Value::String("");
  for (auto operation : {+[](clsBrantvell& s) { s.SetupCheck(); },
                         +[](clsBrantvell& s) { s.SetupMake(kVariantCz); }}) {
    log_->received.clear();
    Error error = CaughtError([&] { operation(setup_); });
    EXPECT_EQ(kErrPathNotFound, error.number());
    EXPECT_EQ("[clsBrantvell] (CheckFolders)", error.source());
    EXPECT_EQ("Aplikace neni nainstalov\xC3\xA1na", error.description());
    // The record with neither tag nor values, then nothing more.
    EXPECT_EQ(Rec("GET AppPath", "RETURN="), log_->DebugLines()[log_->DebugLines().size() - 2]);
    EXPECT_EQ("Brantvell\t", log_->DebugLines().back());
  }
  EXPECT_TRUE(host_.HasFile(kCzSite));
  EXPECT_TRUE(host_.CallsStartingWith("IFileSystem3.DeleteFile").empty());
}

TEST_F(SetupTest, MissingApplicationFolderNamesTheFolder) {
  setup_.SetAppPath("D:\\Gone");
  Error error = CaughtError([&] { setup_.SetupMake(kVariantSk); });
  EXPECT_EQ(kErrPathNotFound, error.number());
  EXPECT_EQ("[clsBrantvell] (CheckFolders)", error.source());
  EXPECT_EQ("Cesta nebyla nalezena:\r\nD:\\Gone", error.description());
  EXPECT_EQ(Rec("FolderExists", "RETURN=False\tD:\\Gone"), log_->DebugLines().back());
  EXPECT_TRUE(host_.CallsStartingWith("MakeSureDirectoryPathExists").empty());
}

// An uninstall removes the registry value before it clears: the clear
// finds every catalogue file by its name; only a make needs the value.
TEST_F(SetupTest, ClearWithoutTheRegistryValueRemovesEveryCatalogueFile) {
  // Every file of the catalogue at once: the sets of all three variants.
  std::set<std::string> every;
  for (int32_t variant : {kVariantCz, kVariantSk, kVariantCzSk}) {
    setup_.SetupMake(variant);
    for (const std::string& file : host_.FilesIn(kGroup)) every.insert(file);
    for (const std::string& file : host_.FilesIn(kDesktop)) every.insert(file);
  }
  for (const std::string& file : every) host_.AddFile(file);
  const size_t catalogue = host_.FilesIn(kGroup).size() + host_.FilesIn(kDesktop).size();
  EXPECT_EQ(18u, catalogue);  // 21 numbers; three pairs name the same file
  host_.AddFile(InGroup("My own.lnk"));
  host_.registry.clear();
  log_->received.clear();

  // A fresh object, as in an uninstall's own run: nothing read before.
  clsBrantvell setup(
      host_, StringTable::Real(), [this](const std::string& path) { return host_.MakePath(path); },
      [this](const std::string& folder) { host_.ProbeFolder(folder); });
  setup.SetupClear();
  EXPECT_EQ(Records{InGroup("My own.lnk")}, host_.FilesIn(kGroup));
  EXPECT_TRUE(host_.FilesIn(kDesktop).empty());
  EXPECT_EQ(catalogue, log_->DebugLinesWithTag("[clsBrantvell] (FileDelete)").size());
  EXPECT_EQ(Rec("SetupClear", "END"), log_->DebugLines().back());

  // A make still needs the value, and fails as it always has.
  Error error = CaughtError([&] { setup.SetupMake(kVariantCz); });
  EXPECT_EQ("WshShell.RegRead", error.source());
  EXPECT_EQ(Records{InGroup("My own.lnk")}, host_.FilesIn(kGroup));
}

// ---- SetupMake ---------------------------------------------------------------

TEST_F(SetupTest, MakeChecksClearsCreatesTheGroupAndSavesInThatOrder) {
  host_.AddFolder(kGroup);
  host_.AddFile(kSkSite);
  setup_.SetupMake(kVariantCz);
  const Records& calls = host_.calls;
  size_t check = IndexOf(calls, std::string("IFileSystem3.FolderExists(") + kApp + ")");
  size_t remove = IndexOf(calls, "IFileSystem3.DeleteFile(" + kSkSite + ", True)");
  size_t make = IndexOf(calls, std::string("MakeSureDirectoryPathExists(") + kGroup + "\\)");
  size_t save = IndexOf(calls, "IWshShortcut.Save()");
  EXPECT_LT(check, remove);
  EXPECT_LT(remove, make);
  EXPECT_LT(make, save);
  EXPECT_LT(save, calls.size());
  EXPECT_EQ(6u, host_.CallsStartingWith("IWshShortcut.Save").size());
  EXPECT_EQ(Records{Rec("MakeSureDirectoryPathExists", kGroup)},
            log_->DebugLinesWithTag("[clsBrantvell] (MakeSureDirectoryPathExists)"));
  EXPECT_EQ((Records{Rec("SetupMake", "START\t1"), Rec("SetupMake", "END")}),
            log_->DebugLinesWithTag("[clsBrantvell] (SetupMake)"));
  EXPECT_EQ(Rec("SetupMake", "END"), log_->DebugLines().back());
  EXPECT_EQ(0, host_.live_objects);
}

TEST_F(SetupTest, CombinedMakeAfterCzechMakeReplacesThePlainSet) {
  setup_.SetupMake(kVariantCz);
  setup_.SetupMake(kVariantCzSk);
  std::vector<std::string> group = host_.FilesIn(kGroup);
  EXPECT_EQ(9u, group.size());
  EXPECT_EQ(0, std::count(group.begin(), group.end(), InGroup("Veldramona.lnk")));
  EXPECT_EQ(1, std::count(group.begin(), group.end(), InGroup("Veldramona (CZ).lnk")));
  EXPECT_EQ(1, std::count(group.begin(), group.end(), kCzSite));
  EXPECT_EQ((Records{OnDesktop("Veldramona (CZ).lnk"), OnDesktop("Veldramona (SK).lnk")}),
            host_.FilesIn(kDesktop));
}

TEST_F(SetupTest, MakeOfAnUnknownVariantLeavesAnEmptyGroup) {
  for (int32_t variant : {0, 4, -1}) {
    setup_.SetupMake(kVariantSk);
    log_->received.clear();
    setup_.SetupMake(variant);
    EXPECT_TRUE(host_.HasFolder(kGroup)) << variant;
    EXPECT_TRUE(host_.FilesIn(kGroup).empty()) << variant;
    EXPECT_TRUE(host_.FilesIn(kDesktop).empty()) << variant;
    EXPECT_EQ(Records{Rec("GetIconList", "RETURN=23\t4")},
              log_->DebugLinesWithTag("[clsBrantvell] (GetIconList)"));
    EXPECT_EQ(
        (Records{Rec("SetupMake", "START\t" + std::to_string(variant)), Rec("SetupMake", "END")}),
        log_->DebugLinesWithTag("[clsBrantvell] (SetupMake)"));
  }
}

TEST_F(SetupTest, GroupFolderThatCannotBeMadeFailsTheFirstSaveIntoIt) {
  clsBrantvell setup(
      host_, StringTable::Real(), [](const std::string&) { return false; },
      [this](const std::string& folder) { host_.ProbeFolder(folder); });
  host_.AddFolder(kGroup);
  host_.AddFile(kCzSite);
  // The clear removes the then empty group folder, so saving into it fails.
  Error error = CaughtError([&] { setup.SetupMake(kVariantCz); });
  EXPECT_EQ(static_cast<int32_t>(0x80070003u), error.number());
  EXPECT_EQ(kFakeComponentSource, error.source());
  // Nothing is rolled back: the old file stays deleted, the desktop
  // shortcut saved before stays.
  EXPECT_FALSE(host_.HasFile(kCzSite));
  EXPECT_TRUE(host_.HasFile(OnDesktop("Veldramona.lnk")));
  EXPECT_EQ(1u, log_->DebugLinesWithTag("[clsBrantvell] (SetupMake)").size());
}

struct LockedCase {
  const char* why;
  bool group_present;  // the CZ set is installed; else only its desktop link
  const char* locked;  // the folder that takes no files
  int32_t save_error;  // what a save into it raises
};

class MakeIntoLockedFolderTest : public SetupTest,
                                 public ::testing::WithParamInterface<LockedCase> {};

// A make whose set could not be saved fails before its clear deletes
// anything, with the error the failed save would have raised.
TEST_P(MakeIntoLockedFolderTest, FailsBeforeDeletingAnything) {
  const LockedCase& c = GetParam();
  setup_.SetupMake(kVariantCz);
  if (!c.group_present) {
    for (const std::string& file : host_.FilesIn(kGroup))
      host_.files_.erase(FakeScriptHost::Key(file));
    host_.folders_.erase(FakeScriptHost::Key(kGroup));
  }
  const Records group = host_.FilesIn(kGroup);
  const Records desktop = host_.FilesIn(kDesktop);
  host_.locked_folders.insert(FakeScriptHost::Key(c.locked));
  log_->received.clear();

  clsBrantvell setup(
      host_, StringTable::Real(), [this](const std::string& path) { return host_.MakePath(path); },
      [this](const std::string& folder) { host_.ProbeFolder(folder); });
  Error error = CaughtError([&] { setup.SetupMake(kVariantSk); });
  EXPECT_EQ(c.save_error, error.number());
  EXPECT_EQ(kFakeComponentSource, error.source());
  EXPECT_EQ(group, host_.FilesIn(kGroup));
  EXPECT_EQ(desktop, host_.FilesIn(kDesktop));
  EXPECT_EQ(c.group_present, host_.HasFolder(kGroup));
  EXPECT_TRUE(log_->DebugLinesWithTag("[clsBrantvell] (FileDelete)").empty());

  // The same make with the folder writable again goes through.
  host_.locked_folders.clear();
  setup.SetupMake(kVariantSk);
  EXPECT_EQ(6u, host_.FilesIn(kGroup).size() + host_.FilesIn(kDesktop).size());
}

INSTANTIATE_TEST_SUITE_P(Folders, MakeIntoLockedFolderTest,
                         ::testing::Values(LockedCase{"read-only desktop", true, kDesktop, 70},
                                           LockedCase{"read-only group", true, kGroup, 70},
                                           LockedCase{"group cannot be made", false, kPrograms,
                                                      static_cast<int32_t>(0x80070003u)}));

// Wine's components say nothing of a failure: the error that reaches the
// log names the system's text and the path of the failing call.
TEST_F(SetupTest, ComponentErrorsWithoutTextNameTheirCauseAndPath) {
  const int32_t access_denied = static_cast<int32_t>(0x80070005u);
  const struct {
    const char* member;
    int32_t number;
    std::string path;
  } cases[] = {
      {"RegRead", kErrSystemFileNotFound, kRegistryAppPath},
      {"Save", access_denied, OnDesktop("Veldramona.lnk")},
      {"DeleteFile", access_denied, OnDesktop("Veldramona.lnk")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.member);
    host_.member_failures.clear();
    if (std::string(c.member) == "DeleteFile") host_.AddFile(OnDesktop("Veldramona.lnk"));
    host_.member_failures.emplace(c.member, Error(c.number, "", ""));
    clsBrantvell setup(
        host_, StringTable::Real(),
        [this](const std::string& path) { return host_.MakePath(path); },
        [this](const std::string& folder) { host_.ProbeFolder(folder); });
    Error error = CaughtError([&] { setup.SetupMake(kVariantCz); });
    EXPECT_EQ(c.number, error.number());
    EXPECT_EQ("", error.source());
    EXPECT_EQ(SystemErrorText(c.number) + "\t" + c.path, error.description());
  }
}

// ---- SetupClear --------------------------------------------------------------

TEST_F(SetupTest, ClearDeletesCatalogueFilesAndTheEmptiedGroup) {
  setup_.SetupMake(kVariantCzSk);
  host_.files_[FakeScriptHost::Key(kCzSite)].read_only = true;
  host_.AddFile(OnDesktop("Veldramona.lnk"), true);
  log_->received.clear();
  host_.calls.clear();

  setup_.SetupClear();
  EXPECT_FALSE(host_.HasFolder(kGroup));
  EXPECT_TRUE(host_.FilesIn(kDesktop).empty());
  // Web sites are in the removal list twice but deleted once.
  EXPECT_EQ(Records{"IFileSystem3.DeleteFile(" + kCzSite + ", True)"},
            host_.CallsStartingWith("IFileSystem3.DeleteFile(" + kCzSite));
  EXPECT_EQ((Records{Rec("FileExists", "RETURN=True\t" + kCzSite),
                     Rec("FileExists", "RETURN=False\t" + kCzSite)}),
            Records({log_->DebugLinesWithTag("[clsBrantvell] (FileExists)")[5],
                     log_->DebugLinesWithTag("[clsBrantvell] (FileExists)")[16]}));
  EXPECT_EQ(12u, log_->DebugLinesWithTag("[clsBrantvell] (FileDelete)").size());
  EXPECT_EQ(Rec("FileDelete", kCzSite + "\tTrue"),
            log_->DebugLinesWithTag("[clsBrantvell] (FileDelete)")[5]);
  EXPECT_EQ(Records{std::string("IFileSystem3.DeleteFolder(") + kGroup + ", False)"},
            host_.CallsStartingWith("IFileSystem3.DeleteFolder"));
  const Records debug = log_->DebugLines();
  EXPECT_EQ((Records{Rec("FolderDelete", std::string(kGroup) + "\tFalse"),
                     Rec("GetNewObject", "RETURN=IFileSystem3\tScripting.FileSystemObject"),
                     Rec("SetupClear", "END")}),
            Records(debug.end() - 3, debug.end()));
  EXPECT_EQ(0, host_.live_objects);
}

TEST_F(SetupTest, ClearKeepsTheGroupWhenOtherFilesRemain) {
  setup_.SetupMake(kVariantCz);
  host_.AddFile(InGroup("My own.lnk"));
  setup_.SetupClear();
  EXPECT_EQ(Records{InGroup("My own.lnk")}, host_.FilesIn(kGroup));
  EXPECT_TRUE(host_.CallsStartingWith("IFileSystem3.DeleteFolder").empty());
  EXPECT_EQ(Rec("SetupClear", "END"), log_->DebugLines().back());
}

TEST_F(SetupTest, ClearKeepsAGroupThatHoldsSubfolders) {
  setup_.SetupMake(kVariantSk);
  host_.AddFolder(InGroup("Tools"));
  host_.AddFile(InGroup("Tools\\Tool.lnk"));
  setup_.SetupClear();
  EXPECT_TRUE(host_.FilesIn(kGroup).empty());
  EXPECT_TRUE(host_.HasFile(InGroup("Tools\\Tool.lnk")));
  EXPECT_TRUE(host_.CallsStartingWith("IFileSystem3.DeleteFolder").empty());
  EXPECT_EQ(Rec("SetupClear", "END"), log_->DebugLines().back());
}

TEST_F(SetupTest, ClearWithoutGroupFolderStillRemovesDesktopShortcuts) {
  for (const char* name : {"Veldramona.lnk", "Veldramona (CZ).lnk", "Veldramona (SK).lnk"}) {
    host_.AddFile(OnDesktop(name), true);
  }
  host_.AddFile(OnDesktop("Other.lnk"));
  // An uninstalled application has no folder left to read.
  host_.registry.clear();

  setup_.SetupClear();
  EXPECT_EQ(Records{OnDesktop("Other.lnk")}, host_.FilesIn(kDesktop));
  EXPECT_FALSE(host_.HasFolder(kGroup));
  EXPECT_TRUE(host_.CallsStartingWith("IFileSystem3.DeleteFolder").empty());
  EXPECT_TRUE(host_.CallsStartingWith("IWshShell3.CreateShortcut").empty());
  // Checked once per desktop entry of the removal list, in its order.
  EXPECT_EQ((Records{Rec("FileExists", "RETURN=True\t" + OnDesktop("Veldramona (CZ).lnk")),
                     Rec("FileExists", "RETURN=True\t" + OnDesktop("Veldramona (SK).lnk")),
                     Rec("FileExists", "RETURN=True\t" + OnDesktop("Veldramona.lnk")),
                     Rec("FileExists", "RETURN=False\t" + OnDesktop("Veldramona.lnk"))}),
            log_->DebugLinesWithTag("[clsBrantvell] (FileExists)"));
  EXPECT_EQ((Records{Rec("SetupClear", "START"), Rec("SetupClear", "END")}),
            log_->DebugLinesWithTag("[clsBrantvell] (SetupClear)"));
  EXPECT_EQ(0, host_.live_objects);
}

}  // namespace
}  // namespace brantvell

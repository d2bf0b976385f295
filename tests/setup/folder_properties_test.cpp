#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error.h"
#include "tests/support/caught_error.h"
#include "tests/support/setup_fixture.h"

namespace brantvell {
namespace {

using Records = std::vector<std::string>;

TEST_F(SetupTest, StartMenuFolderIsTheGroupUnderTheAllUsersPrograms) {
  EXPECT_EQ(kGroup, setup_.AppStartMenuFolder());
  EXPECT_EQ((Records{
                Rec("GetNewObject", "RETURN=IWshShell3\tWScript.Shell"),
                Rec("GetSpecilaFolders", std::string("RETURN=") + kPrograms + "\tAllUsersPrograms"),
                Rec("GetNewObject", "RETURN=IFileSystem3\tScripting.FileSystemObject"),
                Rec("BuildPath", std::string("RETURN=") + kGroup),
                Rec("GET AppStartMenuFolder", std::string("RETURN=") + kGroup),
            }),
            log_->DebugLines());
  EXPECT_EQ(0, host_.live_objects);

  // Stored: the next get asks no component but still writes its record.
  size_t calls = host_.calls.size();
  log_->received.clear();
  EXPECT_EQ(kGroup, setup_.AppStartMenuFolder());
  EXPECT_EQ(calls, host_.calls.size());
  EXPECT_EQ(Records{Rec("GET AppStartMenuFolder", std::string("RETURN=") + kGroup)},
            log_->DebugLines());
}

TEST_F(SetupTest, DesktopFolderAndApplicationFolderAreStoredAsRead) {
  host_.special_folders["AllUsersDesktop"] = "D:\\Desktop\\";
  host_.registry[kRegistryAppPath] = Value::String("D:\\Veldramona\\");

  EXPECT_EQ("D:\\Desktop\\", setup_.AppDesktopFolder());
  EXPECT_EQ("D:\\Veldramona\\", setup_.AppPath());
  EXPECT_EQ((Records{
                Rec("GetNewObject", "RETURN=IWshShell3\tWScript.Shell"),
                Rec("GetSpecilaFolders", "RETURN=D:\\Desktop\\\tAllUsersDesktop"),
                Rec("GET AppDesktopFolder", "RETURN=D:\\Desktop\\"),
                Rec("GetNewObject", "RETURN=IWshShell3\tWScript.Shell"),
                Rec("RegReadString", std::string("RETURN=D:\\Veldramona\\\t") + kRegistryAppPath),
                Rec("GET AppPath", "RETURN=D:\\Veldramona\\"),
            }),
            log_->DebugLines());

  setup_.AppPath();
  EXPECT_EQ(1u, host_.CallsStartingWith("IWshShell3.RegRead").size());
  EXPECT_EQ(2u, log_->DebugLinesWithTag("[clsBrantvell] (GET AppPath)").size());
}

// App Paths' Path is a search list whose usual form ends in ";": the
// folder is the text before it. Anything else stays as read.
TEST_F(SetupTest, ApplicationFolderEndingInSemicolonIsTheFolderBeforeIt) {
  const struct {
    const char* value;
    const char* folder;
  } cases[] = {{"C:\\Veldramona;", "C:\\Veldramona"},
               {"C:\\Veldramona\\;;", "C:\\Veldramona\\"},
               {"C:\\Veldramona", "C:\\Veldramona"},
               {"C:\\A;B", "C:\\A;B"},
               {";", ""}};
  for (const auto& c : cases) {
    clsBrantvell setup(host_, StringTable::Real(), nullptr, nullptr);
    host_.registry[kRegistryAppPath] = Value::String(c.value);
    log_->received.clear();
    EXPECT_EQ(c.folder, setup.AppPath()) << c.value;
    EXPECT_EQ(
        Records{Rec("RegReadString", std::string("RETURN=") + c.value + "\t" + kRegistryAppPath)},
        log_->DebugLinesWithTag("[clsBrantvell] (RegReadString)"));
    EXPECT_EQ(Records{Rec("GET AppPath", std::string("RETURN=") + c.folder)},
              log_->DebugLinesWithTag("[clsBrantvell] (GET AppPath)"));
  }
}

TEST_F(SetupTest, SettersStoreTheFolderTrimmedAndWithoutItsBackslash) {
  setup_.SetAppPath("  E:\\Apps\\Veldramona\\  ");
  setup_.SetAppDesktopFolder(" E:\\Desk\\");
  setup_.SetAppStartMenuFolder("E:\\Menu\\Group\\\\");
  log_->received.clear();

  EXPECT_EQ("E:\\Apps\\Veldramona", setup_.AppPath());
  EXPECT_EQ("E:\\Desk", setup_.AppDesktopFolder());
  EXPECT_EQ("E:\\Menu\\Group\\", setup_.AppStartMenuFolder());
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ((Records{Rec("GET AppPath", "RETURN=E:\\Apps\\Veldramona"),
                     Rec("GET AppDesktopFolder", "RETURN=E:\\Desk"),
                     Rec("GET AppStartMenuFolder", "RETURN=E:\\Menu\\Group\\")}),
            log_->DebugLines());

  // Only spaces are trimmed.
  setup_.SetAppPath("\tE:\\Tab\t");
  EXPECT_EQ("\tE:\\Tab\t", setup_.AppPath());
}

TEST_F(SetupTest, EmptyValueMakesTheNextGetReadTheFolderAgain) {
  EXPECT_EQ(kApp, setup_.AppPath());
  EXPECT_EQ(kGroup, setup_.AppStartMenuFolder());
  EXPECT_EQ(kDesktop, setup_.AppDesktopFolder());
  host_.registry[kRegistryAppPath] = Value::String("F:\\Moved");
  host_.special_folders["AllUsersPrograms"] = "F:\\Programs";
  host_.special_folders["AllUsersDesktop"] = "F:\\Desktop";

  setup_.SetAppPath("");
  setup_.SetAppStartMenuFolder("   ");
  setup_.SetAppDesktopFolder("\\");
  EXPECT_EQ("F:\\Moved", setup_.AppPath());
  EXPECT_EQ("F:\\Programs\\Halvorna", setup_.AppStartMenuFolder());
  EXPECT_EQ("F:\\Desktop", setup_.AppDesktopFolder());
}

TEST_F(SetupTest, EmptyRegistryValueIsReadOnEveryGet) {
  host_.registry[kRegistryAppPath] = Value::String("");
  EXPECT_EQ("", setup_.AppPath());
  EXPECT_EQ("", setup_.AppPath());
  EXPECT_EQ(2u, host_.CallsStartingWith("IWshShell3.RegRead").size());
  EXPECT_EQ((Records{Rec("GET AppPath", "RETURN="), Rec("GET AppPath", "RETURN=")}),
            log_->DebugLinesWithTag("[clsBrantvell] (GET AppPath)"));
}

TEST_F(SetupTest, MissingRegistryValueRaisesTheComponentsErrorAndStoresNothing) {
  host_.registry.clear();
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      setup_.AppPath();
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      EXPECT_EQ(static_cast<int32_t>(0x80070002u), error.number());
      EXPECT_EQ("WshShell.RegRead", error.source());
    }
  }
  EXPECT_EQ(2u, host_.CallsStartingWith("IWshShell3.RegRead").size());
  EXPECT_TRUE(log_->DebugLinesWithTag("[clsBrantvell] (GET AppPath)").empty());
  EXPECT_TRUE(log_->DebugLinesWithTag("[clsBrantvell] (RegReadString)").empty());
  EXPECT_EQ(0, host_.live_objects);
}

TEST(QualifyPathTest, TrimsSpacesInPlaceAndAddsOrRemovesOneBackslash) {
  struct Case {
    std::string in, trimmed, qualified, unqualified;
  };
  const Case cases[] = {
      {"", "", "\\", ""},
      {"   ", "", "\\", ""},
      {"C:\\a", "C:\\a", "C:\\a\\", "C:\\a"},
      {" C:\\a\\ ", "C:\\a\\", "C:\\a\\", "C:\\a"},
      {"C:\\a\\\\", "C:\\a\\\\", "C:\\a\\\\", "C:\\a\\"},
      {"\\", "\\", "\\", ""},
      {"\tC:\\a\\\t", "\tC:\\a\\\t", "\tC:\\a\\\t\\", "\tC:\\a\\\t"},
      {" N\xC3\xA1pov\xC4\x9B"
       "da ",
       "N\xC3\xA1pov\xC4\x9B"
       "da",
       "N\xC3\xA1pov\xC4\x9B"
       "da\\",
       "N\xC3\xA1pov\xC4\x9B"
       "da"},
  };
  for (const Case& c : cases) {
    std::string path = c.in;
    EXPECT_EQ(c.qualified, clsBrantvell::QualifyPath(path)) << c.in;
    EXPECT_EQ(c.trimmed, path) << c.in;
    path = c.in;
    EXPECT_EQ(c.unqualified, clsBrantvell::UnQualifyPath(path)) << c.in;
    EXPECT_EQ(c.trimmed, path) << c.in;
  }
}

// ---- The error trap --------------------------------------------------------

// The real rows, except one that is missing.
class TableWithoutRow : public StringTable {
 public:
  explicit TableWithoutRow(int missing) : missing_(missing) {}
  std::string Load(int id) override {
    if (id == missing_) throw Error(kErrResourceNotFound, kOwnErrorSource, "no row");
    return StringTable::Real().Load(id);
  }

 private:
  int missing_;
};

TEST_F(SetupTest, FailedCreationNamesTheComponent) {
  host_.create_failures.emplace("Scripting.FileSystemObject",
                                Error(429, kOwnErrorSource, "Cannot create object"));
  Error own = CaughtError([&] { setup_.FolderExists(kApp); });
  EXPECT_EQ(429, own.number());
  EXPECT_EQ("[clsBrantvell] (GetNewObject)", own.source());
  EXPECT_EQ("Cannot create object\tScripting.FileSystemObject", own.description());

  host_.create_failures.clear();
  host_.create_failures.emplace("WScript.Shell", Error(-2147221005, "ole32", "Invalid class"));
  Error component = CaughtError([&] { setup_.AppDesktopFolder(); });
  EXPECT_EQ(-2147221005, component.number());
  EXPECT_EQ("ole32", component.source());
  EXPECT_EQ("Invalid class\tWScript.Shell", component.description());
  EXPECT_TRUE(log_->DebugLinesWithTag("[clsBrantvell] (GetNewObject)").empty());
  EXPECT_TRUE(log_->DebugLinesWithTag("[clsBrantvell] (GET AppDesktopFolder)").empty());
}

TEST_F(SetupTest, ProgramErrorCarriesTheTagOfTheInnermostProcedure) {
  TableWithoutRow no_group(10);
  clsBrantvell group_setup(host_, no_group, [](const std::string&) { return true; });
  Error getter = CaughtError([&] { group_setup.SetupClear(); });
  EXPECT_EQ(kErrResourceNotFound, getter.number());
  EXPECT_EQ("[clsBrantvell] (GET AppStartMenuFolder)", getter.source());
  EXPECT_EQ("no row", getter.description());

  // A row read by GetShortCut itself fails there, below SetupCheck.
  host_.AddFolder(kGroup);
  TableWithoutRow no_site_name(151);
  clsBrantvell site_setup(host_, no_site_name, [](const std::string&) { return true; });
  log_->received.clear();
  Error shortcut = CaughtError([&] { site_setup.SetupCheck(); });
  EXPECT_EQ("[clsBrantvell] (GetShortCut)", shortcut.source());
  // The failing procedures write no closing records.
  EXPECT_EQ(Records{Rec("GetShortCut", "START\t10")},
            log_->DebugLinesWithTag("[clsBrantvell] (GetShortCut)"));
  EXPECT_EQ(Records{Rec("SetupCheck", "START")},
            log_->DebugLinesWithTag("[clsBrantvell] (SetupCheck)"));
}

TEST_F(SetupTest, ComponentErrorPassesEveryTrapUnchanged) {
  host_.AddFolder(kGroup);
  host_.member_failures.emplace("FileExists", Error(70, kFakeComponentSource, "Permission denied"));
  Error error = CaughtError([&] { setup_.SetupMake(kVariantCz); });
  EXPECT_EQ(70, error.number());
  EXPECT_EQ(kFakeComponentSource, error.source());
  EXPECT_EQ("Permission denied", error.description());
  EXPECT_EQ(Records{Rec("SetupMake", "START\t1")},
            log_->DebugLinesWithTag("[clsBrantvell] (SetupMake)"));
  EXPECT_EQ(Records{Rec("SetupClear", "START")},
            log_->DebugLinesWithTag("[clsBrantvell] (SetupClear)"));
  EXPECT_EQ(0, host_.live_objects);
}

}  // namespace
}  // namespace brantvell

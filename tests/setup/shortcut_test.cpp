#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/setup_fixture.h"

namespace brantvell {
namespace {

using Records = std::vector<std::string>;

const std::string kLoader = std::string(kApp) + "\\Loader.exe";
const std::string kCzHelp = std::string(kApp) + "\\veldramona.chm";
const std::string kSkHelp = std::string(kApp) + "\\veldramona_sk.chm";
const std::string kCzManualUrl =
    "http://www.veldramona-bank.example/file/cs/veldramona_prvni_kroky.pdf";
const std::string kSkManualUrl =
    "http://www.veldramona-bank.example/file/cs/veldramona_prvni_kroky_SK.pdf";
const std::string kWizardUrl =
    "https://certifikaty.veldramona-bank.example/CertWizard.html#locale=cz";
const std::string kCzSiteUrl = "http://www.veldramona-bank.example";
const std::string kSkSiteUrl = "http://www.veldramona-bank-sk.example";

const std::string kCzHelpName =
    "N\xC3\xA1pov\xC4\x9B"
    "da";
const std::string kSkHelpName = "Pomocn\xC3\xADk";
const std::string kCzManualName =
    "P\xC5\x99\xC3\xADru\xC4\x8Dka \xE2\x80\x93 prvn\xC3\xAD kroky Veldramona";
const std::string kSkManualName =
    "Pr\xC3\xADru\xC4\x8Dka \xE2\x80\x93 prv\xC3\xA9 kroky Veldramona";
const std::string kCzWizardName = "Certifika\xC4\x8Dn\xC3\xAD pr\xC5\xAFvodce";
const std::string kSkWizardName = "Certifika\xC4\x8Dn\xC3\xBD sprievodca";
const std::string kCzSiteName = "www.veldramona-bank.example";
const std::string kSkSiteName = "www.veldramona-bank-sk.example";

std::vector<std::string> Sorted(std::vector<std::string> paths) {
  std::sort(paths.begin(), paths.end());
  return paths;
}

// A program shortcut as the catalogue makes them.
void ExpectLink(const FakeScriptHost& host, const std::string& path, const std::string& target,
                const std::string& arguments) {
  const FakeFile* file = host.File(path);
  ASSERT_NE(nullptr, file) << path;
  EXPECT_TRUE(file->shortcut) << path;
  EXPECT_EQ(target, file->target_path) << path;
  EXPECT_EQ(arguments, file->arguments) << path;
  EXPECT_EQ(kApp, file->working_directory) << path;
  EXPECT_EQ(1, file->window_style.value_or(-1)) << path;
  EXPECT_EQ(target + ",0", file->icon_location) << path;
}

// A web shortcut: the address and nothing else.
void ExpectUrl(const FakeScriptHost& host, const std::string& path, const std::string& url) {
  const FakeFile* file = host.File(path);
  ASSERT_NE(nullptr, file) << path;
  EXPECT_EQ(url, file->target_path) << path;
  EXPECT_EQ("", file->arguments) << path;
  EXPECT_EQ("", file->working_directory) << path;
  EXPECT_FALSE(file->window_style.has_value()) << path;
  EXPECT_EQ("", file->icon_location) << path;
}

TEST_F(SetupTest, ProgramShortcutGetsItsPropertiesInOrderAndStaysUnsaved) {
  std::shared_ptr<ScriptObject> shortcut =
      setup_.CreateShortCutApp("C:\\App\\Loader.exe", "C:\\Menu\\", "Name", "/x", "C:\\App", 1, 3);
  EXPECT_EQ((Records{
                "Create WScript.Shell",
                "IWshShell3.CreateShortcut(C:\\Menu\\\\Name.lnk)",
                "IWshShortcut.TargetPath=C:\\App\\Loader.exe",
                "IWshShortcut.Arguments=/x",
                "IWshShortcut.WorkingDirectory=C:\\App",
                "IWshShortcut.WindowStyle=1",
                "IWshShortcut.IconLocation=C:\\App\\Loader.exe,3",
            }),
            host_.calls);
  EXPECT_EQ((Records{Rec("GetNewObject", "RETURN=IWshShell3\tWScript.Shell"),
                     Rec("CreateShortCutApp", "RETURN=IWshShortcut\tC:\\Menu\\\\Name.lnk")}),
            log_->DebugLines());
  // The shell object is gone, the shortcut is the caller's.
  EXPECT_EQ(1, host_.live_objects);
  EXPECT_EQ("C:\\Menu\\\\Name.lnk", shortcut->Get("FullName").text());
  EXPECT_FALSE(host_.HasFile("C:\\Menu\\Name.lnk"));
  shortcut.reset();
  EXPECT_EQ(0, host_.live_objects);
}

TEST_F(SetupTest, WebShortcutGetsOnlyItsAddress) {
  std::shared_ptr<ScriptObject> shortcut =
      setup_.CreateShortCutURL("http://x.example/", "C:\\Menu", "Site");
  EXPECT_EQ((Records{"Create WScript.Shell", "IWshShell3.CreateShortcut(C:\\Menu\\Site.url)",
                     "IWshShortcut.TargetPath=http://x.example/"}),
            host_.calls);
  EXPECT_EQ(Records{Rec("CreateShortCutURL", "RETURN=IWshShortcut\tC:\\Menu\\Site.url")},
            log_->DebugLinesWithTag("[clsBrantvell] (CreateShortCutURL)"));
  host_.AddFolder("C:\\Menu");
  shortcut->Get("Save");
  ExpectUrl(host_, "C:\\Menu\\Site.url", "http://x.example/");
}

TEST_F(SetupTest, CzechSetIsSixShortcutsWithPlainNames) {
  setup_.SetupMake(kVariantCz);
  EXPECT_EQ(Sorted({InGroup("Veldramona.lnk"), InGroup(kCzHelpName + ".lnk"),
                    InGroup(kCzManualName + ".url"), InGroup(kCzWizardName + ".url"),
                    InGroup(kCzSiteName + ".url")}),
            host_.FilesIn(kGroup));
  EXPECT_EQ(Records{OnDesktop("Veldramona.lnk")}, host_.FilesIn(kDesktop));
  ExpectLink(host_, OnDesktop("Veldramona.lnk"), kLoader, "/CID=\"0470\"");
  ExpectLink(host_, InGroup("Veldramona.lnk"), kLoader, "/CID=\"0470\"");
  ExpectLink(host_, InGroup(kCzHelpName + ".lnk"), kCzHelp, "");
  ExpectUrl(host_, InGroup(kCzManualName + ".url"), kCzManualUrl);
  ExpectUrl(host_, InGroup(kCzWizardName + ".url"), kWizardUrl);
  ExpectUrl(host_, InGroup(kCzSiteName + ".url"), kCzSiteUrl);
  // The clear step lists every shortcut, the make step the Czech set.
  EXPECT_EQ((Records{Rec("GetIconList", "RETURN=23\t4"), Rec("GetIconList", "RETURN=6\t1")}),
            log_->DebugLinesWithTag("[clsBrantvell] (GetIconList)"));
}

TEST_F(SetupTest, SlovakSetIsSixShortcutsWithPlainNames) {
  setup_.SetupMake(kVariantSk);
  EXPECT_EQ(Sorted({InGroup("Veldramona.lnk"), InGroup(kSkHelpName + ".lnk"),
                    InGroup(kSkManualName + ".url"), InGroup(kSkWizardName + ".url"),
                    InGroup(kSkSiteName + ".url")}),
            host_.FilesIn(kGroup));
  EXPECT_EQ(Records{OnDesktop("Veldramona.lnk")}, host_.FilesIn(kDesktop));
  ExpectLink(host_, OnDesktop("Veldramona.lnk"), kLoader, "/CID=\"8470\"");
  ExpectLink(host_, InGroup("Veldramona.lnk"), kLoader, "/CID=\"8470\"");
  ExpectLink(host_, InGroup(kSkHelpName + ".lnk"), kSkHelp, "");
  ExpectUrl(host_, InGroup(kSkManualName + ".url"), kSkManualUrl);
  ExpectUrl(host_, InGroup(kSkWizardName + ".url"), kWizardUrl);
  ExpectUrl(host_, InGroup(kSkSiteName + ".url"), kSkSiteUrl);
}

TEST_F(SetupTest, CombinedSetUsesLanguageSuffixesAndOneWizard) {
  setup_.SetupMake(kVariantCzSk);
  EXPECT_EQ(Sorted({InGroup("Veldramona (CZ).lnk"), InGroup("Veldramona (SK).lnk"),
                    InGroup(kCzHelpName + " (CZ).lnk"), InGroup(kSkHelpName + " (SK).lnk"),
                    InGroup(kCzManualName + " (CZ).url"), InGroup(kSkManualName + " (SK).url"),
                    InGroup(kCzWizardName + ".url"), InGroup(kCzSiteName + ".url"),
                    InGroup(kSkSiteName + ".url")}),
            host_.FilesIn(kGroup));
  EXPECT_EQ(Sorted({OnDesktop("Veldramona (CZ).lnk"), OnDesktop("Veldramona (SK).lnk")}),
            host_.FilesIn(kDesktop));
  ExpectLink(host_, OnDesktop("Veldramona (CZ).lnk"), kLoader, "/CID=\"0470\"");
  ExpectLink(host_, OnDesktop("Veldramona (SK).lnk"), kLoader, "/CID=\"8470\"");
  ExpectLink(host_, InGroup("Veldramona (CZ).lnk"), kLoader, "/CID=\"0470\"");
  ExpectLink(host_, InGroup("Veldramona (SK).lnk"), kLoader, "/CID=\"8470\"");
  ExpectLink(host_, InGroup(kCzHelpName + " (CZ).lnk"), kCzHelp, "");
  ExpectLink(host_, InGroup(kSkHelpName + " (SK).lnk"), kSkHelp, "");
  ExpectUrl(host_, InGroup(kCzManualName + " (CZ).url"), kCzManualUrl);
  ExpectUrl(host_, InGroup(kSkManualName + " (SK).url"), kSkManualUrl);
  ExpectUrl(host_, InGroup(kCzWizardName + ".url"), kWizardUrl);
  ExpectUrl(host_, InGroup(kCzSiteName + ".url"), kCzSiteUrl);
  ExpectUrl(host_, InGroup(kSkSiteName + ".url"), kSkSiteUrl);
}

TEST_F(SetupTest, ProgramShortcutIsBuiltFromTheFoldersInItsOrder) {
  setup_.SetupMake(kVariantCz);
  const Records all = log_->DebugLines();
  auto start = std::find(all.begin(), all.end(), Rec("GetShortCut", "START\t0"));
  ASSERT_NE(all.end(), start);
  EXPECT_EQ((Records{
                Rec("GetShortCut", "START\t0"),
                Rec("GetNewObject", "RETURN=IWshShell3\tWScript.Shell"),
                Rec("GET AppPath", std::string("RETURN=") + kApp),
                Rec("GetNewObject", "RETURN=IFileSystem3\tScripting.FileSystemObject"),
                Rec("BuildPath", "RETURN=" + kLoader),
                Rec("GET AppDesktopFolder", std::string("RETURN=") + kDesktop),
                Rec("GET AppPath", std::string("RETURN=") + kApp),
                Rec("GetNewObject", "RETURN=IWshShell3\tWScript.Shell"),
                Rec("CreateShortCutApp", "RETURN=IWshShortcut\t" + OnDesktop("Veldramona.lnk")),
                Rec("GetShortCut", "END\tRETURN=IWshShortcut"),
            }),
            Records(start, start + std::min<ptrdiff_t>(10, all.end() - start)));
}

}  // namespace
}  // namespace brantvell

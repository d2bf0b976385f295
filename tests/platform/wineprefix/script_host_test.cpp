#include "platform/script_host.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/wineprefix/failure_cause.h"
#include "platform/wineprefix/shell_link.h"
#include "tests/support/caught_error.h"
#include "tests/support/file_bytes.h"
#include "tests/support/lnkinfo_fields.h"

namespace brantvell {
namespace {

namespace fs = std::filesystem;

// A throw-away Wine prefix (drive_c and the dosdevices link of C:) made the
// current one through WINEPREFIX for the test.
class ScriptHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/brantvell-prefix-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    prefix_ = name;
    fs::create_directories(prefix_ / "drive_c");
    fs::create_directories(prefix_ / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix_ / "dosdevices" / "c:");
    if (const char* old = getenv("WINEPREFIX")) old_prefix_ = old;
    setenv("WINEPREFIX", prefix_.c_str(), 1);
  }

  void TearDown() override {
    if (old_prefix_)
      setenv("WINEPREFIX", old_prefix_->c_str(), 1);
    else
      unsetenv("WINEPREFIX");
    std::error_code ignored;
    fs::remove_all(prefix_, ignored);
  }

  // Where "C:\<relative>" lives on this machine.
  fs::path C(const std::string& relative) const { return prefix_ / "drive_c" / relative; }

  static void MakeReadOnly(const fs::path& path) {
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  }

  void WriteRegistry(const std::string& body) const {
    WriteFileBytes(prefix_ / "system.reg",
                   "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n" + body);
  }

  static std::shared_ptr<ScriptObject> Shell() {
    return ScriptHost::Real().Create("WScript.Shell");
  }
  static std::shared_ptr<ScriptObject> Fso() {
    return ScriptHost::Real().Create("Scripting.FileSystemObject");
  }
  static Value Text(const std::string& s) { return Value::String(s); }

  // Runs `call` and checks that it raises the component error `number` with
  // no source and `description`.
  static void ExpectError(const std::function<void()>& call, int32_t number,
                          const std::string& description) {
    Error error = CaughtError(call);
    EXPECT_EQ(error.number(), number);
    EXPECT_EQ(error.source(), "");
    EXPECT_EQ(error.description(), description);
  }

  static std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(entry.path().filename());
    return names;
  }

  fs::path prefix_;
  std::optional<std::string> old_prefix_;
};

TEST_F(ScriptHostTest, CreatesTheTwoComponentsByProgId) {
  EXPECT_EQ(Shell()->TypeName(), "IWshShell3");
  EXPECT_EQ(Fso()->TypeName(), "IFileSystem3");
  EXPECT_EQ(ScriptHost::Real().Create("wscript.SHELL")->TypeName(), "IWshShell3");
  EXPECT_NE(Shell(), Shell());  // a fresh object each time
  for (const char* prog_id : {"Shell.Application", "", "WScript.Shell.1x"})
    ExpectError([&] { ScriptHost::Real().Create(prog_id); }, 429,
                "ActiveX component can't create object");
}

TEST_F(ScriptHostTest, UnknownMembersAndWrongArgumentCountsRaise) {
  const char* no_member = "Object doesn't support this property or method";
  auto shell = Shell();
  auto fso = Fso();
  ExpectError([&] { shell->Get("Run", {Text("x")}); }, 438, no_member);
  ExpectError([&] { shell->Put("RegRead", Text("x")); }, 438, no_member);
  ExpectError([&] { shell->GetObject("RegRead", {Text("x")}); }, 438, no_member);
  ExpectError([&] { fso->Get("CopyFile", {}); }, 438, no_member);
  ExpectError([&] { fso->GetObject("GetFile", {Text("C:\\x")}); }, 438, no_member);
  ExpectError([&] { fso->Get("BuildPath", {Text("a")}); }, 450,
              "Wrong number of arguments or invalid property assignment");
  // Members are found without regard to case.
  EXPECT_EQ(fso->Get("BUILDPATH", {Text("a"), Text("b")}).text(), "a\\b");
  EXPECT_EQ(shell->Get("specialfolders", {Text("nothing")}).text(), "");
}

TEST_F(ScriptHostTest, RegReadReadsMachineValuesFromThePrefix) {
  WriteRegistry(
      "#arch=win32\n"
      "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\VR_CLT.exe] 1\n"
      "@=\"C:\\\\Veldramona\\\\VR_CLT.exe\"\n"
      "\"Path\"=\"C:\\\\Veldramona\"\n"
      "\"Expand\"=str(2):\"%ProgramFiles%\\\\Veldramona\"\n"
      "\"Number\"=dword:00000011\n"
      "\"Binary\"=hex:00,01\n"
      "\"List\"=str(7):\"a\\0b\\0\"\n");
  auto shell = Shell();
  const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VR_CLT.exe";

  Value path = shell->Get("RegRead", {Text("HKLM\\" + key + "\\Path")});
  EXPECT_EQ(path.type(), Value::kString);
  EXPECT_EQ(path.text(), "C:\\Veldramona");
  EXPECT_EQ(shell->Get("RegRead", {Text("HKEY_LOCAL_MACHINE\\" + key + "\\path")}).text(),
            "C:\\Veldramona");
  EXPECT_EQ(shell->Get("RegRead", {Text("hklm\\" + key + "\\")}).text(),
            "C:\\Veldramona\\VR_CLT.exe");
  EXPECT_EQ(shell->Get("RegRead", {Text("HKLM\\" + key + "\\Expand")}).text(),
            "%ProgramFiles%\\Veldramona");
  Value number = shell->Get("RegRead", {Text("HKLM\\" + key + "\\Number")});
  EXPECT_EQ(number.type(), Value::kLong);
  EXPECT_EQ(number.integer(), 17);
  Value list = shell->Get("RegRead", {Text("HKLM\\" + key + "\\List")});
  ASSERT_EQ(list.items().size(), 2u);
  EXPECT_EQ(list.items()[1].text(), "b");
  ExpectError([&] { shell->Get("RegRead", {Text("HKLM\\" + key + "\\Binary")}); }, 13,
              "Type mismatch");
}

TEST_F(ScriptHostTest, RegReadOfAMissingValueRaisesTheRegistryError) {
  WriteRegistry("[Software\\\\Vendor] 1\n\"Name\"=\"x\"\n");
  auto shell = Shell();
  const int32_t not_found = -2147024894;  // 0x80070002
  for (const char* path : {"HKLM\\Software\\Vendor\\Other", "HKLM\\Software\\Missing\\Name",
                           "HKLM\\Software\\Vendor\\", "HKCU\\Software\\Vendor\\Name", "HKLM",
                           "Software\\Vendor\\Name"})
    ExpectError([&] { shell->Get("RegRead", {Text(path)}); }, not_found, "");

  // A prefix without a registry file has no values at all.
  fs::remove(prefix_ / "system.reg");
  ExpectError([&] { shell->Get("RegRead", {Text("HKLM\\Software\\Vendor\\Name")}); }, not_found,
              "");
}

TEST_F(ScriptHostTest, RegReadOnAWin64PrefixSeesThe32BitView) {
  WriteRegistry(
      "#arch=win64\n"
      "[Software\\\\Vendor\\\\App] 1\n"
      "\"Path\"=\"C:\\\\Native\"\n"
      "\"NativeOnly\"=\"C:\\\\OnlyNative\"\n"
      "[Software\\\\Wow6432Node\\\\Vendor\\\\App] 1\n"
      "\"Path\"=\"C:\\\\Wow\"\n");
  auto shell = Shell();
  EXPECT_EQ(shell->Get("RegRead", {Text("HKLM\\Software\\Vendor\\App\\Path")}).text(), "C:\\Wow");
  EXPECT_EQ(shell->Get("RegRead", {Text("HKLM\\Software\\Vendor\\App\\NativeOnly")}).text(),
            "C:\\OnlyNative");
}

TEST_F(ScriptHostTest, SpecialFoldersComeFromTheRegistryOrTheFreshPrefixPlaces) {
  auto shell = Shell();
  EXPECT_EQ(shell->Get("SpecialFolders", {Text("AllUsersPrograms")}).text(),
            "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs");
  EXPECT_EQ(shell->Get("SpecialFolders", {Text("allusersdesktop")}).text(),
            "C:\\users\\Public\\Desktop");
  EXPECT_EQ(shell->Get("SpecialFolders", {Text("Desktop")}).text(), "");

  WriteRegistry(
      "#arch=win64\n"
      "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
      "\"Common Programs\"=\"D:\\\\Nab\\x00ed\\x0064ka\\\\Programy\"\n"
      "\"Common Desktop\"=\"D:\\\\Plocha\"\n");
  EXPECT_EQ(shell->Get("SpecialFolders", {Text("AllUsersPrograms")}).text(),
            "D:\\Nab\xc3\xad"
            "dka\\Programy");
  EXPECT_EQ(shell->Get("SpecialFolders", {Text("AllUsersDesktop")}).text(), "D:\\Plocha");
}

TEST_F(ScriptHostTest, ShortcutObjectsKeepTheirPathAndTouchNoDisk) {
  auto shell = Shell();
  const std::string path = "C:\\Missing\\Folder\\App.lnk";
  auto lnk = shell->GetObject("CreateShortcut", {Text(path)});
  EXPECT_EQ(lnk->TypeName(), "IWshShortcut");
  EXPECT_EQ(lnk->Get("FullName").text(), path);
  lnk->Put("TargetPath", Text("C:\\App\\app.exe"));
  EXPECT_EQ(lnk->Get("targetpath").text(), "C:\\App\\app.exe");

  auto url = shell->GetObject("CreateShortcut", {Text("C:\\Missing\\Web.URL")});
  EXPECT_EQ(url->TypeName(), "IWshURLShortcut");
  ExpectError([&] { url->Put("Arguments", Text("x")); }, 438,
              "Object doesn't support this property or method");
  ExpectError([&] { lnk->Put("FullName", Text("C:\\x.lnk")); }, 438,
              "Object doesn't support this property or method");
  ExpectError([&] { lnk->Get("Load", {Text("C:\\x.lnk")}); }, 438,
              "Object doesn't support this property or method");
  ExpectError([&] { lnk->Get("Save", {Text("C:\\x.lnk")}); }, 450,
              "Wrong number of arguments or invalid property assignment");

  ExpectError([&] { shell->GetObject("CreateShortcut", {Text("C:\\App\\notes.txt")}); }, 5,
              "Invalid procedure call or argument");
  EXPECT_FALSE(fs::exists(C("Missing")));
}

TEST_F(ScriptHostTest, SavesALnkFileWithEveryPropertySet) {
  fs::create_directories(C("Group"));
  auto lnk =
      Shell()->GetObject("CreateShortcut", {Text("C:\\group\\Veldramona \xe2\x80\x93 CZ.lnk")});
  lnk->Put("TargetPath", Text("C:\\Veldramona\\VR_CLT.exe"));
  lnk->Put("Arguments", Text("/cz"));
  lnk->Put("WorkingDirectory", Text("C:\\Veldramona"));
  lnk->Put("WindowStyle", Value::Long(3));
  lnk->Put("IconLocation", Text("C:\\Veldramona\\VR_CLT.exe,2"));
  lnk->Put("Description", Text("Bankovn\xc3\xad klient"));
  lnk->Put("Hotkey", Text("Ctrl+Alt+V"));
  lnk->Get("Save");

  // Existing folders are matched without regard to case.
  fs::path file = C("Group/Veldramona \xe2\x80\x93 CZ.lnk");
  ASSERT_TRUE(fs::is_regular_file(file));
  ShellLinkData read;
  ASSERT_TRUE(ReadShellLink(ReadFileBytes(file), &read));
  EXPECT_EQ(read.target_path, "C:\\Veldramona\\VR_CLT.exe");
  EXPECT_EQ(read.arguments, "/cz");
  EXPECT_EQ(read.working_directory, "C:\\Veldramona");
  EXPECT_EQ(read.show_command, 3u);
  EXPECT_EQ(read.icon_path, "C:\\Veldramona\\VR_CLT.exe");
  EXPECT_EQ(read.icon_index, 2);
  EXPECT_EQ(read.description, "Bankovn\xc3\xad klient");
  EXPECT_EQ(read.hotkey, 0x0600 | 'V');
  EXPECT_THAT(Entries(C("Group")), ::testing::ElementsAre("Veldramona \xe2\x80\x93 CZ.lnk"));

  ExpectError([&] { lnk->Put("Hotkey", Text("Ctrl+Banana")); }, 5,
              "Invalid procedure call or argument");
}

TEST_F(ScriptHostTest, LnkinfoReadsTheSavedShortcut) {
  if (!LnkinfoInstalled()) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
  const std::string target =
      "C:\\Program Files\\Veldramona \xe2\x80\x93 \xc4\x8c"
      "esk\xc3\xa1\\VR_CLT.exe";
  fs::create_directories(C("Group"));
  auto lnk = Shell()->GetObject("CreateShortcut", {Text("C:\\Group\\App.lnk")});
  lnk->Put("TargetPath", Text(target));
  lnk->Put("Arguments", Text("/jazyk=\xc4\x8d"
                             "e\xc5\xa1tina"));
  lnk->Put("WorkingDirectory", Text("C:\\Program Files\\Veldramona \xe2\x80\x93 \xc4\x8c"
                                    "esk\xc3\xa1"));
  lnk->Put("WindowStyle", Value::Long(1));
  lnk->Put("IconLocation", Text(target + ",0"));
  lnk->Get("Save");

  std::string output;
  ASSERT_TRUE(RunLnkinfo(C("Group/App.lnk"), &output)) << output;

  std::map<std::string, std::string> fields = LnkinfoFields(output);
  EXPECT_EQ(fields["Local path"], target) << output;
  EXPECT_EQ(fields["Command line arguments"],
            "/jazyk=\xc4\x8d"
            "e\xc5\xa1tina")
      << output;
  EXPECT_EQ(fields["Working directory"],
            "C:\\Program Files\\Veldramona \xe2\x80\x93 \xc4\x8c"
            "esk\xc3\xa1")
      << output;
  EXPECT_EQ(fields["Icon location"], target) << output;
  EXPECT_EQ(fields["Icon index"], "0") << output;
  EXPECT_EQ(fields["Drive type"], "Fixed (3)") << output;
  // lnkinfo prints no show-window value worth reading: the bytes tell it.
  std::string bytes = ReadFileBytes(C("Group/App.lnk"));
  ASSERT_GT(bytes.size(), 0x40u);
  EXPECT_EQ(bytes.substr(0x3C, 4), std::string("\x01\0\0\0", 4));
}

TEST_F(ScriptHostTest, SavesAUrlFileAsAnInternetShortcut) {
  fs::create_directories(C("Group"));
  auto url = Shell()->GetObject("CreateShortcut", {Text("C:\\Group\\Pr\xc5\xafvodce.url")});
  url->Put("TargetPath", Text("https://example.invalid/pr\xc5\xafvodce?a=1&b=2"));
  url->Get("Save");
  EXPECT_EQ(ReadFileBytes(C("Group/Pr\xc5\xafvodce.url")),
            "[InternetShortcut]\r\nURL=https://example.invalid/pr\xc5\xafvodce?a=1&b=2\r\n");

  // A line break would smuggle another line into the file.
  url->Put("TargetPath", Text("https://a.invalid/\r\nIconFile=C:\\evil.ico"));
  ExpectError([&] { url->Get("Save"); }, 5, "Invalid procedure call or argument");
  EXPECT_EQ(ReadFileBytes(C("Group/Pr\xc5\xafvodce.url")),
            "[InternetShortcut]\r\nURL=https://example.invalid/pr\xc5\xafvodce?a=1&b=2\r\n");
}

TEST_F(ScriptHostTest, SaveFailsWithoutItsFolderOrOverAReadOnlyFile) {
  auto shell = Shell();
  auto lnk = shell->GetObject("CreateShortcut", {Text("C:\\NoSuchFolder\\App.lnk")});
  lnk->Put("TargetPath", Text("C:\\App\\app.exe"));
  ExpectError([&] { lnk->Get("Save"); }, -2147024893, "");  // 0x80070003
  auto relative = shell->GetObject("CreateShortcut", {Text("Group\\App.lnk")});
  relative->Put("TargetPath", Text("C:\\App\\app.exe"));
  ExpectError([&] { relative->Get("Save"); }, -2147024893, "");
  auto unknown_drive = shell->GetObject("CreateShortcut", {Text("Q:\\App.lnk")});
  unknown_drive->Put("TargetPath", Text("C:\\App\\app.exe"));
  ExpectError([&] { unknown_drive->Get("Save"); }, -2147024893, "");

  WriteFileBytes(C("Group/App.url"), "old");
  MakeReadOnly(C("Group/App.url"));
  auto url = shell->GetObject("CreateShortcut", {Text("C:\\Group\\App.url")});
  url->Put("TargetPath", Text("https://example.invalid/"));
  ExpectError([&] { url->Get("Save"); }, 70, "Permission denied");
  EXPECT_EQ(ReadFileBytes(C("Group/App.url")), "old");
  EXPECT_THAT(Entries(C("Group")), ::testing::ElementsAre("App.url"));
}

TEST_F(ScriptHostTest, SaveReplacesTheFileWholeOrNotAtAll) {
  WriteFileBytes(C("Group/App.lnk"), "old shortcut");
  fs::permissions(C("Group/App.lnk"),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  auto lnk = Shell()->GetObject("CreateShortcut", {Text("C:\\Group\\App.lnk")});
  lnk->Put("TargetPath", Text("C:\\App\\app.exe"));
  // Within what a link keeps, and well over the file size limit below.
  lnk->Put("Arguments", Text(std::string(1000, 'a')));

  // A write that fails half-way (the file size limit) leaves the old file.
  struct sigaction ignore {
  }, old_action{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &old_action);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit small = old_limit;
  small.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool failed = false;
  try {
    lnk->Get("Save");
  } catch (const Error&) {
    failed = true;
  }
  setrlimit(RLIMIT_FSIZE, &old_limit);
  sigaction(SIGXFSZ, &old_action, nullptr);
  EXPECT_TRUE(failed);
  EXPECT_EQ(ReadFileBytes(C("Group/App.lnk")), "old shortcut");
  EXPECT_THAT(Entries(C("Group")), ::testing::ElementsAre("App.lnk"));

  // A text longer than a link keeps whole is refused before anything is
  // written, with the error the system gives a name too long.
  for (const char* member : {"Arguments", "TargetPath", "WorkingDirectory"}) {
    lnk->Put(member, Text(std::string(std::string(member) == "Arguments" ? 40000 : 260, 'a')));
    ExpectError([&] { lnk->Get("Save"); }, kErrSystemFilenameTooLong, "");
    EXPECT_EQ(ReadFileBytes(C("Group/App.lnk")), "old shortcut");
    lnk->Put(member, Text(""));
  }
  lnk->Put("TargetPath", Text("C:\\App\\app.exe"));

  lnk->Put("Arguments", Text("/sk"));
  lnk->Get("Save");
  ShellLinkData read;
  ASSERT_TRUE(ReadShellLink(ReadFileBytes(C("Group/App.lnk")), &read));
  EXPECT_EQ(read.arguments, "/sk");
  EXPECT_THAT(Entries(C("Group")), ::testing::ElementsAre("App.lnk"));
  // The replaced file keeps its permissions.
  EXPECT_EQ(fs::status(C("Group/App.lnk")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ScriptHostTest, ExistenceTestsTellFilesFromFolders) {
  WriteFileBytes(C("App/VR_CLT.exe"), "x");
  auto fso = Fso();
  auto folder_exists = [&](const std::string& p) {
    Value v = fso->Get("FolderExists", {Text(p)});
    EXPECT_EQ(v.type(), Value::kBoolean);
    return v.integer() != 0;
  };
  auto file_exists = [&](const std::string& p) {
    Value v = fso->Get("FileExists", {Text(p)});
    EXPECT_EQ(v.type(), Value::kBoolean);
    return v.integer() != 0;
  };
  EXPECT_TRUE(folder_exists("C:\\App"));
  EXPECT_TRUE(folder_exists("c:\\app\\"));
  EXPECT_FALSE(folder_exists("C:\\App\\VR_CLT.exe"));
  EXPECT_FALSE(folder_exists("C:\\Other"));
  {
    // No drive: a relative path is not looked up, not even where it exists.
    char* old_cwd = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(C("").c_str()), 0);
    EXPECT_FALSE(folder_exists("App"));
    EXPECT_FALSE(file_exists("App\\VR_CLT.exe"));
    EXPECT_FALSE(file_exists("App/VR_CLT.exe"));
    EXPECT_EQ(chdir(old_cwd), 0);
    free(old_cwd);
  }
  EXPECT_FALSE(folder_exists(""));
  EXPECT_FALSE(folder_exists("Q:\\"));
  EXPECT_TRUE(file_exists("C:\\APP\\vr_clt.EXE"));
  EXPECT_FALSE(file_exists("C:\\App"));
  EXPECT_FALSE(file_exists("C:\\App\\missing.exe"));
}

TEST_F(ScriptHostTest, DeleteFileHonoursTheForceFlagForReadOnlyFiles) {
  WriteFileBytes(C("Group/a.lnk"), "a");
  WriteFileBytes(C("Group/b.lnk"), "b");
  MakeReadOnly(C("Group/a.lnk"));
  auto fso = Fso();
  ExpectError(
      [&] {
        fso->Get("DeleteFile", {Text("C:\\Group\\a.lnk"), Value::Boolean(false)});
      },
      70, "Permission denied");
  ExpectError([&] { fso->Get("DeleteFile", {Text("C:\\Group\\a.lnk")}); }, 70, "Permission denied");
  EXPECT_TRUE(fs::exists(C("Group/a.lnk")));
  fso->Get("DeleteFile", {Text("C:\\Group\\a.lnk"), Value::Boolean(true)});
  EXPECT_FALSE(fs::exists(C("Group/a.lnk")));
  fso->Get("deletefile", {Text("C:\\GROUP\\B.LNK"), Value::Boolean(true)});
  EXPECT_FALSE(fs::exists(C("Group/b.lnk")));

  ExpectError(
      [&] {
        fso->Get("DeleteFile", {Text("C:\\Group\\a.lnk"), Value::Boolean(true)});
      },
      53, "File not found");
  ExpectError(
      [&] {
        fso->Get("DeleteFile", {Text("C:\\Group"), Value::Boolean(true)});
      },
      53, "File not found");
  EXPECT_TRUE(fs::is_directory(C("Group")));
}

TEST_F(ScriptHostTest, DeleteFolderRemovesTheTreeButNeverFollowsLinksOut) {
  WriteFileBytes(C("Group/a.lnk"), "a");
  WriteFileBytes(C("Group/Sub/Deeper/b.url"), "b");
  WriteFileBytes(C("Outside/keep.txt"), "keep");
  fs::create_directory_symlink(C("Outside"), C("Group/Sub/link-to-outside"));
  fs::create_symlink(C("Outside/keep.txt"), C("Group/file-link"));
  auto fso = Fso();
  fso->Get("DeleteFolder", {Text("C:\\group"), Value::Boolean(false)});
  EXPECT_FALSE(fs::exists(fs::symlink_status(C("Group"))));
  EXPECT_EQ(ReadFileBytes(C("Outside/keep.txt")), "keep");

  // A folder that is itself a link: the link goes, its target stays.
  fs::create_directory_symlink(C("Outside"), C("Linked"));
  fso->Get("DeleteFolder", {Text("C:\\Linked")});
  EXPECT_FALSE(fs::exists(fs::symlink_status(C("Linked"))));
  EXPECT_EQ(ReadFileBytes(C("Outside/keep.txt")), "keep");

  ExpectError(
      [&] {
        fso->Get("DeleteFolder", {Text("C:\\Group"), Value::Boolean(false)});
      },
      76, "Path not found");
  ExpectError([&] { fso->Get("DeleteFolder", {Text("C:\\Outside\\keep.txt")}); }, 76,
              "Path not found");
  ExpectError([&] { fso->Get("DeleteFolder", {Text("C:\\")}); }, 76, "Path not found");
  EXPECT_TRUE(fs::exists(C("Outside/keep.txt")));
}

TEST_F(ScriptHostTest, DeleteFolderStopsAtReadOnlyFilesUnlessForced) {
  WriteFileBytes(C("Group/Sub/locked.lnk"), "x");
  MakeReadOnly(C("Group/Sub/locked.lnk"));
  auto fso = Fso();
  ExpectError(
      [&] {
        fso->Get("DeleteFolder", {Text("C:\\Group"), Value::Boolean(false)});
      },
      70, "Permission denied");
  EXPECT_TRUE(fs::exists(C("Group/Sub/locked.lnk")));
  fso->Get("DeleteFolder", {Text("C:\\Group"), Value::Boolean(true)});
  EXPECT_FALSE(fs::exists(C("Group")));
}

TEST_F(ScriptHostTest, FolderFilesCountHoldsOnlyTheFilesDirectlyInIt) {
  WriteFileBytes(C("Group/a.lnk"), "a");
  WriteFileBytes(C("Group/.hidden.url"), "b");
  WriteFileBytes(C("Group/Sub/c.lnk"), "c");
  fs::create_directories(C("Group/Empty"));
  auto fso = Fso();
  auto folder = fso->GetObject("GetFolder", {Text("C:\\GROUP")});
  EXPECT_EQ(folder->TypeName(), "IFolder");
  auto files = folder->GetObject("Files");
  EXPECT_EQ(files->TypeName(), "IFileCollection");
  Value count = files->Get("Count");
  EXPECT_EQ(count.type(), Value::kLong);
  EXPECT_EQ(count.integer(), 2);
  EXPECT_EQ(fso->GetObject("GetFolder", {Text("C:\\Group\\Empty")})
                ->GetObject("Files")
                ->Get("Count")
                .integer(),
            0);

  auto sub_folders = folder->GetObject("SubFolders");
  EXPECT_EQ(sub_folders->TypeName(), "IFolderCollection");
  EXPECT_EQ(sub_folders->Get("Count").integer(), 2);  // Sub and Empty

  // A link is not followed: it counts as a file, never as a folder.
  fs::create_directory_symlink(C("Group/Sub"), C("Group/link"));
  EXPECT_EQ(files->Get("Count").integer(), 3);
  EXPECT_EQ(sub_folders->Get("Count").integer(), 2);

  ExpectError([&] { fso->GetObject("GetFolder", {Text("C:\\Nothing")}); }, 76, "Path not found");
  ExpectError([&] { fso->GetObject("GetFolder", {Text("C:\\Group\\a.lnk")}); }, 76,
              "Path not found");
}

TEST_F(ScriptHostTest, BuildPathAddsOneBackslashOnlyWhereTheSeamHasNone) {
  auto fso = Fso();
  auto build = [&](const std::string& folder, const std::string& name) {
    return fso->Get("BuildPath", {Text(folder), Text(name)}).text();
  };
  EXPECT_EQ(build("C:\\a", "b.exe"), "C:\\a\\b.exe");
  EXPECT_EQ(build("C:\\a\\", "b.exe"), "C:\\a\\b.exe");
  EXPECT_EQ(build("C:\\a", "\\b.exe"), "C:\\a\\b.exe");
  EXPECT_EQ(build("", "b.exe"), "b.exe");
  EXPECT_EQ(build("C:\\a", ""), "C:\\a\\");
}

// The line that tells the user of a failed run why: each call replaces it
// with what that call ran into, and a call that went through clears it.
TEST_F(ScriptHostTest, EachCallNotesWhatItRanIntoForTheFailureLine) {
  WriteRegistry("[Software\\\\App] 1700000000\n\"Path\"=\"\"\n");
  WriteFileBytes(C("Group/a.lnk"), "a");
  MakeReadOnly(C("Group/a.lnk"));
  auto shell = Shell();
  auto fso = Fso();
  std::string c = prefix_.string() + "/drive_c";
  struct Case {
    std::function<void()> call;
    std::string cause;
  } cases[] = {
      {[&] { fso->Get("FolderExists", {Text("C:\\Moje Aplikace")}); },
       "brantvell: the folder C:\\Moje Aplikace does not exist (" + c + "/Moje Aplikace)"},
      {[&] { fso->Get("FolderExists", {Text("C:\\Group")}); }, ""},
      {[&] { fso->Get("FileExists", {Text("Q:\\x.exe")}); },
       "brantvell: the file Q:\\x.exe does not exist (the prefix has no drive Q:)"},
      {[&] { fso->Get("DeleteFile", {Text("C:\\Group\\a.lnk")}); },
       "brantvell: cannot delete " + c + "/Group/a.lnk: Permission denied"},
      {[&] { shell->Get("RegRead", {Text("HKLM\\Software\\App\\Path")}); },
       "brantvell: the registry value HKLM\\Software\\App\\Path is empty in " + prefix_.string() +
           "/system.reg"},
      {[&] { shell->Get("RegRead", {Text("HKLM\\Software\\App\\Other")}); },
       "brantvell: the registry value HKLM\\Software\\App\\Other is missing from " +
           prefix_.string() + "/system.reg"},
      {[&] {
         auto lnk = shell->GetObject("CreateShortcut", {Text("C:\\None\\App.lnk")});
         lnk->Put("TargetPath", Text("C:\\App\\app.exe"));
         lnk->Get("Save");
       },
       "brantvell: cannot save " + c + "/None/App.lnk: Path not found"},
      {[&] {
         fso->Get("BuildPath", {Text("C:\\a"), Text("b")});
       },
       ""},
  };
  for (const Case& each : cases) {
    try {
      each.call();
    } catch (const Error&) {
    }
    EXPECT_EQ(FailureCause(), each.cause);
  }
}

}  // namespace
}  // namespace brantvell

// What the script objects leave behind when things go wrong on POSIX: the
// temporary files of saves that were killed, and links in the prefix that
// lead off its drives.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/script_host.h"
#include "platform/wineprefix/host_folder.h"
#include "platform/wineprefix/prefix_drive.h"
#include "tests/support/caught_error.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wine_prefix.h"

namespace brantvell {
namespace {

namespace fs = std::filesystem;
using ::testing::UnorderedElementsAre;

// A file named as a save's temporary file, as a killed save leaves it.
const char kStaleTemp[] = ".shortcut-0123abcd.tmp";

class SaveFaultsTest : public ::testing::Test {
 protected:
  fs::path C(const std::string& relative) const { return prefix_.drive_c() / relative; }

  static std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(entry.path().filename());
    return names;
  }

  static std::shared_ptr<ScriptObject> Fso() {
    return ScriptHost::Real().Create("Scripting.FileSystemObject");
  }

  // Saves a ".url" shortcut at Windows path `path`.
  static void SaveUrl(const std::string& path) {
    auto url = ScriptHost::Real()
                   .Create("WScript.Shell")
                   ->GetObject("CreateShortcut", {Value::String(path)});
    url->Put("TargetPath", Value::String("http://www.example.invalid/"));
    url->Get("Save");
  }

  WinePrefix prefix_;
};

TEST_F(SaveFaultsTest, SaveRemovesTheTemporaryFilesOfKilledSavesOnly) {
  WriteFileBytes(C("Group") / kStaleTemp, "half a shortcut");
  // Names that only look alike are someone else's.
  WriteFileBytes(C("Group/.shortcut-0123ABCD.tmp"), "user");
  WriteFileBytes(C("Group/.shortcut-notes.tmp"), "user");
  WriteFileBytes(C("Group/.shortcut-0123abcd.tmp.bak"), "user");
  fs::create_directories(C("Group/.shortcut-00000000.tmp"));

  SaveUrl("C:\\Group\\Site.url");
  EXPECT_THAT(Entries(C("Group")),
              UnorderedElementsAre("Site.url", ".shortcut-0123ABCD.tmp", ".shortcut-notes.tmp",
                                   ".shortcut-0123abcd.tmp.bak", ".shortcut-00000000.tmp"));
}

TEST_F(SaveFaultsTest, SaveLeavesTheTemporaryFileOfASaveUnderWay) {
  WriteFileBytes(C("Group") / kStaleTemp, "being written");
  {
    // Another save into the folder holds its shared lock.
    int folder = open(C("Group").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    ASSERT_EQ(flock(folder, LOCK_SH), 0);
    SaveUrl("C:\\Group\\Site.url");
    EXPECT_THAT(Entries(C("Group")), UnorderedElementsAre("Site.url", kStaleTemp));
    close(folder);
  }
  SaveUrl("C:\\Group\\Site.url");
  EXPECT_THAT(Entries(C("Group")), UnorderedElementsAre("Site.url"));
}

TEST_F(SaveFaultsTest, AFolderHoldingOnlyTemporaryFilesCountsAsEmptyAndIsRemoved) {
  WriteFileBytes(C("Group") / kStaleTemp, "half");
  auto fso = Fso();
  auto group = fso->GetObject("GetFolder", {Value::String("C:\\Group")});
  EXPECT_EQ(group->GetObject("Files")->Get("Count").integer(), 0);
  WriteFileBytes(C("Group/.shortcut-notes.tmp"), "user");
  EXPECT_EQ(group->GetObject("Files")->Get("Count").integer(), 1);
  fs::remove(C("Group/.shortcut-notes.tmp"));

  fso->Get("DeleteFolder", {Value::String("C:\\Group"), Value::Boolean(false)});
  EXPECT_FALSE(fs::exists(C("Group")));
}

TEST_F(SaveFaultsTest, NothingIsDeletedOrWrittenThroughALinkOffTheDrives) {
  TempFolder outside;
  fs::path elsewhere = TempFolder::HostOf(outside.path());
  WriteFileBytes(elsewhere / "App.lnk", "user link");
  WriteFileBytes(elsewhere / "Sub/keep.txt", "keep");
  fs::create_directories(C("Programs"));
  fs::create_directory_symlink(elsewhere, C("Programs/Group"));

  auto fso = Fso();
  EXPECT_NE(fso->Get("FileExists", {Value::String("C:\\Programs\\Group\\App.lnk")}).integer(), 0);
  EXPECT_EQ(CaughtError([&] {
              fso->Get("DeleteFile",
                       {Value::String("C:\\Programs\\Group\\App.lnk"), Value::Boolean(true)});
            }).number(),
            70);
  EXPECT_EQ(
      CaughtError([&] {
        fso->Get("DeleteFolder", {Value::String("C:\\Programs\\Group\\Sub"), Value::Boolean(true)});
      }).number(),
      70);
  EXPECT_EQ(CaughtError([&] { SaveUrl("C:\\Programs\\Group\\Site.url"); }).number(), 70);
  EXPECT_EQ(ReadFileBytes(elsewhere / "App.lnk"), "user link");
  EXPECT_EQ(ReadFileBytes(elsewhere / "Sub/keep.txt"), "keep");
  EXPECT_THAT(Entries(elsewhere), UnorderedElementsAre("App.lnk", "Sub"));

  // The link itself is in the prefix: removing it leaves its target.
  fso->Get("DeleteFolder", {Value::String("C:\\Programs\\Group"), Value::Boolean(false)});
  EXPECT_FALSE(fs::exists(fs::symlink_status(C("Programs/Group"))));
  EXPECT_EQ(ReadFileBytes(elsewhere / "App.lnk"), "user link");
}

TEST_F(SaveFaultsTest, ALinkToAnotherDriveIsFollowed) {
  TempFolder outside;
  fs::path elsewhere = TempFolder::HostOf(outside.path());
  WriteFileBytes(elsewhere / "App.lnk", "old");
  fs::create_directory_symlink(elsewhere, C("Group"));
  prefix_.AddDrive('d', elsewhere);

  SaveUrl("C:\\Group\\Site.url");
  EXPECT_TRUE(fs::is_regular_file(elsewhere / "Site.url"));
  Fso()->Get("DeleteFile", {Value::String("C:\\Group\\App.lnk"), Value::Boolean(true)});
  EXPECT_THAT(Entries(elsewhere), UnorderedElementsAre("Site.url"));
}

// The folder each Windows path opens as, through links in the prefix: those
// that end on a drive are followed, relative or absolute; any other leads to
// a folder marked off the drives, and nothing is made there.
TEST(HostFolderTest, LinksAreFollowedOnlyWhileTheyEndOnTheDrives) {
  WinePrefix prefix;
  fs::path c = prefix.drive_c();
  TempFolder outside_folder;
  fs::path outside = fs::canonical(TempFolder::HostOf(outside_folder.path()));
  fs::create_directories(c / "a/b");
  fs::create_directory_symlink("a", c / "rel");
  fs::create_directory_symlink(c / "a", c / "abs");
  fs::create_directory_symlink(outside, c / "out");
  fs::create_directory_symlink(fs::relative(outside, c), c / "up");
  fs::create_directory_symlink(c / "a", outside / "back");
  fs::create_directory_symlink("loop", c / "loop");

  struct Case {
    const char* path;
    fs::path folder;  // empty: does not open
    bool on_drive;
  };
  const Case cases[] = {
      {"C:\\A\\B", c / "a/b", true},   {"C:\\rel\\b", c / "a/b", true},
      {"C:\\ABS\\b", c / "a/b", true}, {"C:\\out", outside, false},
      {"C:\\up", outside, false},      {"C:\\out\\back\\b", c / "a/b", true},
      {"C:\\loop", fs::path(), false}, {"C:\\a\\missing", fs::path(), false},
  };
  for (const Case& test : cases) {
    HostFolder folder;
    bool opened = OpenHostFolder(test.path, /*create=*/false, &folder);
    ASSERT_EQ(opened, !test.folder.empty()) << test.path;
    if (!opened) continue;
    struct stat got, want;
    ASSERT_EQ(fstat(folder.fd.get(), &got), 0);
    ASSERT_EQ(stat(test.folder.c_str(), &want), 0);
    EXPECT_EQ(got.st_ino, want.st_ino) << test.path;
    EXPECT_EQ(folder.on_drive, test.on_drive) << test.path;
  }

  HostFolder made;
  EXPECT_TRUE(OpenHostFolder("C:\\abs\\New\\Sub\\", /*create=*/true, &made));
  EXPECT_TRUE(fs::is_directory(c / "a/New/Sub"));
  EXPECT_FALSE(OpenHostFolder("C:\\out\\New\\", /*create=*/true, &made));
  EXPECT_FALSE(OpenHostFolder("C:\\up\\New\\", /*create=*/true, &made));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(outside))
    names.push_back(entry.path().filename());
  EXPECT_THAT(names, UnorderedElementsAre("back"));
}

TEST(PrefixDriveTest, FoldersResolveOnlyOnTheDrivesOfThePrefix) {
  WinePrefix prefix;
  fs::path c = prefix.drive_c();
  fs::create_directories(c / "a/b");
  TempFolder outside;
  fs::path elsewhere = fs::canonical(TempFolder::HostOf(outside.path()));
  fs::create_directory_symlink(elsewhere, c / "out");
  fs::create_directory_symlink(c / "a", c / "in");

  std::string resolved;
  EXPECT_TRUE(ResolveOnPrefixDrive(c.string(), &resolved));
  EXPECT_EQ(resolved, c.string());
  EXPECT_TRUE(ResolveOnPrefixDrive((c / "in/b").string(), &resolved));
  EXPECT_EQ(resolved, (c / "a/b").string());
  EXPECT_FALSE(ResolveOnPrefixDrive((c / "out").string(), &resolved));
  EXPECT_FALSE(ResolveOnPrefixDrive((c / "missing").string(), &resolved));
  // A sibling whose name begins like the drive's is not on it.
  fs::create_directories(prefix.root() / "drive_c2");
  EXPECT_FALSE(ResolveOnPrefixDrive((prefix.root() / "drive_c2").string(), &resolved));
  EXPECT_FALSE(ResolveOnPrefixDrive(prefix.root().string(), &resolved));

  prefix.AddDrive('z', "/");
  EXPECT_TRUE(ResolveOnPrefixDrive((c / "out").string(), &resolved));
  EXPECT_EQ(resolved, elsewhere.string());
}

TEST(PrefixDriveTest, AnUnbootedPrefixHasDriveCAlone) {
  WinePrefix prefix(/*with_dosdevices=*/false);
  std::string root;
  ASSERT_TRUE(PrefixDriveRoot('C', &root));
  EXPECT_EQ(root, prefix.drive_c().string());
  EXPECT_FALSE(PrefixDriveRoot('d', &root));
  std::string resolved;
  EXPECT_TRUE(ResolveOnPrefixDrive(prefix.drive_c().string(), &resolved));
  EXPECT_FALSE(ResolveOnPrefixDrive(prefix.root().string(), &resolved));
}

}  // namespace
}  // namespace brantvell

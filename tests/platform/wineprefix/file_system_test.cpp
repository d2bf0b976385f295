#include "platform/file_system.h"

#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/support/wine_prefix.h"

namespace brantvell {
namespace {

namespace fs = std::filesystem;

class PosixFileSystemTest : public testing::Test {
 protected:
  FileSystem& files_ = FileSystem::Real();
  TempFolder temp_;
  fs::path host_ = TempFolder::HostOf(temp_.path());
};

TEST_F(PosixFileSystemTest, NewFilesAreForTheOwnerOnly) {
  ASSERT_TRUE(files_.AppendText(temp_ / "Brantvell.TXT", "x"));
  fs::perms perms = fs::status(host_ / "Brantvell.TXT").permissions();
  EXPECT_EQ(perms & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(PosixFileSystemTest, WritesTheUtf8BytesUnchanged) {
  const std::string text = "DebugLog: Příliš\n\t\tžluťoučký kůň\r\n";
  ASSERT_TRUE(files_.AppendText(temp_ / "log.txt", text));
  ASSERT_TRUE(files_.AppendText(temp_ / "log.txt", text));
  EXPECT_EQ(TempFolder::ReadBytes(temp_ / "log.txt"), text + text);
}

// A record that does not fit under the file size limit is cut back whole:
// the file still ends at the previous line's end, and the next record that
// fits starts a line of its own.
TEST_F(PosixFileSystemTest, TextThatDoesNotFitIsCutBackWhole) {
  ASSERT_TRUE(files_.AppendText(temp_ / "log.txt", "first\r\n"));
  struct sigaction ignore {};
  struct sigaction old_action {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &old_action);
  struct rlimit old_limit {};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  struct rlimit limit = old_limit;
  limit.rlim_cur = 20;
  setrlimit(RLIMIT_FSIZE, &limit);
  const bool long_written = files_.AppendText(temp_ / "log.txt", std::string(30, 'x') + "\r\n");
  const bool short_written = files_.AppendText(temp_ / "log.txt", "second\r\n");
  setrlimit(RLIMIT_FSIZE, &old_limit);
  sigaction(SIGXFSZ, &old_action, nullptr);

  EXPECT_FALSE(long_written);
  EXPECT_TRUE(short_written);
  EXPECT_EQ(TempFolder::ReadBytes(temp_ / "log.txt"), "first\r\nsecond\r\n");
}

TEST_F(PosixFileSystemTest, RefusesALinkAtTheLastComponent) {
  ASSERT_TRUE(files_.AppendText(temp_ / "target.txt", "kept"));
  fs::create_symlink(host_ / "target.txt", host_ / "Brantvell.TXT");
  EXPECT_FALSE(files_.AppendText(temp_ / "Brantvell.TXT", "planted"));
  EXPECT_EQ(TempFolder::ReadBytes(temp_ / "target.txt"), "kept");

  fs::create_symlink(host_ / "nowhere.txt", host_ / "dangling.TXT");
  EXPECT_FALSE(files_.AppendText(temp_ / "dangling.TXT", "planted"));
  EXPECT_FALSE(fs::exists(host_ / "nowhere.txt"));
}

TEST_F(PosixFileSystemTest, LinkedFoldersAboveTheFileAreFollowed) {
  fs::create_directories(host_ / "real");
  fs::create_directory_symlink(host_ / "real", host_ / "linked");
  ASSERT_TRUE(files_.AppendText(temp_ / "linked\\log.txt", "via link"));
  EXPECT_EQ(TempFolder::ReadBytes(temp_ / "real\\log.txt"), "via link");
}

TEST_F(PosixFileSystemTest, ListsDotFilesToo) {
  ASSERT_TRUE(files_.AppendText(temp_ / ".hidden", "x"));
  ASSERT_TRUE(files_.AppendText(temp_ / "shown", "x"));
  std::vector<std::string> names;
  ASSERT_TRUE(files_.ListFolder(temp_.path(), &names));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".hidden", "shown"}));
}

TEST_F(PosixFileSystemTest, ReadOnlyFilesStay) {
  ASSERT_TRUE(files_.AppendText(temp_ / "Brantvell_200101.TXT", "x"));
  fs::permissions(host_ / "Brantvell_200101.TXT",
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_TRUE(files_.FileExists(temp_ / "Brantvell_200101.TXT"));
  EXPECT_FALSE(files_.DeleteFile(temp_ / "Brantvell_200101.TXT"));
  EXPECT_TRUE(files_.FileExists(temp_ / "Brantvell_200101.TXT"));
}

TEST_F(PosixFileSystemTest, DeletingALinkLeavesItsTarget) {
  ASSERT_TRUE(files_.AppendText(temp_ / "target.txt", "kept"));
  fs::create_symlink(host_ / "target.txt", host_ / "link.txt");
  EXPECT_TRUE(files_.DeleteFile(temp_ / "link.txt"));
  EXPECT_FALSE(fs::is_symlink(host_ / "link.txt"));
  EXPECT_EQ(TempFolder::ReadBytes(temp_ / "target.txt"), "kept");
}

TEST(PosixFileSystemDriveTest, DrivePathsWorkInsideThePrefix) {
  WinePrefix prefix;
  fs::create_directories(prefix.drive_c() / "users" / "Tester" / "Temp");
  FileSystem& files = FileSystem::Real();
  const std::string temp = "C:\\Users\\tester\\TEMP";
  EXPECT_TRUE(files.IsFolder(temp));
  ASSERT_TRUE(files.AppendText(temp + "\\Brantvell.TXT", "line\r\n"));
  EXPECT_TRUE(fs::exists(prefix.drive_c() / "users" / "Tester" / "Temp" / "Brantvell.TXT"));
  EXPECT_TRUE(files.FileExists("c:\\USERS\\Tester\\temp\\brantvell.txt"));
  EXPECT_TRUE(files.DeleteFile(temp + "\\BRANTVELL.TXT"));
  EXPECT_FALSE(files.FileExists(temp + "\\Brantvell.TXT"));

  EXPECT_FALSE(files.AppendText("Q:\\Brantvell.TXT", "line\r\n"));
  EXPECT_FALSE(files.FileExists("\\\\server\\share\\Brantvell.TXT"));
  std::vector<std::string> names;
  EXPECT_FALSE(files.ListFolder("Q:\\", &names));
}

}  // namespace
}  // namespace brantvell

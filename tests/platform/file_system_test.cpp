#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/make_path.h"
#include "tests/support/temp_folder.h"

namespace brantvell {
namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

class FileSystemTest : public testing::Test {
 protected:
  FileSystem& files_ = FileSystem::Real();
  TempFolder temp_;
};

TEST_F(FileSystemTest, AppendCreatesTheFileThenAddsAtItsEnd) {
  std::string log = temp_ / "Brantvell.TXT";
  EXPECT_FALSE(files_.FileExists(log));
  ASSERT_TRUE(files_.AppendText(log, "SysLog:   first\r\n"));
  ASSERT_TRUE(files_.AppendText(log, "DebugLog: second\r\n"));
  EXPECT_TRUE(files_.FileExists(log));
  EXPECT_FALSE(files_.IsFolder(log));
  EXPECT_EQ(TempFolder::ReadBytes(log), "SysLog:   first\r\nDebugLog: second\r\n");
}

TEST_F(FileSystemTest, AppendNeverCreatesFoldersNorOpensOne) {
  std::string missing = temp_ / "missing";
  EXPECT_FALSE(files_.AppendText(missing + "\\Brantvell.TXT", "line\r\n"));
  EXPECT_FALSE(files_.IsFolder(missing));
  EXPECT_FALSE(files_.FileExists(missing + "\\Brantvell.TXT"));

  ASSERT_TRUE(MakeSureDirectoryPathExists(temp_ / "folder\\"));
  EXPECT_FALSE(files_.AppendText(temp_ / "folder", "line\r\n"));
  EXPECT_TRUE(files_.IsFolder(temp_ / "folder"));
}

TEST_F(FileSystemTest, FileExistsOnlyForFiles) {
  ASSERT_TRUE(MakeSureDirectoryPathExists(temp_ / "debugon\\"));
  EXPECT_FALSE(files_.FileExists(temp_ / "debugon"));
  EXPECT_TRUE(files_.IsFolder(temp_ / "debugon"));
  EXPECT_FALSE(files_.FileExists(temp_ / "performanceon"));
  EXPECT_FALSE(files_.IsFolder(temp_ / "performanceon"));
  ASSERT_TRUE(files_.AppendText(temp_ / "performanceon", ""));
  EXPECT_TRUE(files_.FileExists(temp_ / "performanceon"));
  EXPECT_TRUE(files_.IsFolder(temp_.path()));
  EXPECT_TRUE(files_.IsFolder(temp_.path() + "\\"));
}

TEST_F(FileSystemTest, ListsFilesAndFoldersWithoutDotEntries) {
  ASSERT_TRUE(files_.AppendText(temp_ / "Brantvell_261207.TXT", "x"));
  ASSERT_TRUE(files_.AppendText(temp_ / "žluťoučký kůň.log", "x"));
  ASSERT_TRUE(MakeSureDirectoryPathExists(temp_ / "sub\\deeper\\"));
  std::vector<std::string> expected = {"Brantvell_261207.TXT", "sub", "žluťoučký kůň.log"};

  std::vector<std::string> names = {"stale"};
  ASSERT_TRUE(files_.ListFolder(temp_.path(), &names));
  EXPECT_EQ(Sorted(names), Sorted(expected));
  ASSERT_TRUE(files_.ListFolder(temp_.path() + "\\", &names));
  EXPECT_EQ(Sorted(names), Sorted(expected));
  EXPECT_TRUE(files_.FileExists(temp_ / "žluťoučký kůň.log"));
}

TEST_F(FileSystemTest, ListingAnEmptyOrMissingFolder) {
  std::vector<std::string> names = {"stale"};
  ASSERT_TRUE(files_.ListFolder(temp_.path(), &names));
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(files_.ListFolder(temp_ / "missing", &names));
  ASSERT_TRUE(files_.AppendText(temp_ / "file", "x"));
  EXPECT_FALSE(files_.ListFolder(temp_ / "file", &names));
}

TEST_F(FileSystemTest, DeletesFilesButNotFoldersOrMissingFiles) {
  std::string log = temp_ / "Brantvell_261130.TXT";
  ASSERT_TRUE(files_.AppendText(log, "old\r\n"));
  EXPECT_TRUE(files_.DeleteFile(log));
  EXPECT_FALSE(files_.FileExists(log));
  EXPECT_FALSE(files_.DeleteFile(log));

  ASSERT_TRUE(MakeSureDirectoryPathExists(temp_ / "Logs_261130\\"));
  EXPECT_FALSE(files_.DeleteFile(temp_ / "Logs_261130"));
  EXPECT_TRUE(files_.IsFolder(temp_ / "Logs_261130"));
}

}  // namespace
}  // namespace brantvell

#include "platform/make_path.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

namespace brantvell {
namespace {

TEST(MakePathTest, CreatesEveryLevelUpToTheLastBackslash) {
  TempFolder temp;
  FileSystem& files = FileSystem::Real();
  ASSERT_TRUE(MakeSureDirectoryPathExists(temp / "Halvorna\\Veldramona (CZ)\\Nápověda\\"));
  EXPECT_TRUE(files.IsFolder(temp / "Halvorna\\Veldramona (CZ)\\Nápověda"));

  ASSERT_TRUE(MakeSureDirectoryPathExists(temp / "a\\b\\Veldramona.lnk"));
  EXPECT_TRUE(files.IsFolder(temp / "a\\b"));
  EXPECT_FALSE(files.IsFolder(temp / "a\\b\\Veldramona.lnk"));
  EXPECT_FALSE(files.FileExists(temp / "a\\b\\Veldramona.lnk"));

  // Existing levels are fine.
  EXPECT_TRUE(MakeSureDirectoryPathExists(temp / "a\\b\\"));
  EXPECT_TRUE(MakeSureDirectoryPathExists(temp.path() + "\\"));
}

TEST(MakePathTest, FailsWhenALevelIsAFile) {
  TempFolder temp;
  FileSystem& files = FileSystem::Real();
  ASSERT_TRUE(files.AppendText(temp / "blocker", "x"));
  EXPECT_FALSE(MakeSureDirectoryPathExists(temp / "blocker\\inside\\"));
  EXPECT_FALSE(files.IsFolder(temp / "blocker\\inside"));
  EXPECT_TRUE(files.FileExists(temp / "blocker"));
}

}  // namespace
}  // namespace brantvell

#include "platform/make_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/wine_prefix.h"

namespace brantvell {
namespace {

namespace fs = std::filesystem;

TEST(PosixMakePathTest, CreatesMissingLevelsBesideExistingOnesOfOtherCase) {
  WinePrefix prefix;
  fs::create_directories(prefix.drive_c() / "ProgramData" / "Microsoft");
  ASSERT_TRUE(MakeSureDirectoryPathExists(
      "C:\\programdata\\MICROSOFT\\Windows\\Start Menu\\Programs\\Halvorna\\"));
  fs::path made = prefix.drive_c() / "ProgramData" / "Microsoft" / "Windows" / "Start Menu" /
                  "Programs" / "Halvorna";
  EXPECT_TRUE(fs::is_directory(made));
  EXPECT_FALSE(fs::exists(prefix.drive_c() / "programdata"));
  fs::perms perms = fs::status(made).permissions();
  EXPECT_EQ(perms & (fs::perms::owner_all | fs::perms::group_write | fs::perms::others_write),
            fs::perms::owner_all);
}

TEST(PosixMakePathTest, UnknownDrivesFail) {
  WinePrefix prefix;
  EXPECT_FALSE(MakeSureDirectoryPathExists("Q:\\Halvorna\\"));
  EXPECT_FALSE(MakeSureDirectoryPathExists("\\\\server\\share\\Halvorna\\"));
}

}  // namespace
}  // namespace brantvell

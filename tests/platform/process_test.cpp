#include "platform/process.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "resources/version.h"

namespace brantvell {
namespace {

TEST(ProcessTest, TemporaryFolderIsAnExistingFolder) {
  std::string temp = Process::Real().Environment("TEMP");
  ASSERT_FALSE(temp.empty());
  EXPECT_TRUE(FileSystem::Real().IsFolder(temp));
  EXPECT_EQ(Process::Real().Environment("BRANTVELL_SURELY_NOT_SET_42"), "");
}

TEST(ProcessTest, ProgramFolderHoldsTheRunningProgram) {
  std::string folder = Process::Real().ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  std::vector<std::string> names;
  ASSERT_TRUE(FileSystem::Real().ListFolder(folder, &names));
  bool found = false;
  for (const std::string& name : names) found = found || name.rfind("platform_tests", 0) == 0;
  EXPECT_TRUE(found) << folder;
}

// The test program carries no version resource of its own, so the numbers
// come from the version header, as they do for a build without resources.
TEST(ProcessTest, VersionOfAProgramWithoutVersionResource) {
  VersionInfo version = Process::Real().Version();
  EXPECT_EQ(version.major, BRANTVELL_VERSION_MAJOR);
  EXPECT_EQ(version.minor, BRANTVELL_VERSION_MINOR);
  EXPECT_EQ(version.revision, BRANTVELL_VERSION_REVISION);
  EXPECT_EQ(version.comments, BRANTVELL_VERSION_COMMENTS);
}

}  // namespace
}  // namespace brantvell
